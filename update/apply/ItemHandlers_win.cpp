// The item handlers of the apply loop: each starts from files the loop prepared (the target's backup,
// the unpacked item), makes the new target and checks it against the item's record.
#include <cstdint>
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "update/apply/FileOps.h"
#include "update/apply/ItemHandlers.h"
#include "update/journal/JournalLine.h"
#include "update/patch/DbbRekey.h"
#include "update/payload/ChecksumFile.h"
#include "update/run/uMain.h"

namespace {

enum class FileCheck { Unreadable, Differs, Matches };

// Checks a file's size and checksum against two record entries; with `peSize` a size within one byte
// is accepted. The checksum's result stands on a line of its own, or with `sumOnSameLine` on the
// checksum line itself; the comparison's result stands on the comparison line. A sum already `known`
// (a backup's, computed as it was journaled) is taken instead of reading the file again.
FileCheck CheckFile(TRunLog &log, const AnsiString &file, uint32_t size, uint32_t sum, bool sumOnSameLine = false,
                    bool peSize = false, const TFileSum *known = nullptr)
{
    log.Log(ept_Checksum, file, true);
    TFileSum actual;
    const bool summed = known ? (actual = *known, true) : ChecksumFile(file, actual.Sum, actual.Size);
    if (!log.CheckStep(summed, !sumOnSameLine))
        return FileCheck::Unreadable;
    log.Log(ept_ChecksumCompare, file, true);
    const bool sizeOk = peSize ? PeOldSizeAccepted(actual.Size, size) : actual.Size == size;
    return log.CheckStep(sizeOk && actual.Sum == sum, false) ? FileCheck::Matches : FileCheck::Differs;
}

}  // namespace

bool TForm1::ApplyBinDiff(const TPartNfo &item, const AnsiString &target, const AnsiString &backup,
                          const AnsiString &work)
{
    if (CheckFile(*this, backup, item.Rec[PN_OldSize], item.Rec[PN_OldSum], false, false, JournaledBackupSum(backup)) !=
        FileCheck::Matches)
        return false;
    FileOpDelete(target);  // the patch writes it anew; a target that stays is replaced there
    Log(ept_Patch, target, true);
    if (!CheckStep(ApplyPatchMapped(backup, target, work), false))
        return false;
    const FileCheck result = CheckFile(*this, target, item.Rec[PN_NewSize], item.Rec[PN_NewSum]);
    if (result == FileCheck::Unreadable)
        return false;
    DeleteFileLogged(work);
    return result == FileCheck::Matches;
}

bool TForm1::ApplyDbbDiff(const TPartNfo &item, const AnsiString &target, const AnsiString &backup,
                          const AnsiString &work)
{
    if (CheckFile(*this, backup, item.Rec[PN_OldSize], item.Rec[PN_OldSum], false, false, JournaledBackupSum(backup)) !=
        FileCheck::Matches)
        return false;
    // The patch was made against the plain database: unscramble the old file, patch it, scramble the
    // result again with the same key.
    const AnsiString plain = work + "~";
    const int32_t key = DbbKeyForFile(backup);
    Log(ept_Unscramble, plain, true);
    if (key == NoDbbKey) {
        Log(ept_Exception, "Неизвестен ключ файла базы " + backup, true);
        return CheckStep(false, false);
    }
    if (!CheckStep(RekeyDbbFile(backup, plain, uint32_t(key), 0), false))
        return false;
    if (CheckFile(*this, plain, item.Rec[PN_PlainDbSize], item.Rec[PN_PlainDbSum]) == FileCheck::Unreadable)
        return false;
    FileOpDelete(target);  // as for a plain patch: Windows creates no file over a hidden one
    Log(ept_Patch, target, true);
    if (!CheckStep(ApplyPatchMapped(plain, target, work), false))
        return false;
    DeleteFileLogged(work);
    DeleteFileLogged(plain);
    Log(ept_Move, target + " в " + work, true);
    if (!CheckStep(FileOpRename(target, work), false))
        return false;
    if (CheckFile(*this, work, item.Rec[PN_PatchedDbSize], item.Rec[PN_PatchedDbSum], true) == FileCheck::Unreadable)
        return false;
    Log(ept_Rescramble, target, true);
    if (!CheckStep(RekeyDbbFile(work, target, 0, uint32_t(key)), true))
        return false;
    return CheckFile(*this, target, item.Rec[PN_NewSize], item.Rec[PN_NewSum], true) == FileCheck::Matches;
}

bool TForm1::ApplyPeDiff(const TPartNfo &item, uint8_t kind, const AnsiString &target, const AnsiString &backup,
                         const AnsiString &work)
{
    (void)backup;  // the old file is the target itself, moved aside
    if (!ItemForEdition(kind, item.Rec[PN_UnpackedSum], Cfg->Edition()))
        return true;
    const AnsiString old = work + "~";
    Log(ept_Move, target + " в " + old, true);
    if (!CheckStep(FileOpRename(target, old), false))
        return false;
    if (CheckFile(*this, old, item.Rec[PN_OldSize], item.Rec[PN_OldSum], false, true) != FileCheck::Matches)
        return false;
    Log(ept_Patch, target, true);
    if (!CheckStep(ApplyPatchMapped(old, target, work), false))
        return false;
    if (CheckFile(*this, target, item.Rec[PN_NewSize], item.Rec[PN_NewSum]) != FileCheck::Matches)
        return false;
    DeleteFileLogged(work);
    DeleteFileLogged(old);
    return true;
}

bool TForm1::ApplyAddRepL(const TPartNfo &item, const AnsiString &target, const AnsiString &backup,
                          const AnsiString &work)
{
    (void)backup;  // the backup was made by the loop; the new file replaces the target whole
    // A new file may come with new folders. Each is journaled before any is made, outermost first, and
    // the lines are on the disk before the first is made, so a rollback removes what this run created.
    // A file where a folder is to be is someone's: nothing is journaled or made for it, and it stays.
    const TMissingFolders missing = MissingFolders(target, FileGetAttr);
    if (!missing.FileInTheWay.empty()) {
        Log(ept_Plain, "Невозможно создать папку " + missing.FileInTheWay + ": с таким именем уже есть файл", true);
        return CheckStep(false, false);
    }
    if (!DeleteFileLogged(target, true))
        return false;
    const std::vector<AnsiString> &folders = missing.Folders;
    for (const AnsiString &folder : folders)
        if (!LogCmd(ejc_Created, CreatedFolderCommandText(folder)))
            return false;
    if (!folders.empty() && !FlushJournal())
        return false;
    for (const AnsiString &folder : folders) {
        if (!FileOpCreateFolder(folder)) {
            Log(ept_Exception, "Невозможно создать папку " + folder, true);
            return false;
        }
    }
    Log(ept_Move, work + " в " + target, true);
    if (!CheckStep(FileOpRename(work, target), false))
        return false;
    return CheckFile(*this, target, item.Rec[PN_NewSize], item.Rec[PN_NewSum]) == FileCheck::Matches;
}

bool TForm1::ApplyAddRepM(const TPartNfo &item, const AnsiString &target, const AnsiString &backup,
                          const AnsiString &work)
{
    if (!ItemForEdition(ADDREPM, item.Rec[PN_UnpackedSum], Cfg->Edition()))
        return true;  // another edition's file: it stays unpacked in the work folder
    return ApplyAddRepL(item, target, backup, work);
}
