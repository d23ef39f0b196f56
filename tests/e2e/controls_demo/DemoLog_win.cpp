#include "tests/e2e/controls_demo/DemoLog.h"

#include <windows.h>

#include <cstdio>

#include "framework/runtime/Cp1251.h"

namespace {
// One event is one line of the file: a control character in a value (a fraction's line break, a tab)
// is written as its escape: \n, \r, \t or \xHH.
AnsiString EscapedLine(const AnsiString &line)
{
    AnsiString escaped;
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        }
    }
    return escaped;
}
}  // namespace

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
        const AnsiString bytes = EscapedLine(line) + "\r\n";
        DWORD written = 0;
        WriteFile(static_cast<HANDLE>(file_), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (OnLine)
        OnLine(line);
}
