// Fuzz target for the rollback journal's lines. The input is read as a journal file: each line's
// signature is checked and taken off, a command line is taken apart into its code and text, and the
// texts of a backup and of a created entry into their names and numbers. What a reader takes apart
// must put back together to the same text; and the input, used as a command's text, must come back
// unchanged through a signed command line. A journal taken for that of a finished run ends with a
// signed end command, and the temporary folder it names is the text of one of its command lines. The
// date a journal is sorted by is a signed line's, and every temporary folder it names is in the input.
// The input's first line, taken for a file's name, is a journal's only in the journal name's form, and
// the input is a journal only with a signed command line. The product folder a journal tells is a text
// of its lines, and a journal is taken for another folder's only on what its lines name.
#include <algorithm>
#include <string>
#include <string_view>

#include "tests/fuzz/FuzzTarget.h"
#include "update/apply/ApplyPlan.h"
#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"
#include "update/journal/UndoCommand.h"
#include "update/run/JournalFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void CheckCommandText(const AnsiString &text)
{
    TBackupCommand backup;
    if (ParseBackupCommand(text, backup)) {
        if (backup.Target.find('<') != AnsiString::npos)
            FuzzFinding("a backup's target holds the separator");
        if (BackupCommandText(backup.Target, backup.Backup, backup.Checksum, backup.Size) != text)
            FuzzFinding("a backup command does not put back together to its text");
    } else if (text.size() >= 20 && text.find('<') < text.size() - 20) {
        const std::string_view digits = std::string_view(text).substr(text.size() - 20);
        if (digits.find_first_not_of("0123456789") == std::string_view::npos && digits.substr(0, 10) <= "4294967295" &&
            digits.substr(10) <= "4294967295")
            FuzzFinding("a well-formed backup command is refused");
    }
    AnsiString created;
    if (ParseCreatedCommand(text, created)) {
        const std::size_t lt = text.find('<');
        if (text.compare(lt + 1, AnsiString::npos, created + text.substr(text.size() - 20)) != 0)
            FuzzFinding("a created entry's name is not the text between its separator and its digits");
    }
}

void CheckLine(AnsiString line)
{
    if (line.empty() || line.find_first_of("\r\n") != AnsiString::npos)
        FuzzFinding("a journal line is empty or holds a line end");
    if (VerifyLine(line)) {
        AnsiString body = line;
        if (!StripSignature(body) || body.size() + 10 != line.size())
            FuzzFinding("a signed line loses other than its ten digits");
        SignLine(body);
        if (!VerifyLine(body))
            FuzzFinding("a line signed again does not verify");
        StripSignature(line);
    }
    int code = 0;
    AnsiString text;
    if (IsCommandLine(line) && ParseCommandLine(line, code, text)) {
        if (line.size() < text.size() || line.compare(line.size() - text.size(), AnsiString::npos, text) != 0)
            FuzzFinding("a command's text is not the end of its line");
        CheckCommandText(text);
    }
}

// The form of a journal's name, checked apart from the reader: "qmt_", numbers separated by single
// dots, ".txt", the letters in any case.
bool HasJournalNameForm(const std::string_view name)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (name.size() < 9)
        return false;
    std::string head, tail;
    for (char c : name.substr(0, 4))
        head += lower(c);
    for (char c : name.substr(name.size() - 4))
        tail += lower(c);
    const std::string_view version = name.substr(4, name.size() - 8);
    return head == "qmt_" && tail == ".txt" && version.front() != '.' && version.back() != '.' &&
           version.find("..") == std::string_view::npos &&
           version.find_first_not_of("0123456789.") == std::string_view::npos;
}

