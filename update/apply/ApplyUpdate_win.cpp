// The apply loop: each item of the payload is checked in the updater's file, unpacked into the work
// folder, its target backed up into the backup folder of the current data section, and handed to the
// handler of its type; then the configuration file is marked as updated, and an updated copy of the
// installation gets its desktop shortcut.
#include <set>
#include <string>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "framework/windows/Forms.h"
#include "update/apply/ApplyPlan.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/payload/Checksum.h"
#include "update/payload/Lzma86File.h"
#include "update/payload/Payload.h"
#include "update/run/uMain.h"
#include "update/variant/DesktopShortcut.h"
#include "update/variant/uSelKindUpdt.h"

namespace {

// The item's stream follows its type byte, its name and the name's framing.
constexpr uint64_t kItemHeaderBytes = 7;

}  // namespace

int TForm1::ProgressCallback(void *user, int phase, uint64_t value)
{
    auto *form = static_cast<TForm1 *>(user);
    if (phase == 0) {
        // The bar counts in ints: a size beyond them is shown in coarser steps.
        form->progressShift_ = 0;
        while ((value >> form->progressShift_) > 0x7FFFFFFF)
            ++form->progressShift_;
        form->Progress->SetMax(int(value >> form->progressShift_));
    } else {
        form->Progress->SetPosition(int(value >> form->progressShift_));
        form->Progress->ProcessMessages();
    }
    return 0;
}

void TForm1::MakeRunFolder(const AnsiString &folder)
{
    // Items share folders: one made (or found) for an earlier item is not looked for again.
    if (runFolders_.count(folder) == 0 && FileOpCreateFolder(folder))
        runFolders_.insert(folder);
}

bool TForm1::ApplyItem(const TPartNfo &item, TPayloadItems &payload)
{
    Log(ept_ChecksumCompare, SelfPath + "(" + item.Name + ")", true);
    // The item is read from the updater's file once: the bytes whose sum is checked are the bytes
    // unpacked.
    std::vector<uint8_t> bytes;
    if (!CheckStep(payload.Read(item, bytes) && AddChecksum(0, bytes.data(), bytes.size()) == item.Rec[PN_ItemSum],
                   false))
        return false;

    const AnsiString work = WorkPath(TempFolder, item.Name);
    MakeRunFolder(ExtractFilePath(work));
    const AnsiString target = (UpdateVariant == 1 ? CopyFolder : ProductFolder) + item.Name;
    const AnsiString backup = BackupPath(TempFolder, SectionNumber, item.Name);
    MakeRunFolder(ExtractFilePath(backup));

    Log(ept_Unpack, work, true);
    const size_t header = item.Name.size() + kItemHeaderBytes;
    if (!CheckStep(bytes.size() > header && DecompressMemoryLzma86(work, bytes.data() + header, bytes.size() - header,
                                                                   &TForm1::ProgressCallback, this) != 0,
                   false))
        return false;
    bytes = {};
    Log(ept_Plain, "...Обновление " + item.Name, true);
    // The handler changes the target. One that exists is backed up, and the backup and the journal line
    // naming it go to the disk first. A new target's line (rollback deletes the file) reaches the disk
    // with the next flush: nothing that existed before the run is at stake in it.
    if (item.Type <= ADDREPM) {
        const bool existed = FileExists(target);
        if (!CheckStep(CopyFileJournaled(target, backup, false, true), false) || (existed && !FlushJournal()))
            return false;
    }

    switch (item.Type) {
    case BINDIFF: return ApplyBinDiff(item, target, backup, work);
    case DBBDIFF: return ApplyDbbDiff(item, target, backup, work);
    case PE1DIFF:
    case PE2DIFF: return ApplyPeDiff(item, item.Type, target, backup, work);
    case ADDREPL: return ApplyAddRepL(item, target, backup, work);
    case ADDREPM: return ApplyAddRepM(item, target, backup, work);
    default: Log(ept_Exception, "Неизвестный тип файла в обновлении", true); return false;
    }
}

