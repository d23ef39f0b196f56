// The parts of the message service that meet the system: its error texts, the string resources and
// the last system error shown.
#include "base/messages/zmsg.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/LoadStr.h"
#include "framework/runtime/SysUtils.h"

void RaiseWindowsError(const AnsiString &arg)
{
    const unsigned long code = GetLastOSError();
    throw ZError(WindowsErrorMessage(arg, static_cast<uint32_t>(code), SysErrorMessage(code)), 99);
}

void ShowLastWindowsError(const AnsiString &arg)
{
    const unsigned long code = GetLastOSError();
    const AnsiString text = code != 0 ? SysErrorMessage(code) : AnsiString();
    ShowMessageNo(text.empty() ? arg : arg + "#(" + text + ")", 99);
}

AnsiString ResourceMessageText(int number) { return LoadStr(number); }
