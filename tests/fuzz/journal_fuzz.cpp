// Fuzz target for the rollback journal's lines. The input is read as a journal file: each line's
// signature is checked and taken off, a command line is taken apart into its code and text, and the
// texts of a backup and of a created entry into their names and numbers. What a reader takes apart
// must put back together to the same text; and the input, used as a command's text, must come back
// unchanged through a signed command line. A journal taken for that of a finished run ends with a
// signed end command, and the temporary folder it names is the text of one of its command lines. The
// date a journal is sorted by is a signed line's, and every temporary folder it names is in the input.
#include <algorithm>
#include <string>
#include <string_view>

#include "tests/fuzz/FuzzTarget.h"
#include "update/apply/ApplyPlan.h"
#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"
#include "update/journal/UndoCommand.h"

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
    const std::string unsigned_ = "> 07.12.26*-12#a<b00000000010000000002\n> *#\r;x";
    seeds.emplace_back(unsigned_.begin(), unsigned_.end());
    return seeds;
}
