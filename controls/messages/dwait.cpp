// The text of the wait windows.
#include "controls/messages/dwait.h"

#include "base/CfgLanguage.h"
#include "base/zmsg.h"

AnsiString WaitText(int number, const AnsiString &extra)
{
    AnsiString text;
    if (number != 0) {
        text = ProviderText(number, MessageLanguage() != 0, WaitRecordKind);
        if (text.empty())
            text = MissingMessageText(number);
    }
    return text + extra;
}
