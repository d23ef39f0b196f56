// Test helper: a second program writing a compound or simple file through the storage library.
//   wfilewriter commit FILE N COUNT   writes logical file N of FILE with COUNT records and commits it
//   wfilewriter edit FILE N COUNT     appends COUNT records to logical file N of FILE in place
//   wfilewriter hold FILE N           begins writing logical file N, writes a record and waits to be
//                                     killed, holding the temporary file
//   wfilewriter append FILE           appends records to the simple file FILE until it is killed
//   wfilewriter keep FILE             opens FILE shared with nobody, as a virus scanner may, and
//                                     waits to be killed
// Record i of a logical file is the text "child-" + i, of the simple file WFileWriterRecord(i). Ends
// with 0, or with 1 and the error's text on the standard error.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/messages/zmsg.h"
#include "framework/runtime/Cp1251.h"
#include "storage/compound/dwfile.h"
#include "tests/support/WFileWriterRecords.h"

namespace {

void Commit(const AnsiString &name, uint32_t n, uint32_t count)
{
    WFile f(name);
    f.BeginWrite(n);
    for (uint32_t i = 0; i < count; ++i) {
        const std::string text = "child-" + std::to_string(i);
        f.WriteRecord(0, static_cast<uint32_t>(text.size()), text.data());
    }
    f.EndWrite(n, true);
}

void Edit(const AnsiString &name, uint32_t n, uint32_t count)
{
    WFile f(name);
    WRec record;
    for (uint32_t i = 0; i < count; ++i) {
        const std::string text = "child-" + std::to_string(i);
        record.Assign(text.data(), static_cast<uint32_t>(text.size()));
        f.AppendRecord(n, record);
    }
}

[[noreturn]] void Hold(const AnsiString &name, uint32_t n)
{
    WFile f(name);
    f.BeginWrite(n);
    f.WriteRecord(0, 4, "held");
    for (;;)
        Sleep(1000);
}

[[noreturn]] void Append(const AnsiString &name)
{
    WFile f(name, SimpleMode::Append);
    for (uint32_t i = 0;; ++i) {
        const std::string text = WFileWriterRecord(i);
        f.WriteRecord(0, static_cast<uint32_t>(text.size()), text.data());
    }
}

[[noreturn]] void Keep(const AnsiString &name)
{
    const HANDLE file = CreateFileW(Cp1251ToWide(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw ZError("Файл " + name + " не открыт", 0);
    for (;;)
        Sleep(1000);
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3)
        return 2;
    const std::wstring what = argv[1];
    const AnsiString name = WideToCp1251(argv[2]);
    try {
        if (what == L"commit" && argc == 5)
            Commit(name, std::wcstoul(argv[3], nullptr, 10), std::wcstoul(argv[4], nullptr, 10));
        else if (what == L"edit" && argc == 5)
            Edit(name, std::wcstoul(argv[3], nullptr, 10), std::wcstoul(argv[4], nullptr, 10));
        else if (what == L"hold" && argc == 4)
            Hold(name, std::wcstoul(argv[3], nullptr, 10));
        else if (what == L"append")
            Append(name);
        else if (what == L"keep")
            Keep(name);
        else
            return 2;
    } catch (const ZError &e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
