// The run: one synchronous pass from the self-check to the offer to start the product, performed by
// the main window's first activation. Every step ends through CheckStep; the first failure ends the run.
#include <exception>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/ApplyPlan.h"
#include "update/apply/FileOps.h"
#include "update/journal/Journal.h"
#include "update/journal/JournalLine.h"
#include "update/run/MsgBoxes.h"
#include "update/run/uMain.h"
#include "update/variant/uSelKindUpdt.h"

void TForm1::FormActivate(TObject *)
{
    if (RunStarted)
        return;
    RunStarted = 1;
    JournalSuspended = 1;
    RunFinished = 0;
    bool cancelled = false;
    bool success = RunSteps(cancelled);
    FinishRun(success, cancelled);
}

bool TForm1::InitRun()
{
    UpdateVariant = -1;
    Log(ept_Plain, "Самопроверка", true);
    if (!CheckStep(ReadUpdatePayload(SelfPath), true))
        return false;
    Log(ept_Plain, "Проверка нескольких копий", true);
    if (!CheckStep(CheckSeveralCopies(), false))
        return false;
    Log(ept_Plain, "Инициализация данных", true);
    if (!CheckStep(InitData(), false)) {
        LogAndShowError(5015);
        return false;
    }
    return true;
}

// A correction is applied in place; any other update goes to a copy of the installation that the
// variant dialog makes, or nowhere when the user cancels there.
bool TForm1::ChooseUpdateVariant(bool &cancelled)
{
    const AnsiString copyName = ProductCopyName(NewVersion);
    if (!Frm_SelKU)
        Application->CreateForm(Frm_SelKU);
    Frm_SelKU->PayloadItems = &Items;
    Frm_SelKU->JournalPath = JournalPath;
    Frm_SelKU->Log = [this](int8_t index, const AnsiString &text, bool newLine) { return Log(index, text, newLine); };
    Frm_SelKU->LogCmd = [this](int32_t code, const AnsiString &text) { return LogCmd(code, text); };
    Frm_SelKU->FlushJournal = [this] { return FlushJournal(); };
    UpdateVariant = 1;
    Log(ept_Plain, "Выбор варианта обновления", true);

    int result = SelKU_InPlace;
    if (Correction) {
        Log(ept_Plain, "...ОБНОВЛЕНИЕ ВЫПОЛНЯЕТСЯ В РЕЖИМЕ ИСПРАВЛЕНИЯ", true);
    } else {
        Log(ept_Plain, "Выбор варианта обновления", true);
        protocol_->ShowWaiting();
        result = Frm_SelKU->Execute(
            copyName, Growth, TempBytesNeeded, ProductFolder,
            [this](uint64_t c, uint64_t b, char &drive) { return ScanDrives(c, b, drive); },
            [this](const AnsiString &source, const AnsiString &destination, bool force, bool once) {
                return CopyFileJournaled(source, destination, force, once);
            });
        Frm_SelKU->SetEnabled(false);
    }

    switch (result) {
    case SelKU_Copied:
        UpdateVariant = 1;
        CopyFolder = Frm_SelKU->NewRoot;
        return true;
    case SelKU_InPlace: UpdateVariant = 0; return true;
    case SelKU_Cancelled:
        Log(ept_Cancelled, AnsiString(), true);
        cancelled = true;
        CloseJournal();
        DeleteFileLogged(JournalPath);
        return true;
    default: return CheckStep(false, false);
    }
}

void TForm1::DropJournal()
{
    CloseJournal();
    if (!FileOpDelete(JournalPath))
        Log(ept_Plain, "Не удалось удалить файл отката " + JournalPath, true);
}

