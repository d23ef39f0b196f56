// The text of the wait windows.
#include "controls/messages/dwait.h"

#include "base/text/CfgLanguage.h"
#include "base/messages/zmsg.h"

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
