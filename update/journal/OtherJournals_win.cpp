// Finding the journals of an installation's folder on the disk.
#include <algorithm>
#include <exception>

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
    std::vector<TJournalFile> files;
    auto add = [&](const AnsiString &path) {
        TJournalFile file;
        file.Path = path;
        file.Read = ReadJournalFile(path, file.Content, &file.Error);
        file.Lines = SplitJournalLines(file.Content);
        file.Signed = IsSignedJournal(file.Lines);
        files.push_back(std::move(file));
    };
    if (FileExists(ownJournal))
        add(ownJournal);
    for (const SFolderEntry &entry : SystemFolderAccess().List(productFolder, "qmt_*.txt"))
        if (!(entry.Attr & faDirectory) && IsJournalFileName(entry.Name) &&
            !AnsiSameText(productFolder + entry.Name, ownJournal))
            add(productFolder + entry.Name);
    // The newest run's changes lie on top of the older ones: it is undone first.
    std::vector<AnsiString> keys;
    for (const TJournalFile &file : files)
        keys.push_back(file.Read && file.Signed ? "1" + JournalTimeKey(file.Lines) : AnsiString("0"));
    std::vector<size_t> order(files.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] > keys[b]; });
    std::vector<TJournalFile> sorted;
    for (size_t i : order)
        sorted.push_back(std::move(files[i]));
    return sorted;
}
