#include "base/FileErrorReport.h"

#include "base/FileErrors.h"
#include "base/LangText.h"
#include "base/TZExcept.h"
#include "base/zmsg.h"
#include "framework/Kernel.h"

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
    if (number != 0)
        ShowMessageNo(FileErrorText(number, name, LibraryLanguage), 0);
    else
        ShowMessageNo(WindowsErrorMessage(name, static_cast<std::uint32_t>(systemCode), SysErrorMessage(systemCode)), 0);
}

bool AskReplaceFile(const AnsiString &name) { return AskQuestion(FileErrorText(FileAskReplace, name, LibraryLanguage), 0); }
