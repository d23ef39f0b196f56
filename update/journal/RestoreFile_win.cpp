// Restoring a file from its backup, as rollback uses it.
#include <algorithm>
#include <exception>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "update/payload/ChecksumFile.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/apply/JournaledCopy.h"
#include "update/journal/UndoCommand.h"
#include "update/run/uMain.h"

namespace {

constexpr long ComparePiece = 1 << 20;

// Whether both files hold the same bytes; false when either cannot be read. Silent: a target that is
// missing or locked only means it must be copied back.
bool SameBytes(const AnsiString &a, const AnsiString &b)
{
    try {
        TFileStream fa(a, fmOpenRead | fmShareDenyWrite);
        TFileStream fb(b, fmOpenRead | fmShareDenyWrite);
        if (fa.Size() != fb.Size())
            return false;
        std::vector<char> ba(ComparePiece), bb(ComparePiece);
        for (int64_t left = fa.Size(); left > 0;) {
            long count = static_cast<long>(left < ComparePiece ? left : ComparePiece);
            fa.ReadBuffer(ba.data(), count);
            fb.ReadBuffer(bb.data(), count);
            if (!std::equal(ba.begin(), ba.begin() + count, bb.begin()))
                return false;
            left -= count;
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

}  // namespace

// The backup carries the attributes its file had before the run (hidden, read-only, system,
// archive): the restored file gets them back, also when its bytes needed no copy (a rollback stopped
// after copying them back).
bool TForm1::RestoreAttributes(const AnsiString &backup, const AnsiString &target)
{
    const int attributes = FileGetAttr(backup);
    if (attributes != -1 && FileOpSetAttributes(target, attributes))
        return true;
    Log(ept_Exception, "Не удалось восстановить атрибуты файла " + target, true);
    return false;
}

bool TForm1::RestoreFile(const AnsiString &backup, const AnsiString &target, uint32_t size, uint32_t checksum)
{
    Log(ept_Restore, target, true);
    Log(ept_ChecksumCompare, backup, true);
    uint32_t sum = 0;
    uint64_t bytes = 0;
    // A backup that is not what was saved would put wrong bytes into the installation.
    if (!CheckStep(ChecksumFile(backup, sum, bytes) && BackupAsJournaled(sum, bytes, checksum, size), false))
        return false;
    // A target the run had not changed yet (or a rollback stopped after copying it back) stays as it is.
    // Only its bytes tell: a change that moves aligned words keeps both the size and the sum.
    if (FileExists(target) && SameBytes(backup, target)) {
        Log(ept_Plain, "Файл не изменялся, восстановление не требуется: " + target, true);
        return RestoreAttributes(backup, target);
    }
    Log(ept_Copy, backup + " в " + target, true);
    // The copy deletes the target first; Windows deletes a hidden or system file as it is, but neither
    // deletes nor writes over a read-only one.
    const int attributes = FileGetAttr(target);
    const bool writable = attributes == -1 || (attributes & faReadOnly) == 0 || FileOpClearReadOnly(target);
    if (!CheckStep(writable && CopyStreamProgress(backup, target, *Progress, false), false))
        return false;
    return CheckStep(CompareFiles(backup, target), false) && RestoreAttributes(backup, target);
}
