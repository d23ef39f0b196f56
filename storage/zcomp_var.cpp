#include "storage/zcomp_var.h"

#include <cstdint>

#include "base/aliases/dPath.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"

namespace {

// Reads up to the next "#" or the end of the line, stepping over the "#".
AnsiString TakeField(std::string_view &rest)
{
    const size_t hash = rest.find('#');
    const std::string_view field = rest.substr(0, hash);
    rest.remove_prefix(hash == std::string_view::npos ? rest.size() : hash + 1);
    return AnsiString(field);
}

AnsiString CleanUpper(const AnsiString &text) { return Trim(AnsiUpperCase(text)); }

// A folder: "@" stands for the product root; the text after it is trimmed and upper-cased.
AnsiString TakeFolder(std::string_view &rest, const AnsiString &root, bool toTheEnd)
{
    AnsiString folder;
    if (!rest.empty() && rest.front() == '@') {
        rest.remove_prefix(1);
        folder = root;
    }
    AnsiString text;
    if (toTheEnd) {
        text = AnsiString(rest);
        rest = std::string_view();
    } else {
        text = TakeField(rest);
    }
    return folder + CleanUpper(text);
}

}  // namespace

AnsiString ProductRootOf(const AnsiString &appFolder)
{
    const size_t slash = appFolder.find_last_of("\\/");
    const AnsiString last = slash == AnsiString::npos ? appFolder : appFolder.substr(slash + 1);
    if (slash != AnsiString::npos && AnsiSameText(last, "EXE"))
        return appFolder.substr(0, slash);
    return appFolder;
}

AliasLine ParseAliasLine(std::string_view line, const AnsiString &root)
{
    line = line.substr(0, line.find('\0'));
    AliasLine result;
    result.name = CleanUpper(TakeField(line));
    result.folder = TakeFolder(line, root, false);
    if (!line.empty()) {
        const AnsiString second = TakeFolder(line, root, true);
        result.folder = "\x04" + result.folder + "\x05" + second;
    }
    return result;
}

void ResetAliasLists()
{
    if (AliasNames == nullptr)
        AliasNames = new TStringList;
    if (AliasFolders == nullptr)
        AliasFolders = new TStringList;
    AliasNames->Clear();
    AliasFolders->Clear();
}

void AddAliasLine(const AliasLine &line)
{
    const int index = AliasFolders->Add(line.folder);
    AliasNames->AddObject(line.name, reinterpret_cast<void *>(static_cast<intptr_t>(index)));
}

void FinishAliasLists() { AliasNames->Sort(); }

void FreeAliasLists()
{
    delete AliasNames;
    delete AliasFolders;
    AliasNames = nullptr;
    AliasFolders = nullptr;
}

const char *const EnvironmentCfgFiles[4] = {"cfg.qmt", "riza.sfr", "klsstd.qmt", "klsuse.qmt"};

AnsiString MissingAliasFileMessage(const AnsiString &exeFolder)
{
    return "У тецi Exe по маршруту " + exeFolder + " відсутній файл alias.qmt" + ".\n Робота програми припиняється!";
}

AnsiString MissingCfgFilesMessage(const AnsiString &cfgFolder, const std::vector<AnsiString> &missing)
{
    AnsiString list;
    for (const AnsiString &name : missing)
        list += " \"" + name + "\",";
    if (!list.empty())
        list.pop_back();
    return "У тецi CFG по маршруту " + cfgFolder + " відсутні файли " + list + ".\n Робота програми припиняється!";
}