bool TForm1::RunSteps(bool &cancelled)
{
    Log(ept_Plain, "...Инициализация", true);
    if (!CheckStep(InitRun(), true))
        return false;

    if (!LastRunCheck(cancelled))
        return false;
    if (cancelled)
        return true;  // rolled back, and the user wants no update now

    Log(ept_Plain, "Начало протоколирования (файл отката)", true);
    JournalSuspended = 0;
    if (!CheckStep(OpenJournal(), true))
        return false;

    // Until the version check nothing is changed: a refusal takes its journal away, or the next start
    // would offer to undo nothing.
    Log(ept_Plain, "...проверка наличия QMT.EXE", true);
    if (!CheckStep(FindProductExe(false, false), true)) {
        Log(ept_Plain, "Не удалось найти QMT.EXE", true);
        DropJournal();
        return false;
    }

    Log(ept_Plain, "Проверка наличия QMT.EXE в памяти", true);
    if (!CheckStep(!WaitProductClosed(0), false)) {
        Log(ept_Plain, "ЦМТ запущена. Недопустимо.", true);
        DropJournal();
        return false;
    }
    // From here on the run changes things, and another updater of this product waits here until it has
    // ended: what the check of earlier runs found must still hold now.
    if (!LastRunsStillHold(cancelled))
        return false;
    if (cancelled)
        return true;

    Log(ept_Plain, "...проверка соответствия QMT.EXE", true);
    if (!CheckStep(CheckVersion(), true)) {
        DropJournal();
        return false;
    }

    if (!ChooseUpdateVariant(cancelled))
        return false;
    if (cancelled)
        return true;

    Log(ept_Plain, "...проверка - набор файлов обновления", true);
    if (!CheckStep(CheckFreeSpace(), true))
        return false;

    Log(ept_Plain, "Папка для временных файлов", true);
    ClearFolder(TempFolder, false);
    FileOpCreateFolder(TempFolder);
    Log(ept_Plain, TempFolder, true);

    Log(ept_Plain, "...Выполнение обновления", true);
    if (!CheckStep(ApplyUpdate(), true))
        return false;  // the journal stays for the next start's rollback
    Log(ept_Plain, "", true);
    // The end line: everything the run makes, the copy's shortcut included, is made before it.
    CloseJournal();
    if (!EndRun())
        return false;
    Log(ept_Plain, "Программа выполнена успешно", true);
    return true;
}

// The journal, ended, names the temporary folder until that is gone, and goes last: a run stopped on
// the way leaves the next start a finished journal to tidy up after, never a folder nothing names.
// One left behind would also have the next start ask to roll back a finished run.
bool TForm1::EndRun()
{
    const AnsiString left = RemoveJournaledTempFolders(TempFolder);
    if (!left.empty()) {
        Log(ept_Plain, "Временная папка не удалена, она будет удалена при следующем запуске: " + left, true);
        return true;
    }
    return DeleteFileLogged(JournalPath);
}

void TForm1::FinishRun(bool success, bool cancelled)
{
    RunFinished = 1;
    Progress->Show();
    protocol_->ShowWaiting();  // every line goes into the file
    Pn_Exit->Show();

    AnsiString protocolFile = !JournalPath.empty()
                                  ? ExtractFilePath(JournalPath) + "Протокол_" + ExtractFileName(JournalPath)
                                  : ExtractFilePath(SelfPath) + "Протокол.txt";
    // A failure leaves the run's outcome standing; only the copy of the protocol on disk is missing.
    Guarded(
        [&] {
            LsBx_Prot->Items()->SaveToFile(protocolFile);
            protocol_->Add("Техническая информация о проведенных действиях сохранена в: ");
            protocol_->Add(protocolFile);
            return true;
        },
        " ");
    // The window shows every line, the file's path last, selected and in view, before the run waits for
    // the user: the user whose run failed needs that path most, and no question comes to show it.
    protocol_->ShowWaiting();
    LsBx_Prot->SetItemIndex(LsBx_Prot->Items()->Count() - 1);

    if (!cancelled && success && AskYesNo(3009, true)) {
        ProductMutex[0].Close();
        ProductMutex[1].Close();
        StartProduct();
    }
}
