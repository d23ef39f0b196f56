// The journaled copy and its companions: the copy with progress and the byte-wise comparison. A copy
// that rollback must be able to undo is journaled before the engine goes on to change what it protects.
#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/windows/Forms.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/ApplyPlan.h"
#include "update/payload/ChecksumFile.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/apply/JournaledCopy.h"
#include "update/run/MsgBoxes.h"
#include "update/run/uMain.h"

namespace {

// Bytes moved per system call; a tenth of a large file is copied in several.
constexpr uint64_t kCopyBuffer = 1u << 20;

bool CopyPiece(TFileStream &in, TFileStream &out, const AnsiString &outName, uint64_t count, std::vector<char> &buffer)
{
    while (count > 0) {
        const long n = long(std::min<uint64_t>(count, buffer.size()));
        if (in.Read(buffer.data(), n) != n)
            return false;
        FileOpWrite(out, outName, buffer.data(), n);
        count -= uint64_t(n);
    }
    return true;
}

// The buffers of the copy and the comparison, made once and kept for every file after: a buffer made
// afresh for each file cost the system more (fresh pages cleared and mapped) than the copy of a small
// file. The engine copies and compares on one thread.
std::vector<char> &Buffer(int which)
{
    static std::vector<char> buffers[2] = {std::vector<char>(kCopyBuffer), std::vector<char>(kCopyBuffer)};
    return buffers[which];
}

bool ReadWhole(TFileStream &file, char *buffer, uint64_t count)
{
    while (count > 0) {
        const long n = file.Read(buffer, long(std::min<uint64_t>(count, kCopyBuffer)));
        if (n <= 0)
            return false;
        buffer += n;
        count -= uint64_t(n);
    }
    return true;
}

}  // namespace

bool CopyStreamProgress(const AnsiString &source, const AnsiString &destination, TProgressPace &progress,
                        bool failIfExists, bool flush)
{
    if (FileExists(destination) && (failIfExists || !FileOpDeleteOwn(destination)))
        return false;
    try {
        TFileStream in(source, fmOpenRead | fmShareDenyWrite);
        const AnsiString folder = ExtractFilePath(destination);
        if (!folder.empty() && !DirectoryExists(folder) && !FileOpCreateFolder(folder))
            return false;
        const auto out = FileOpCreate(destination, fmShareDenyWrite);
        const std::vector<uint64_t> pieces = CopyPieces(uint64_t(in.Size()));
        progress.SetMax(11);
        if (pieces.size() > 1)
            progress.ProcessMessages();
        std::vector<char> &buffer = Buffer(0);
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (!CopyPiece(in, *out, destination, pieces[i], buffer))
                return false;
            if (i + 1 < pieces.size())
                progress.StepIt();
        }
        progress.SetPosition(progress.Max());
        return !flush || FileOpFlush(*out);
    } catch (const Exception &) {
        return false;
    }
}

bool TForm1::CompareFiles(const AnsiString &a, const AnsiString &b)
{
    Log(ept_Compare, a + " с " + b, true);
    bool unreadable = false;
    bool equal = false;
    try {
        TFileStream fa(a, fmOpenRead | fmShareDenyWrite);
        TFileStream fb(b, fmOpenRead | fmShareDenyWrite);
        const long long size = fa.Size();
        if (size != fb.Size()) {
            unreadable = true;
        } else {
            const TCompareBlocks plan = CompareBlocks(uint64_t(size));
            Progress->SetMax(int(std::min<uint64_t>(plan.Count + 1, 1u << 30)));
            // The files are read in pieces of up to a buffer, not block by block: 1% of a small file is a
            // read of a few bytes, and a system call per block cost more than the comparison. The
            // progress still steps once per block compared.
            std::vector<char> &ba = Buffer(0), &bb = Buffer(1);
            equal = true;
            uint64_t left = uint64_t(size), compared = 0, steps = 0;
            while (equal && left > 0) {
                const uint64_t n = std::min<uint64_t>(left, ba.size());
                if (!ReadWhole(fa, ba.data(), n) || !ReadWhole(fb, bb.data(), n)) {
                    unreadable = true;
                    equal = false;
                    break;
                }
                equal = std::equal(ba.begin(), ba.begin() + long(n), bb.begin());
                left -= n;
                compared += n;
                for (; equal && steps < plan.Count && compared >= (steps + 1) * plan.Block; ++steps)
                    Progress->StepIt();
            }
            Progress->SetPosition(Progress->Max());
        }
    } catch (const Exception &) {
        unreadable = true;
    }
    if (unreadable) {
        LogAndShowError(5011, {a + "\n" + b, "\"Сравнение файлов\""});
        return false;
    }
    return equal;
}

const TFileSum *TForm1::JournaledBackupSum(const AnsiString &backup) const
{
    return !journaledBackup_.empty() && backup == journaledBackup_ ? &journaledBackupSum_ : nullptr;
}

bool TForm1::CopyFileJournaled(const AnsiString &source, const AnsiString &destination, bool force, bool once)
{
    if (once) {
        if (!HandledFiles) {  // a window whose creation step has not run yet
            HandledFiles = new TStringList;
            HandledFiles->SetSorted(true);
            HandledFiles->SetDuplicates(dupIgnore);
        }
        if (HandledFiles->IndexOf(destination) >= 0)
            return true;
        HandledFiles->Add(destination);
    }
    if (destination == journaledBackup_)
        journaledBackup_.clear();  // about to be written again
    const bool sourceIsFile = FileExists(source);
    const bool sourceIsFolder = !sourceIsFile && DirectoryExists(source);
    if (!force && sourceIsFolder)
        return false;  // a product folder is never a backup's source: no handler may meet a folder
    if (!force && !sourceIsFile)
        // A target that does not exist yet: rollback deletes the file the run is about to create.
        return LogCmd(ejc_Created, CreatedCommandText(source, 0, 0));
    if (force && !LogCmd(ejc_Created, CreatedCommandText(destination, 0, 0)))
        return false;  // rollback could not remove the copy: do not make it

    if (!force)
        Log(ept_Backup, source, true);
    Log(ept_Copy, source + " в " + destination, true);
    // A backup is on the disk before its command 6 is: rollback trusts what that command names. The
    // files of a copy need no flush of their own; rollback removes the copy whole.
    const bool copied = sourceIsFile ? CopyStreamProgress(source, destination, *Progress, false, !force)
                                     : FileOpCreateFolder(destination);
    if (!CheckStep(copied, false))
        return false;
    uint32_t sum = 0;
    uint64_t size = 0;
    if (!force) {
        Log(ept_Checksum, destination, true);
        if (!CheckStep(ChecksumFile(destination, sum, size), false))
            return false;
    }
    if (!sourceIsFile)
        return true;
    const bool same = CompareFiles(source, destination);
    if (force)
        return same;
    // The backup keeps the file's attributes for the restore to give back; they are set before the
    // command names the backup.
    if (same && !FileOpSetAttributes(destination, FileGetAttr(source))) {
        Log(ept_Exception, "Не удалось задать атрибуты копии " + destination, true);
        return false;
    }
    if (same) {
        journaledBackup_ = destination;
        journaledBackupSum_ = TFileSum{sum, size};
        return LogCmd(ejc_Backup, BackupCommandText(source, destination, sum, size));
    }
    LogCmd(ejc_Created, CreatedCommandText(destination, sum, size));
    return false;
}
