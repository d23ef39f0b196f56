// Step 2 of the run: the journals earlier runs left in the product folder. A journal left by an earlier
// run means that run did not finish: the user may roll it back. Every update names its journal after
// its own new version and keeps its backups in the product folder's one temporary folder, which this
// run is about to empty: a journal of another version's run is looked at as the run's own is, newest
// first, before anything changes. A start acts only on what it can read and on journals of its own
// product folder, and the check holds at the moment the run starts changing things: it is made again
// once the run holds the product's mutex, since another updater may have run while this one waited.
#include <utility>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"
#include "update/journal/UndoCommand.h"
#include "update/run/JournalFolder.h"
#include "update/run/MsgBoxes.h"
#include "update/run/uMain.h"
#include "update/variant/FreeSpace.h"

namespace {

bool SameFolderOnDisk(const AnsiString &a, const AnsiString &b)
{
    return SameFile(IncludeTrailingBackslash(a), IncludeTrailingBackslash(b));
}

// Why a start stops before it changes anything: its protocol line and the box the user sees.
struct TStop {
    AnsiString Line, Box;
};

TStop UnreadableJournal(const TJournalFile &file)
{
    return {"Файл отката не читается: " + file.Path + ". " + file.Error,
            "Не удается прочитать файл отката\n" + file.Path +
                "\nВозможно, его держит открытым другая программа (например, программа резервного копирования или "
                "синхронизации).\nЗакройте ее и запустите обновление еще раз.\nОбновление завершает работу, ничего "
                "не изменив."};
}

TStop OtherFoldersJournal(const AnsiString &journal, const AnsiString &folder)
{
    return {"Файл отката записан обновлением в другой папке ЦМТ: " + journal + " (папка " + folder + ")",
            "Файл отката\n" + journal + "\nзаписан обновлением ЦМТ в другой папке:\n" + folder +
                "\n(возможно, папка ЦМТ скопирована или перенесена вместе с ним).\nВосстановить по нему можно "
                "только ту папку - запустите обновление в ней.\nОбновление завершает работу, ничего не изменив."};
}

TStop JournalWithoutGoodLine(const AnsiString &journal, const AnsiString &tempFolder)
{
    return {"Файл с именем файла отката не содержит верных строк: " + journal +
                "; во временной папке есть резервные копии: " + tempFolder,
            "Файл\n" + journal +
                "\nназван как файл отката, но в нем нет ни одной верной строки (возможно, он поврежден при "
                "сбое),\nа во временной папке\n" +
                tempFolder +
                "\nлежат резервные копии, которые могут понадобиться для восстановления программы ЦМТ.\n"
                "Обновление завершает работу, ничего не изменив."};
}

TStop OtherFoldersJournalThatStays(const AnsiString &journal)
{
    return {"Файл отката другой папки ЦМТ не удален: " + journal,
            "Не удается удалить файл отката\n" + journal +
                "\nзаписанный обновлением ЦМТ в другой папке.\nВозможно, его держит открытым другая программа "
                "(например, программа резервного копирования или синхронизации).\nЗакройте ее и запустите "
                "обновление еще раз.\nОбновление завершает работу."};
}

// What a start does with the files of a journal's name it found, decided before it changes anything.
struct TJournalsToHandle {
    std::vector<AnsiString> Own;  // this folder's journals, newest first
    // Ended journals written for another folder, with that folder: each goes itself, and nothing it
    // names is touched.
    std::vector<std::pair<AnsiString, AnsiString>> OtherFoldersEnded;
    TStop Stop;  // its line set: the start stops
};

TJournalsToHandle SortOut(const std::vector<TJournalFile> &files, const AnsiString &productFolder,
                          const AnsiString &ownJournal)
{
    TJournalsToHandle handle;
    const AnsiString productTemp = productFolder + ProductTempFolderName;
    bool tempNamed = false;  // a journal of this folder names the product folder's temporary folder
    for (const TJournalFile &file : files) {
        if (!file.Read) {
            handle.Stop = UnreadableJournal(file);
            return handle;
        }
        if (!file.Signed)
            continue;
        const AnsiString other = OtherFolderOfJournal(JournalFolderOf(file.Lines), productFolder, SameFolderOnDisk);
        AnsiString temp;
        bool rolledBack = false;
        if (other.empty()) {
            handle.Own.push_back(file.Path);
            for (const AnsiString &folder : JournaledTempFolders(file.Lines))
                tempNamed =
                    tempNamed || AnsiSameText(ExcludeTrailingBackslash(folder), ExcludeTrailingBackslash(productTemp));
        } else if (FinishedRunJournal(file.Lines, temp, rolledBack)) {
            handle.OtherFoldersEnded.emplace_back(file.Path, other);
        } else {
            handle.Stop = OtherFoldersJournal(file.Path, other);
            return handle;
        }
    }
    // A file of a journal's name without a good line may be the journal of a run a crash cut short (left
    // zero-filled, say): while the temporary folder holds backups no journal here accounts for, they
    // may be all that is left of the files that run changed. Else the run's own journal counts whatever
    // it holds, as it always has, and another such file is someone else's and stays.
    TStringList held;
    for (const TJournalFile &file : files) {
        if (file.Signed)
            continue;
        if (!tempNamed && DirectoryExists(productTemp) && ListFilesRecursive(productTemp, "*.*", held, false) > 0) {
            handle.Stop = JournalWithoutGoodLine(file.Path, productTemp);
            return handle;
        }
        if (AnsiSameText(file.Path, ownJournal))
            handle.Own.push_back(file.Path);
    }
    return handle;
}

}  // namespace

