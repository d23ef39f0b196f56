#include "base/files/FileErrorReport.h"

#include "base/messages/BsMssg.h"
#include "base/files/FileErrors.h"
#include "base/text/LangText.h"
#include "base/messages/TZExcept.h"

std::uint32_t FileErrorCode(unsigned number, unsigned long systemCode)
{
    return number != 0 ? OwnErrorCode(number) : static_cast<std::uint32_t>(systemCode);
}

void ThrowFileError(unsigned number, unsigned long systemCode, const AnsiString &name)
{
    if (number != 0)
        throw TZExcept(OwnErrorCode(number), name);
    throw TZExcept(0, name, static_cast<std::uint32_t>(systemCode));
}

void ShowFileError(unsigned number, unsigned long systemCode, const AnsiString &name)
{
    TBsMssg box;
    if (number != 0)
        box.SetTextByNumber(LibraryLanguage, number, name.c_str(), FileErrorTable, FileErrorTableEnd);
    else
        box.SetSystemText(LibraryLanguage, static_cast<std::uint32_t>(systemCode), name.c_str());
    box.Error();
}

bool AskReplaceFile(const AnsiString &name)
{
    TBsMssg box;
    box.SetTextByNumber(LibraryLanguage, FileAskReplace, name.c_str(), FileErrorTable, FileErrorTableEnd);
    return box.Ask();
}
