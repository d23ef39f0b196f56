#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"

namespace {
AnsiString SystemTemp()
{
    wchar_t buf[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    return WideToCp1251(std::wstring(buf, n));
}

// The folders this program made, so that the check below names only its own: Wine reuses process ids,
// and a folder left by an earlier run under the same id is no fault of this one.
std::vector<AnsiString> &MadeFolders()
{
    static std::vector<AnsiString> made;
    return made;
}
std::mutex madeFoldersLock;

// A test program that ends with a temporary folder of its own still there (a file left open, a folder
// left some process's current one) fails, naming it: each test removes what it makes.
class TLeftFoldersCheck : public ::testing::Environment {
public:
    void TearDown() override
    {
        AnsiString left;
        std::lock_guard<std::mutex> hold(madeFoldersLock);
        for (const AnsiString &folder : MadeFolders())
            if (DirectoryExists(folder))
                left += " " + folder;
        EXPECT_TRUE(left.empty()) << "left in the temporary folder:" << left;
    }
};
const bool leftFoldersChecked = (::testing::AddGlobalTestEnvironment(new TLeftFoldersCheck), true);
}  // namespace

TempFolder::TempFolder() : TempFolder(SystemTemp()) {}

TempFolder::TempFolder(const AnsiString &where)
{
    static std::atomic<unsigned> counter{0};
    AnsiString base = IncludeTrailingBackslash(where);
    for (;;) {
        AnsiString candidate = base + "qmt_test_" + IntToStr(GetCurrentProcessId()) + "_" + IntToStr(++counter);
        if (CreateDir(candidate)) {
            path_ = IncludeTrailingBackslash(candidate);
            std::lock_guard<std::mutex> hold(madeFoldersLock);
            MadeFolders().push_back(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder under " + base);
    }
}

TempFolder::~TempFolder() { RemoveTree(ExcludeTrailingBackslash(path_)); }

void RemoveTree(const AnsiString &folder)
{
    TSearchRec rec;
    AnsiString dir = IncludeTrailingBackslash(folder);
    if (FindFirst(dir + "*", faAnyFile, rec) == 0) {
        do {
            if (rec.Name == "." || rec.Name == "..")
                continue;
            AnsiString full = dir + rec.Name;
            FileSetAttr(full, faNormal);
            if ((rec.Attr & faDirectory) && !(rec.Attr & faSymLink))
                RemoveTree(full);
            else if (rec.Attr & faDirectory)
                RemoveDir(full);
            else
                DeleteFile(full);
        } while (FindNext(rec) == 0);
        FindClose(rec);
    }
    RemoveDir(folder);
}

void WriteWholeFile(const AnsiString &fileName, const std::string &bytes)
{
    TFileStream f(fileName, fmCreate);
    if (!bytes.empty())
        f.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

std::string ReadWholeFile(const AnsiString &fileName)
{
    TFileStream f(fileName, fmOpenRead | fmShareDenyNone);
    std::string bytes(static_cast<size_t>(f.Size()), '\0');
    if (!bytes.empty())
        f.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
    return bytes;
}

namespace {
void ReadTreeInto(const AnsiString &root, const AnsiString &relative, std::map<AnsiString, std::string> &tree)
{
    TSearchRec rec;
    if (FindFirst(root + relative + "*", faAnyFile, rec) != 0)
        return;
    do {
        if (rec.Name == "." || rec.Name == "..")
            continue;
        if (rec.Attr & faDirectory) {
            tree[relative + rec.Name + "\\"];
            ReadTreeInto(root, relative + rec.Name + "\\", tree);
        } else {
            tree[relative + rec.Name] = ReadWholeFile(root + relative + rec.Name);
        }
    } while (FindNext(rec) == 0);
    FindClose(rec);
}
}  // namespace

std::map<AnsiString, std::string> ReadTree(const AnsiString &folder)
{
    std::map<AnsiString, std::string> tree;
    ReadTreeInto(folder, AnsiString(), tree);
    return tree;
}

void WriteTree(const AnsiString &folder, const std::map<AnsiString, std::string> &tree)
{
    for (const auto &[name, bytes] : tree) {
        if (!name.empty() && name.back() == '\\') {
            ForceDirectories(folder + name);
        } else {
            ForceDirectories(ExtractFilePath(folder + name));
            WriteWholeFile(folder + name, bytes);
        }
    }
}
