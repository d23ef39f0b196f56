#include "update/journal/OtherJournals.h"

#include <algorithm>
#include <cctype>

#include "framework/runtime/SysUtils.h"
#include "update/journal/JournalLine.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The line's text without its signature when the signature is good.
bool SignedText(const AnsiString &line, AnsiString &text)
{
    if (!VerifyLine(line))
        return false;
    text = line;
    return StripSignature(text);
}

}  // namespace

bool IsJournalFileName(const AnsiString &name)
{
    const AnsiString upper = AnsiUpperCase(name);
    if (upper.size() <= 8 || upper.compare(0, 4, "QMT_") != 0 || upper.compare(upper.size() - 4, 4, ".TXT") != 0)
        return false;
    const AnsiString version = upper.substr(4, upper.size() - 8);
    bool digitBefore = false;
    for (char c : version) {
        if (c == '.' && digitBefore)
            digitBefore = false;
        else if (IsDigit(c))
            digitBefore = true;
        else
            return false;
    }
    return digitBefore;
}

bool IsSignedJournal(const std::vector<AnsiString> &lines)
{
    AnsiString text;
    return std::any_of(lines.begin(), lines.end(),
                       [&](const AnsiString &line) { return IsCommandLine(line) && SignedText(line, text); });
}

AnsiString JournalTimeKey(const std::vector<AnsiString> &lines)
{
    // "> " or "; ", then "dd.mm.yy hh:nn:ss.zzz".
    static const char pattern[] = "dd.mm.yy hh:nn:ss.zzz";
    for (size_t i = lines.size(); i-- > 0;) {
        AnsiString text;
        if (!SignedText(lines[i], text) || text.size() < 2 + sizeof pattern - 1)
            continue;
        const AnsiString date = text.substr(2, sizeof pattern - 1);
        bool dated = true;
        for (size_t k = 0; k < date.size(); ++k)
            dated = dated &&
                    (std::isalpha(static_cast<unsigned char>(pattern[k])) ? IsDigit(date[k]) : date[k] == pattern[k]);
        if (dated)
            return date.substr(6, 2) + date.substr(3, 2) + date.substr(0, 2) + date.substr(9, 2) + date.substr(12, 2) +
                   date.substr(15, 2) + date.substr(18, 3);
    }
    return AnsiString();
}

std::vector<AnsiString> JournaledTempFolders(const std::vector<AnsiString> &lines)
{
    std::vector<AnsiString> folders, keys;
    for (size_t i = lines.size(); i-- > 0;) {
        AnsiString text, folder;
        int code = 0;
        if (!IsCommandLine(lines[i]) || !SignedText(lines[i], text) || !ParseCommandLine(text, code, folder) ||
            code != ejc_TempFolder || folder.empty())
            continue;
        const AnsiString key = AnsiUpperCase(ExcludeTrailingBackslash(folder));
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            continue;
        keys.push_back(key);
        folders.push_back(folder);
    }
    return folders;
}

AnsiString JournalChangedSince(const std::vector<TJournalFile> &seen, const std::vector<TJournalFile> &now,
                               const AnsiString &ownJournal, size_t ownStart)
{
    auto find = [](const std::vector<TJournalFile> &files, const AnsiString &path) -> const TJournalFile * {
        for (const TJournalFile &file : files)
            if (AnsiSameText(file.Path, path))
                return &file;
        return nullptr;
    };
    for (const TJournalFile &file : now) {
        const TJournalFile *before = find(seen, file.Path);
        const bool asBefore =
            file.Read && (AnsiSameText(file.Path, ownJournal)
                              ? ownStart == (before ? before->Content.size() : 0) && file.Content.size() >= ownStart &&
                                    (!before || file.Content.compare(0, ownStart, before->Content) == 0)
                              : before && before->Read && before->Content == file.Content);
        if (!asBefore)
            return file.Path;
    }
    for (const TJournalFile &file : seen)
        if (!find(now, file.Path))
            return file.Path;
    return AnsiString();
}
