// The message service's error and warning boxes, shown through the framework's prompt seam.
#include "base/CfgLanguage.h"
#include "base/zmsg.h"
#include "framework/Prompt.h"

void ShowMessageNo(const AnsiString &args, int number)
{
    if (number == 999)
        return;  // the user has already been told
    const AnsiString header = MessageLanguage() != 0 ? "     О ш и б к а  !" : "     П о м и л к а  !";
    MessageBoxPrompt(nullptr, MessageText(args, number), header, mbOk | mbIconError);
}

void ShowWarning(const AnsiString &args, int number)
{
    const AnsiString header =
        MessageLanguage() != 0 ? "     П р е д у п р е ж д е н и е  !" : "     П о п е р е д ж е н н я  !";
    MessageBoxPrompt(nullptr, MessageText(args, number == 0 ? 0 : number + 1000), header, mbOk | mbIconWarning);
}
