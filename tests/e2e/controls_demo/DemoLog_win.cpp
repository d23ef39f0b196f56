#include "tests/e2e/controls_demo/DemoLog.h"

#include <windows.h>

#include "framework/Cp1251.h"

TDemoLog::TDemoLog(const AnsiString &fileName) : fileName_(fileName)
{
    if (fileName.empty())
        return;
    // Shared for reading: the scenarios read it while the program writes.
    HANDLE file = CreateFileW(Cp1251ToWide(fileName).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        file_ = file;
}

TDemoLog::~TDemoLog()
{
    if (file_)
        CloseHandle(static_cast<HANDLE>(file_));
}

void TDemoLog::Event(const AnsiString &event, const AnsiString &control, const AnsiString &values)
{
    AnsiString line = event + " " + control;
    if (!values.empty())
        line += " " + values;
    if (file_) {
        const AnsiString bytes = line + "\r\n";
        DWORD written = 0;
        WriteFile(static_cast<HANDLE>(file_), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (OnLine)
        OnLine(line);
}
