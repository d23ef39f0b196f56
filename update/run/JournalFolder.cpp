#include "update/run/JournalFolder.h"

#include <algorithm>
#include <set>

#include "framework/runtime/SysUtils.h"
#include "update/journal/JournalLine.h"
#include "update/journal/UndoCommand.h"
#include "update/variant/FreeSpace.h"
#include "update/variant/uSelKindUpdtList.h"

namespace {

struct TCommand {
    int Code = 0;
    AnsiString Text;
};

bool SameFolderText(const AnsiString &a, const AnsiString &b) { return FolderWithin(a, b) && FolderWithin(b, a); }

// The folder (with trailing "\") whose own temporary folder the path is or lies in; empty when none.
AnsiString ProductFolderOfTempPath(const AnsiString &path)
{
    AnsiString upper = AnsiUpperCase(IncludeTrailingBackslash(path));
    std::replace(upper.begin(), upper.end(), '/', '\\');
    const size_t at = upper.find("\\" + AnsiUpperCase(ProductTempFolderName));
    return at == AnsiString::npos ? AnsiString() : path.substr(0, at + 1);
}

// The folder above (with trailing "\"); empty at a drive's or share's root.
AnsiString ParentFolder(const AnsiString &folder)
{
    const AnsiString inner = ExcludeTrailingBackslash(folder);
    const AnsiString parent = ExtractFilePath(inner);
    return parent.size() < inner.size() ? parent : AnsiString();
}

// A list of folders that takes each folder once, whatever its letter case, separators or trailing "\".
class TFolderSet {
public:
    explicit TFolderSet(std::vector<AnsiString> &folders) : folders_(folders) {}
    void Add(const AnsiString &folder)
    {
        AnsiString key = AnsiUpperCase(ExcludeTrailingBackslash(folder));
        std::replace(key.begin(), key.end(), '/', '\\');
        if (!folder.empty() && keys_.insert(key).second)
            folders_.push_back(folder);
    }

private:
    std::vector<AnsiString> &folders_;
    std::set<AnsiString> keys_;
};

// What one run's lines (from its start on) tell.
void TellRun(const std::vector<TCommand> &run, TFolderSet &productFolders, TFolderSet &productFileFolders)
{
    const bool copyRun =
        std::any_of(run.begin(), run.end(), [](const TCommand &c) { return c.Code == ejc_Variant && c.Text == "1"; });
    for (const TCommand &command : run) {
        TBackupCommand backup;
        if (command.Code == ejc_TempFolder) {
            productFolders.Add(ProductFolderOfTempPath(command.Text));
        } else if (command.Code == ejc_Backup && ParseBackupCommand(command.Text, backup)) {
            productFolders.Add(ProductFolderOfTempPath(backup.Backup));
            if (!copyRun && IsAbsolutePath(backup.Target))
                productFileFolders.Add(ExtractFilePath(backup.Target));
        }
    }
}

// Whether `path` is `folder` or lies inside it: by the texts, else by `sameFolder` on it and on each
// folder above it.
bool InFolder(const AnsiString &path, const AnsiString &folder, const TSameFolder &sameFolder)
{
    if (FolderWithin(path, folder))
        return true;
    for (AnsiString up = IncludeTrailingBackslash(path); !up.empty(); up = ParentFolder(up))
        if (sameFolder(up, folder))
            return true;
    return false;
}

// The innermost folder that holds every one of `folders`; empty when none does (they lie on two drives).
AnsiString SharedFolder(const std::vector<AnsiString> &folders)
{
    AnsiString shared = IncludeTrailingBackslash(folders.front());
    for (const AnsiString &folder : folders)
        while (!shared.empty() && !FolderWithin(folder, shared))
            shared = ParentFolder(shared);
    return shared;
}

}  // namespace

TJournalFolder JournalFolderOf(const std::vector<AnsiString> &lines)
{
    TJournalFolder told;
    std::vector<std::vector<TCommand>> runs(1);
    for (AnsiString line : lines) {
        TCommand command;
        if (!IsCommandLine(line) || !VerifyLine(line) || !StripSignature(line) ||
            !ParseCommandLine(line, command.Code, command.Text))
            continue;
        if (command.Code == ejc_ProductFolder && !command.Text.empty())
            told.Named = command.Text;
        if (command.Code == ejc_Start)
            runs.emplace_back();
        runs.back().push_back(command);
    }
    if (!told.Named.empty())
        return told;
    TFolderSet productFolders(told.ProductFolders), productFileFolders(told.ProductFileFolders);
    for (const std::vector<TCommand> &run : runs)
        TellRun(run, productFolders, productFileFolders);
    return told;
}

AnsiString OtherFolderOfJournal(const TJournalFolder &told, const AnsiString &folder, const TSameFolder &sameFolder)
{
    auto same = [&](const AnsiString &f) { return SameFolderText(f, folder) || sameFolder(f, folder); };
    if (!told.Named.empty())
        return same(told.Named) ? AnsiString() : told.Named;
    for (const AnsiString &productFolder : told.ProductFolders)
        if (!same(productFolder))
            return productFolder;
    for (const AnsiString &fileFolder : told.ProductFileFolders)
        if (!InFolder(fileFolder, folder, sameFolder)) {
            const AnsiString shared = SharedFolder(told.ProductFileFolders);
            return shared.empty() ? fileFolder : shared;
        }
    return AnsiString();
}
