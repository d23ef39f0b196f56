#include "tests/support/FileSaver.h"

#include <algorithm>
#include <string>

#include "framework/runtime/Cp1251.h"

namespace {

AnsiString CommandLine(const AnsiString &args) { return "\"" QMT_HELPER_DIR "\\filesaver.exe\" " + args; }

}  // namespace

::testing::AssertionResult HoldsExactly(const std::string &bytes, const std::string &save)
{
    if (bytes == save)
        return ::testing::AssertionSuccess();
    const auto differ = std::mismatch(bytes.begin(), bytes.begin() + std::min(bytes.size(), save.size()), save.begin());
    const std::size_t at = static_cast<std::size_t>(differ.first - bytes.begin());
    return ::testing::AssertionFailure() << bytes.size() << " bytes where the save has " << save.size()
                                         << ", first differing at offset " << at << ": \"" << bytes.substr(at, 40)
                                         << "\" against \"" << save.substr(at, 40) << "\"";
}

TFileSaver::TFileSaver()
{
    static int counter = 0;
    pause_ = "qmt-filesaver-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, Cp1251ToWide(pause_ + ".ready").c_str());
    go_ = CreateEventW(nullptr, TRUE, FALSE, Cp1251ToWide(pause_ + ".go").c_str());
}

TFileSaver::~TFileSaver()
{
    SetEvent(go_);
    CloseHandle(ready_);
    CloseHandle(go_);
}

DWORD TFileSaver::Run(const AnsiString &args, const AnsiString &folder)
{
    TStartedProcess process;
    if (!process.Start(CommandLine(args), folder))
        return ~0u;
    return process.Wait(60000);
}

bool TFileSaver::StartPaused(const AnsiString &args, const AnsiString &folder)
{
    if (!process_.Start(CommandLine(args + " " + pause_), folder))
        return false;
    // A program that ends before it writes never stands at its write.
    HANDLE either[] = {ready_, process_.Handle()};
    return WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0;
}

DWORD TFileSaver::Finish()
{
    SetEvent(go_);
    return process_.Wait(60000);
}

void TFileSaver::Kill() { process_.Kill(); }