bool TForm1::ApplyUpdate()
{
    PnStatus->Show();
    runFolders_.clear();
    const AnsiString tooLong =
        FirstPathTooLong(Items, TempFolder, UpdateVariant == 1 ? CopyFolder : ProductFolder, SectionNumber);
    if (!tooLong.empty()) {
        Log(ept_Exception, "Путь длиннее " + std::to_string(MaxOpenPathLength) + " символов: " + tooLong, true);
        return false;
    }
    TPayloadItems payload(SelfPath);  // open for the whole loop
    for (size_t i = 0; i < Items.size(); ++i) {
        const TPartNfo &item = Items[i];
        PnStatus->SetCaption(std::to_string(i + 1) + " из " + std::to_string(ItemCount));
        if (item.Type == SECTION) {
            Log(ept_Skip, std::to_string(i + 1) + ". Секция с данными №" + std::to_string(SectionNumber + 1), true);
            ++SectionNumber;
            continue;
        }
        if (!ApplyItem(item, payload))
            return false;
    }
    if (!UpdateConfigFile())
        return false;
    if (Correction || UpdateVariant != 1) {
        PnStatus->Hide();
        return true;
    }
    Log(ept_Plain, "Компиляция путей", true);
    if (!CheckStep(CompilePaths(), true))
        return false;
    Log(ept_Plain, "Очистка usekls.qmt (старые маршруты)", true);
    if (!CheckStep(ClearOldRoutes(), true))
        return false;
    Log(ept_Plain, "Создание ярлыка", true);
    if (!CheckStep(CreateProductShortcut(), true))
        return false;
    PnStatus->Hide();
    return true;
}

bool TForm1::CompilePaths() { return true; }

bool TForm1::ClearOldRoutes() { return true; }

bool TForm1::CreateProductShortcut()
{
    // The name the user gave the shortcut in the variant dialog (the copy's name unless changed there).
    const AnsiString name = ShortcutFileName(Frm_SelKU ? Frm_SelKU->ShortcutName : AnsiString(), NewVersion);
    // The link lies outside the copy: what a rollback of the run must undo there is journaled, and the
    // lines are on the disk, before the link is saved. A new link is journaled as a file the run
    // creates, which the rollback removes with the copy. A file that already bears the name (a user's,
    // or the shortcut of an earlier copy) is backed up and journaled as a changed file, which the
    // rollback puts back as it was, attributes included; the link is then saved over it, as the user
    // asked. Once the journal holds the end the link is there, whatever stops the run afterwards.
    // Nothing is saved when a line or the backup cannot be made, nor where a folder has the name,
    // which the shell cannot save over.
    AnsiString usersFile;  // a file of the link's name whose attributes were cleared for the save
    int usersAttributes = 0;
    auto prepareLink = [&](const AnsiString &link) {
        if (DirectoryExists(link))
            return false;
        const bool existed = FileExists(link);
        if (!CopyFileJournaled(link, ShortcutBackupPath(TempFolder, ExtractFileName(link)), false, true) ||
            !FlushJournal())
            return false;
        if (!existed)
            return true;
        // The shell writes the link over the file only when it is neither read-only, hidden nor system.
        usersAttributes = FileGetAttr(link);
        usersFile = link;
        return FileOpSetAttributes(link, usersAttributes & faArchive);
    };
    bool saved = false;
    // Only a desktop that cannot be found fails the step; a link that could not be saved leaves the
    // finished copy as it is, and the protocol says so.
    const bool found = CreateDesktopShortcut(CopyFolder + "EXE\\qmt.exe", name, CopyFolder, &saved, prepareLink);
    // A file the link was not saved over stays the user's as it was, its attributes too.
    if (!saved && !usersFile.empty() && !FileOpSetAttributes(usersFile, usersAttributes))
        Log(ept_Exception, "Не удалось вернуть атрибуты файла " + usersFile, true);
    if (!found)
        return false;
    if (!saved)
        Log(ept_Exception, "Ярлык на рабочем столе не сохранен: " + name, true);
    return true;
}
