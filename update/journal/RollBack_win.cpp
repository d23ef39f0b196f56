// Rollback of an earlier run that did not finish: its journal is read from the newest line back, every
// command line must carry a good signature, and the changes it records are undone until its start.
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/ApplyPlan.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"
#include "update/journal/UndoCommand.h"
#include "update/run/uMain.h"

namespace {

int32_t VariantOf(const AnsiString &text)
{
    if (text.empty() || text.size() > 9)
        return -1;
    size_t start = text[0] == '-' ? 1 : 0;
    if (start == text.size())
        return -1;
    for (size_t i = start; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return -1;
    return static_cast<int32_t>(std::stol(text));
}

}  // namespace

bool TForm1::UndoJournalCommand(const AnsiString &line, bool &ok, bool firstPass)
{
    int code = 0;
    AnsiString text;
    if (!ParseCommandLine(line, code, text)) {
        // A signed line the engine could not have written: nothing can be undone from it safely.
        ok = false;
        return false;
    }
    switch (code) {
    case ejc_CopyFolder: CopyFolder = text; return false;
    case ejc_Variant: UpdateVariant = VariantOf(text); return false;
    case ejc_TempFolder:
        // Read in the first pass as well: a run that failed while copying the installation never
        // reaches the second one, and its temporary folder must still be found and removed.
        TempFolder = text;
        if (firstPass)
            return false;
        break;
    default:
        if (code < ejc_Start || firstPass)
            return false;
    }

    Log(ept_Undo, line, true);
    switch (code) {
    case ejc_Start: ok = true; break;
    case ejc_End: ok = true; break;
    case ejc_Backup: {
        TBackupCommand backup;
        ok =
            ParseBackupCommand(text, backup) && RestoreFile(backup.Backup, backup.Target, backup.Size, backup.Checksum);
        break;
    }
    case ejc_Created: {
        AnsiString name;
        if (!ParseCreatedCommand(text, name))
            ok = false;
        else if (IsAbsolutePath(name) && DirectoryExists(name))
            madeFolders_.push_back(name);  // removed once the pass has removed the files
        else if (IsAbsolutePath(name))
            ok = DeleteFileLogged(name);
        // A relative name is the marker of a file that did not exist: nothing was created under it.
        break;
    }
    default: break;
    }
    CheckStep(ok, false);
    return code == ejc_Start;
}

bool TForm1::RollBack()
{
    UpdateVariant = 0;
    Log(ept_JournalScan, JournalPath, true);

    std::string content;
    if (!ReadJournalFile(JournalPath, content)) {
        Log(ept_JournalDamaged, JournalPath, true);
        return false;
    }
    std::vector<AnsiString> lines = SplitJournalLines(content);

    // Walks the command lines from the newest; false when a line fails its signature or its undo.
    bool newestIsEnd = false;
    auto pass = [&](bool firstPass) {
        bool ok = true;
        bool newest = true;
        // A journal that a later run appended to (its earlier run ended, but its tidy-up failed) holds
        // the earlier runs before the newest start: their variant, copy folder and temporary folder
        // are not those of the run whose lines are undone. Their lines are still verified.
        bool newestRun = true;
        for (size_t i = lines.size(); i-- > 0;) {
            AnsiString line = lines[i];
            if (!IsCommandLine(line))
                continue;
            if (!VerifyLine(line)) {
                Log(ept_JournalDamaged, JournalPath, true);
                return false;
            }
            StripSignature(line);
            int code = 0;
            AnsiString text;
            const bool parsed = ParseCommandLine(line, code, text);
            if (firstPass && newest) {
                newestIsEnd = parsed && code == ejc_End;
                newest = false;
            }
            if (!newestRun)
                continue;
            bool endsPass = UndoJournalCommand(line, ok, firstPass);
            if (!ok)
                return false;
            if (endsPass)
                break;
            newestRun = !(parsed && code == ejc_Start);
        }
        return true;
    };

    // A copy run changed nothing of the installation it copied. Its lines are undone newest first back
    // to the run's start: every file and folder it made goes (a folder once it holds nothing else;
    // what others put there stays), and a file its desktop shortcut was saved over is put back,
    // wherever the desktop lies. The installation's own files are never touched.
    auto undoCopyRun = [&] {
        auto in = [](const AnsiString &name, const AnsiString &folder) {
            return !folder.empty() && name.size() >= folder.size() &&
                   AnsiCompareText(name.substr(0, folder.size()), folder) == 0;
        };
        for (size_t i = lines.size(); i-- > 0;) {
            AnsiString line = lines[i];
            if (!IsCommandLine(line))
                continue;
            StripSignature(line);  // verified by the first pass
            int code = 0;
            AnsiString text, name;
            TBackupCommand backup;
            if (!ParseCommandLine(line, code, text))
                return false;
            if (code == ejc_Start)
                return true;
            // The copy's folder itself (made by the run or found empty) goes before the folders the run
            // made to hold it, whose lines come before this one.
            if (code == ejc_CopyFolder && IsAbsolutePath(text) && DirectoryExists(text))
                madeFolders_.push_back(text);
            if (code == ejc_Created && ParseCreatedCommand(text, name) && IsAbsolutePath(name)) {
                Log(ept_Undo, line, true);
                if (DirectoryExists(name))
                    madeFolders_.push_back(name);
                else if (!DeleteFileLogged(name))
                    return CheckStep(false, false);
                CheckStep(true, false);
            } else if (code == ejc_Backup && ParseBackupCommand(text, backup) && !in(backup.Target, CopyFolder) &&
                       (!in(backup.Target, ProductFolder) || IsShortcutBackup(backup.Backup, TempFolder))) {
                Log(ept_Undo, line, true);
                if (!CheckStep(RestoreFile(backup.Backup, backup.Target, backup.Size, backup.Checksum), false))
                    return false;
            }
        }
        return true;
    };

    if (!pass(true))
        return false;

    if (newestIsEnd) {
        // The earlier run finished and only failed to delete its journal: the installation (or its
        // updated copy) is as that run left it, and nothing must be undone or removed but the
        // temporary folder.
        UpdateVariant = 0;
        CopyFolder.clear();
    } else {
        if (FindProductExe(false, true) && WaitProductClosed(0))
            return false;
        // A copy of the installation was being updated: nothing outside the copy was changed, and the
        // run removes the copy. Its product must not be running from it.
        if (UpdateVariant == 1 && !CopyFolder.empty() && DirectoryExists(CopyFolder) && FindProductExe(true, true) &&
            WaitProductClosed(1))
            return false;
        // While we waited another updater may have rolled the journal back, or started anew.
        std::string now;
        if (!ReadJournalFile(JournalPath, now) || now != content) {
            Log(ept_Plain, "Файл отката изменился во время ожидания: " + JournalPath, true);
            return false;
        }
        madeFolders_.clear();
        if (!(UpdateVariant != 1 ? pass(false) : undoCopyRun()))
            return false;
        // The folders the run made go once everything else it made is gone: a journal names a new
        // file's own line before the lines of the folders made for it. Newest first is innermost first.
        // They go while the journal still says the run is to be undone, so a rollback stopped on the
        // way is offered again and removes the rest.
        std::set<AnsiString> seen;
        for (const AnsiString &folder : madeFolders_) {
            if (!seen.insert(AnsiUpperCase(ExcludeTrailingBackslash(folder))).second || !DirectoryExists(folder))
                continue;
            if (RemoveMadeFolder(folder))
                continue;
            if (AnsiSameText(ExcludeTrailingBackslash(folder), ExcludeTrailingBackslash(CopyFolder))) {
                Log(ept_Plain, "Не удалось удалить копию ЦМТ " + CopyFolder, true);
                return false;
            }
            // Once the journal ends nothing names it: the user is told what stays.
            Log(ept_Plain, "Папка, созданная обновлением, не удалена: " + folder, true);
        }
        // Everything is undone. The journal, ended, names the temporary folder with the backups until
        // that is gone, and goes last: a rollback stopped on the way leaves the next start a journal to
        // tidy up after, never a folder nothing names, nor a journal whose backups are gone.
        if (!EndRolledBackJournal())
            return false;
    }
    // Left behind, the ended journal has the next start remove what is left.
    if (!TidyJournaledRun(TempFolder))
        Log(ept_Plain, "Временные файлы будут удалены при следующем запуске", true);
    return true;
}

bool TForm1::TidyJournaledRun(const AnsiString &tempFolder)
{
    // The journal is the only thing that names the folders: it goes last, once they are gone.
    const AnsiString left = RemoveJournaledTempFolders(tempFolder);
    if (!left.empty()) {
        Log(ept_Plain, "Не удалось удалить временную папку прошлого обновления " + left, true);
        return false;
    }
    return DeleteFileLogged(JournalPath);
}

AnsiString TForm1::RemoveJournaledTempFolders(const AnsiString &newest)
{
    AnsiString left;
    if (!RemoveTempFolder(newest))
        left = newest;
    std::string content;
    if (!ReadJournalFile(JournalPath, content))
        return left;
    for (const AnsiString &folder : JournaledTempFolders(SplitJournalLines(content)))
        if (!AnsiSameText(ExcludeTrailingBackslash(folder), ExcludeTrailingBackslash(newest)) &&
            DirectoryExists(folder) && !RemoveTempFolder(folder) && left.empty())
            left = folder;
    return left;
}

bool TForm1::TidyFinishedRun(bool &finished, bool &rolledBack)
{
    std::string content;
    AnsiString temp;
    finished =
        ReadJournalFile(JournalPath, content) && FinishedRunJournal(SplitJournalLines(content), temp, rolledBack);
    if (!finished)
        return true;
    Log(ept_Plain,
        rolledBack ? "Откат прошлого обновления завершен. Удаление его временных файлов"
                   : "Прошлое обновление завершено. Удаление его временных файлов",
        true);
    return TidyJournaledRun(temp);
}
