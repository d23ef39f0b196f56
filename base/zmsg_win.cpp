// The parts of the message service that meet the system: its error texts, the string resources and
// the question box.
#include "base/CfgLanguage.h"
#include "base/zmsg.h"
#include "framework/Kernel.h"
#include "framework/LoadStr.h"
#include "framework/Prompt.h"
#include "framework/SysUtils.h"

void RaiseWindowsError(const AnsiString &arg) {
    const unsigned long code = GetLastOSError();
    throw ZError(WindowsErrorMessage(arg, static_cast<uint32_t>(code), SysErrorMessage(code)), 99);
}

bool AskQuestion(const AnsiString &args, int number) {
    const AnsiString header = MessageLanguage() != 0 ? "     З а п р о с  !" : "     З а п и т  !";
    const AnsiString text = MessageText(args, number == 0 ? 0 : number + 2000);
    return MessageBoxPrompt(nullptr, text, header, mbYesNo | mbIconQuestion) == idYes;
}

AnsiString ResourceMessageText(int number) { return LoadStr(number); }
