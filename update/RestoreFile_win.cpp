// Restoring a file from its backup, as rollback uses it.
#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "update/ChecksumFile.h"
#include "update/FileOps.h"
#include "update/JournalLine.h"
#include "update/uMain.h"

namespace {

constexpr long CopyPiece = 1 << 20;

// Copies `source` over `target` (created with its folder when missing); false on any failure.
bool CopyOver(const AnsiString &source, const AnsiString &target)
{
    try {
        TFileStream in(source, fmOpenRead | fmShareDenyWrite);
        AnsiString folder = ExtractFilePath(target);
        if (!DirectoryExists(folder) && !FileOpCreateFolder(folder))
            return false;
        std::unique_ptr<TFileStream> out = FileOpCreate(target, fmShareDenyWrite);
        std::vector<char> buffer(CopyPiece);
        for (int64_t left = in.Size(); left > 0;) {
            long count = static_cast<long>(left < CopyPiece ? left : CopyPiece);
            in.ReadBuffer(buffer.data(), count);
            FileOpWrite(*out, target, buffer.data(), count);
            left -= count;
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool SameBytes(const AnsiString &a, const AnsiString &b)
{
    try {
        TFileStream fa(a, fmOpenRead | fmShareDenyWrite);
        TFileStream fb(b, fmOpenRead | fmShareDenyWrite);
        if (fa.Size() != fb.Size())
            return false;
        std::vector<char> ba(CopyPiece), bb(CopyPiece);
        for (int64_t left = fa.Size(); left > 0;) {
            long count = static_cast<long>(left < CopyPiece ? left : CopyPiece);
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

bool TForm1::RestoreFile(const AnsiString &backup, const AnsiString &target, uint32_t size, uint32_t checksum)
{
    Log(ept_Restore, target, true);
    Log(ept_ChecksumCompare, backup, true);
    uint32_t sum = 0;
    uint64_t bytes = 0;
    // A backup that is not what was saved would put wrong bytes into the installation.
    if (!CheckStep(ChecksumFile(backup, sum, bytes) && sum == checksum && bytes == size, false))
        return false;
    Log(ept_Copy, backup + " в " + target, true);
    if (!CheckStep(CopyOver(backup, target), false))
        return false;
    Log(ept_Compare, backup + " с " + target, true);
    return CheckStep(SameBytes(backup, target), false);
}