void CheckJournalFolder(const std::string_view content, const std::vector<AnsiString> &lines)
{
    const TJournalFolder told = JournalFolderOf(lines);
    if (!told.Named.empty() && (!told.ProductFolders.empty() || !told.ProductFileFolders.empty()))
        FuzzFinding("a journal that names its folder is told by its paths too");
    for (const AnsiString &folder : told.ProductFolders)
        if (folder.empty() || content.find(folder) == std::string_view::npos)
            FuzzFinding("a product folder a journal tells is not in the journal");
    if (!told.Named.empty() && content.find(told.Named) == std::string_view::npos)
        FuzzFinding("the product folder a journal names is not in the journal");
    const AnsiString folder = "C:\\QMT\\";
    const AnsiString other =
        OtherFolderOfJournal(told, folder, [](const AnsiString &, const AnsiString &) { return false; });
    auto among = [&](const std::vector<AnsiString> &folders) {
        return std::find(folders.begin(), folders.end(), other) != folders.end();
    };
    // The folder all the product files share is the start of the first one's.
    const bool shared =
        !told.ProductFileFolders.empty() && told.ProductFileFolders.front().compare(0, other.size(), other) == 0;
    if (!other.empty() && other != told.Named && !among(told.ProductFolders) && !among(told.ProductFileFolders) &&
        !shared)
        FuzzFinding("a journal is taken for another folder's on a folder its lines do not give");
    if (!OtherFolderOfJournal(told, folder, [](const AnsiString &, const AnsiString &) { return true; }).empty())
        FuzzFinding("a journal of a folder that is every folder is taken for another's");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char *>(data), size);
    const std::vector<AnsiString> lines = SplitJournalLines(content);
    for (const AnsiString &line : lines)
        CheckLine(line);
    AnsiString temp;
    bool rolledBack = false;
    if (FinishedRunJournal(lines, temp, rolledBack)) {
        AnsiString newest, beforeIt;
        for (const AnsiString &line : lines)
            if (IsCommandLine(line)) {
                beforeIt = newest;
                newest = line;
            }
        int code = 0;
        AnsiString text;
        if (!VerifyLine(newest) || !StripSignature(newest) || !ParseCommandLine(newest, code, text) || code != ejc_End)
            FuzzFinding("a journal whose newest command is not a signed end is taken for a finished run's");
        if (!temp.empty() && content.find(temp) == std::string_view::npos)
            FuzzFinding("a finished run's temporary folder is not in its journal");
        if (rolledBack &&
            (!VerifyLine(beforeIt) || !StripSignature(beforeIt) || !ParseCommandLine(beforeIt, code, text) ||
             code != ejc_Variant || text != RolledBackVariantText))
            FuzzFinding("a journal is taken for a rolled back run's without the rolled-back variant before its end");
    } else if (rolledBack) {
        FuzzFinding("a journal that is no finished run's is taken for a rolled back run's");
    }

    const AnsiString key = JournalTimeKey(lines);
    if (!key.empty() && (key.size() != 15 || key.find_first_not_of("0123456789") != AnsiString::npos ||
                         !std::any_of(lines.begin(), lines.end(), VerifyLine)))
        FuzzFinding("a journal's date is not fifteen digits of a signed line");
    for (const AnsiString &folder : JournaledTempFolders(lines))
        if (folder.empty() || content.find(folder) == std::string_view::npos)
            FuzzFinding("a journaled temporary folder is not in the journal");

    const std::string_view name = content.substr(0, content.find_first_of("\r\n"));
    if (IsJournalFileName(AnsiString(name)) != HasJournalNameForm(name))
        FuzzFinding("a file's name is told for a journal's against the name's form");
    if (IsSignedJournal(lines) != std::any_of(lines.begin(), lines.end(), [](const AnsiString &line) {
            return IsCommandLine(line) && VerifyLine(line);
        }))
        FuzzFinding("a file is told for a journal other than by a signed command line");
    CheckJournalFolder(content, lines);

    // The whole input as a command's text: written, checked and read back.
    const int code = size > 0 ? static_cast<int>(data[0]) - 64 : 0;
    AnsiString line = JournalCommandLine("07.12.26 10:00:00.000", code, AnsiString(content));
    int back = 0;
    AnsiString text;
    if (!VerifyLine(line) || !StripSignature(line) || !ParseCommandLine(line, back, text) || back != code ||
        text != content)
        FuzzFinding("a signed command line does not read back to its code and text");
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    const AnsiString date = "07.12.26 10:00:00.000";
    std::string journal;
    for (const AnsiString &line :
         {JournalProtocolLine(date, ProtocolLine(ept_Plain, "Запуск")),
          JournalCommandLine(date, ejc_Start, JournalStartText),
          JournalCommandLine(date, ejc_TempFolder, "C:\\QMT\\TMP\\"),
          JournalCommandLine(date, ejc_Backup,
                             BackupCommandText("C:\\QMT\\a.exe", "C:\\QMT\\TMP\\BAK1\\a.exe", 12345, 678)),
          JournalCommandLine(date, ejc_Created, CreatedCommandText("C:\\QMT\\new.dll", 0, 4294967295u)),
          JournalCommandLine(date, ejc_End, JournalEndText)})
        journal += line + "\r\n";
    std::vector<Bytes> seeds;
    seeds.emplace_back(journal.begin(), journal.end());
    // A journal naming its product folder, and one of an earlier build told by its temporary folder.
    for (const AnsiString &line : {JournalCommandLine(date, ejc_Start, JournalStartText),
                                   JournalCommandLine(date, ejc_ProductFolder, "C:\\QMT\\")})
        journal += line + "\r\n";
    seeds.emplace_back(journal.begin(), journal.end());
    std::string earlier = "qmt_3.1.1.5.txt\r\n";
    for (const AnsiString &line :
         {JournalCommandLine(date, ejc_Start, JournalStartText),
          JournalCommandLine(date, ejc_TempFolder, "D:\\P\\QMTUPDTA.TMP\\"),
          JournalCommandLine(date, ejc_Backup,
                             BackupCommandText("D:\\P\\Rus\\a.dat", "E:\\QMTUPDT.TMP\\RUN00000001\\a.dat", 1, 2))})
        earlier += line + "\r\n";
    seeds.emplace_back(earlier.begin(), earlier.end());
    const std::string unsigned_ = "> 07.12.26*-12#a<b00000000010000000002\n> *#\r;x";
    seeds.emplace_back(unsigned_.begin(), unsigned_.end());
    return seeds;
}