bool TForm1::LastRunCheck(bool &cancelled)
{
    Log(ept_Plain, "...Проверка проблем прошлого запуска", true);
    const AnsiString ownJournal = JournalPath;
    lastRunsSeen_ = JournalFilesIn(ProductFolder, ownJournal);
    const TJournalsToHandle handle = SortOut(lastRunsSeen_, ProductFolder, ownJournal);
    auto stop = [this](const TStop &why) {
        Log(ept_Plain, why.Line, true);
        ShowErrorText(why.Box);
        return false;
    };
    if (!handle.Stop.Line.empty())
        return stop(handle.Stop);
    for (const auto &[journal, folder] : handle.OtherFoldersEnded) {
        Log(ept_Plain,
            "Файл отката завершенного обновления другой папки ЦМТ удаляется, ее файлы не затрагиваются: " + journal +
                " (папка " + folder + ")",
            true);
        if (!DeleteFileLogged(journal))
            return stop(OtherFoldersJournalThatStays(journal));
    }
    if (handle.Own.empty()) {
        Log(ept_Plain, "Нет проблем", true);
        if (!handle.OtherFoldersEnded.empty())
            lastRunsSeen_ = JournalFilesIn(ProductFolder, ownJournal);
        return true;
    }
    // Each journal is handled through JournalPath, as the rollback and the tidy-up know it; the run's
    // own is put back however this ends.
    struct RestorePath {
        AnsiString &path;
        AnsiString own;
        ~RestorePath() { path = own; }
    } restore{JournalPath, ownJournal};

    bool askToGoOn = false;
    for (const AnsiString &journal : handle.Own) {
        JournalPath = journal;
        CopyFolder.clear();  // each rollback reads its own run's copy folder
        if (!AnsiSameText(journal, ownJournal))
            Log(ept_Plain, "Найден файл отката другого обновления: " + journal, true);
        // A run that finished, or a rollback that did, stopped while it tidied up: nothing to undo,
        // nothing failed.
        bool finished = false, rolledBack = false;
        if (!TidyFinishedRun(finished, rolledBack))
            return false;
        if (finished && !rolledBack)
            continue;
        LastRunProblems = 1;
        askToGoOn = true;
        if (finished)
            continue;
        if (!AskYesNo(3001, true)) {
            LogAndShowError(5003);
            Log(ept_Cancelled, AnsiString(), true);
            cancelled = true;
            return false;
        }
        Log(ept_Plain, "Есть проблемы. Попытка отката к предыдущему состоянию.", true);
        if (!CheckStep(RollBack(), true)) {
            LogAndShowError(5003);
            return false;
        }
        TempFolder.clear();
        Log(ept_Plain, "Восстановление завершено успешно", true);
    }
    lastRunsSeen_ = JournalFilesIn(ProductFolder, ownJournal);
    // After a rollback, also one an earlier start finished, the update goes on only when the user wants.
    if (askToGoOn && !AskYesNo(3003, false)) {
        Log(ept_Cancelled, AnsiString(), true);
        cancelled = true;
    }
    return true;
}

bool TForm1::LastRunsStillHold(bool &cancelled)
{
    const AnsiString changed = JournalChangedSince(lastRunsSeen_, JournalFilesIn(ProductFolder, JournalPath),
                                                   JournalPath, static_cast<size_t>(journalStart_));
    if (changed.empty())
        return true;
    Log(ept_Plain, "Файл отката изменился во время ожидания: " + changed, true);
    // Nothing has changed yet but this run's own lines: they go, and the check is made anew, now that
    // no other run can change anything until this one ends.
    if (!WithdrawJournal())
        return false;
    JournalSuspended = 1;
    if (!LastRunCheck(cancelled))
        return false;
    if (cancelled)
        return true;
    Log(ept_Plain, "Начало протоколирования (файл отката)", true);
    JournalSuspended = 0;
    return CheckStep(OpenJournal(), true);
}
