// Native build: standard streams, and the program's folder from /proc. The Windows build has its own
// (AliasFileIO_win.cpp), which passes code page 1251 names to the system correctly.
#include "base/aliases/AliasFileIO.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

bool ReadAliasFile(const AnsiString &name, AliasFileImage &bytes)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error))
        return false;
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteAliasFile(const AnsiString &name, const AliasFileImage &bytes)
{
    const AnsiString temp = AliasFileTempName(name);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temp, name, error);
    if (error)
        std::remove(temp.c_str());
    return !error;
}

AnsiString ProgramFolderOfAliases()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? AnsiString() : exe.parent_path().string();
}
