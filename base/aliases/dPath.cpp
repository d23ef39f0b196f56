#include "base/aliases/dPath.h"

#include <cstdint>

#include "base/text/CfgLanguage.h"
#include "base/text/LangText.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"

TStringList *AliasNames = nullptr;
TStringList *AliasFolders = nullptr;

AnsiString ResolveAliasPath(const AnsiString &path)
{
    const size_t hash = path.find('#');
    if (hash == AnsiString::npos)
        return path;
    const AnsiString alias = Trim(AnsiUpperCase(path.substr(0, hash)));
    const AnsiString file = Trim(path.substr(hash + 1));
    if (alias.empty() && file.empty())
        throw ZError(path, 6);
    if (file.empty())
        return alias;
    return AliasFolder(alias) + file;
}

AnsiString AliasFolder(const AnsiString &alias)
{
    const AnsiString name = AnsiUpperCase(alias);
    int index = -1;
    if (AliasNames == nullptr || AliasFolders == nullptr || !AliasNames->Find(name, index))
        throw ZError(name, 7);
    const intptr_t folderIndex = reinterpret_cast<intptr_t>(AliasNames->Objects(index));
    if (folderIndex < 0 || folderIndex >= AliasFolders->Count())
        throw ZError(name, 7);
    const AnsiString folder = AliasFolders->Strings(static_cast<int>(folderIndex));
    if (!folder.empty() && folder[0] == '\x04')
        return GetLangText(RecordTextLanguage(), folder);
    return folder;
}
