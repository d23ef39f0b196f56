// Finding the journals of an installation's folder on the disk.
#include <algorithm>
#include <exception>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"

bool ReadJournalFile(const AnsiString &path, std::string &content)
{
    try {
        TFileStream file(path, fmOpenRead | fmShareDenyNone);
        content.assign(static_cast<size_t>(file.Size()), '\0');
        if (!content.empty())
            file.ReadBuffer(&content[0], static_cast<long>(content.size()));
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

std::vector<AnsiString> JournalsInProductFolder(const AnsiString &productFolder, const AnsiString &ownJournal)
{
    struct Found {
        AnsiString Key, Path;
    };
    std::vector<Found> found;
    auto timeKey = [](const AnsiString &path) {
        std::string content;
        return ReadJournalFile(path, content) ? JournalTimeKey(SplitJournalLines(content)) : AnsiString();
    };
    // The run's own journal counts whatever it holds, as it always has: even an empty one is offered.
    if (FileExists(ownJournal))
        found.push_back({timeKey(ownJournal), ownJournal});
    for (const SFolderEntry &entry : SystemFolderAccess().List(productFolder, "qmt_*.txt")) {
        const AnsiString path = productFolder + entry.Name;
        std::string content;
        if ((entry.Attr & faDirectory) || !IsJournalFileName(entry.Name) || AnsiSameText(path, ownJournal) ||
            !ReadJournalFile(path, content))
            continue;
        const std::vector<AnsiString> lines = SplitJournalLines(content);
        if (IsSignedJournal(lines))
            found.push_back({JournalTimeKey(lines), path});
    }
    // The newest run's changes lie on top of the older ones: it is undone first.
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.Key > b.Key; });
    std::vector<AnsiString> paths;
    for (const Found &f : found)
        paths.push_back(f.Path);
    return paths;
}
