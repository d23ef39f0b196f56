// Finding the journals of an installation's folder on the disk.
#include <algorithm>
#include <exception>
#include <utility>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"

bool ReadJournalFile(const AnsiString &path, std::string &content, AnsiString *error)
{
    try {
        TFileStream file(path, fmOpenRead | fmShareDenyNone);
        content.assign(static_cast<size_t>(file.Size()), '\0');
        if (!content.empty())
            file.ReadBuffer(&content[0], static_cast<long>(content.size()));
        return true;
    } catch (const std::exception &e) {
        if (error)
            *error = e.what();
        return false;
    }
}

std::vector<TJournalFile> JournalFilesIn(const AnsiString &productFolder, const AnsiString &ownJournal)
{
    // Each file with the key it is sorted by: the newest run's changes lie on top of the older ones and
    // are undone first; files that are no journal to act on follow.
    std::vector<std::pair<AnsiString, TJournalFile>> files;
    auto add = [&](const AnsiString &path) {
        TJournalFile file;
        file.Path = path;
        file.Read = ReadJournalFile(path, file.Content, &file.Error);
        file.Lines = SplitJournalLines(file.Content);
        file.Signed = IsSignedJournal(file.Lines);
        AnsiString key = file.Read && file.Signed ? "1" + JournalTimeKey(file.Lines) : AnsiString("0");
        files.emplace_back(std::move(key), std::move(file));
    };
    if (FileExists(ownJournal))
        add(ownJournal);
    for (const SFolderEntry &entry : SystemFolderAccess().List(productFolder, "qmt_*.txt"))
        if (!(entry.Attr & faDirectory) && IsJournalFileName(entry.Name) &&
            !AnsiSameText(productFolder + entry.Name, ownJournal))
            add(productFolder + entry.Name);
    std::stable_sort(files.begin(), files.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<TJournalFile> sorted;
    for (auto &keyed : files)
        sorted.push_back(std::move(keyed.second));
    return sorted;
}
