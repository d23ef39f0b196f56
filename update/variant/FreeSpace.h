#pragma once
// Room for the update: the product's drive must take the product's growth, and the work files and
// backups need a temporary folder: inside the product folder when its drive has room for both, else
// on the fastest other fixed drive with room, else in a folder the user picks. Every size and free
// figure is 64-bit, so large drives and installations neither wrap nor sort wrongly.
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"

class TRunLog;

// Temporary folders: in the product folder, in the root of another drive (after "X:\"), and inside a
// folder the user picked.
extern const char *const ProductTempFolderName;  // "QMTUPDTA.TMP\"
extern const char *const DriveTempFolderName;    // "QMTUPDT.TMP\"
extern const char *const PickedTempFolderName;   // "QMTUPDTM.TMP\"
// The file the speed test writes in a drive's root.
extern const char *const SpeedTestFileName;  // "~qmttmp.tmp"

// Whether a folder is one of the places other installations' runs share: a drive's QMTUPDT.TMP or a
// picked folder's QMTUPDTM.TMP (the folder itself, not one inside it). Earlier builds took such a
// place as a run's own temporary folder; their journals name it so.
bool IsSharedTempFolder(const AnsiString &folder);

// The temporary folder of one run inside a shared place: a folder of the run's own ("RUN" and eight
// hexadecimal digits, after the run's journal, with trailing "\"), the first of that form that no
// entry bears yet (a folder or a file), so that no run ever clears what another keeps there.
AnsiString RunTempFolder(const AnsiString &shared, const AnsiString &journalPath,
                         const std::function<bool(const AnsiString &folder)> &exists);

// Whether a folder in a shared place is one a run of an earlier build made there for itself (its work
// folder "WRK", a backup folder "BAK" + section number, its shortcut's backup folder "LNK").
bool EarlierRunsEntry(const AnsiString &name);

constexpr uint32_t DelayNotMeasured = 0xFFFFFFFF;

// One fixed drive that passed the speed test.
struct sDskNfo {
    char Drive = 0;                     // 'A' to 'Z'
    uint64_t Free = 0;                  // bytes available to the caller
    uint32_t Delay = DelayNotMeasured;  // the speed test's time, see SpeedTestDelay
};

// 1 when a has more free bytes than b, else 0.
int CompareDiskNfo(const sDskNfo &a, const sDskNfo &b);

// The speed test's time as the protocol shows it: minutes, seconds and milliseconds written with
// two, two and three digits in a row and read as one number (1 min 2.345 s gives 102345).
uint32_t SpeedTestDelay(uint64_t elapsedMilliseconds);

// The drives as the scan sees them; tests put in made-up drives.
class IDriveQueries {
public:
    virtual ~IDriveQueries() = default;
    // Bit 0 for A:, bit 1 for B: ...
    virtual uint32_t LogicalDriveMask() = 0;
    // The Windows folder, "" when unknown.
    virtual AnsiString WindowsFolder() = 0;
    virtual bool IsFixedDrive(const AnsiString &root) = 0;
    // Bytes available to the caller on the volume of `folder`; 0 when the system cannot tell.
    virtual uint64_t FreeBytes(const AnsiString &folder) = 0;
    // The speed test of a drive's root ("X:\"); on success `info` holds the measured delay.
    virtual bool TestSpeed(const AnsiString &root, sDskNfo &info) = 0;
};

// Picks a fixed drive for temporary files: a drive qualifies when it passes the speed test and has
// room (C + B on the product's drive, B on any other). Among several, sorted by free bytes ascending,
// the fastest not on the Windows drive wins (the first of equal delays, so the one with fewer free
// bytes); the Windows drive only when it is the single candidate. False when none qualifies.
bool PickTempDrive(uint64_t C, uint64_t B, const AnsiString &productFolder, IDriveQueries &drives, TRunLog &log,
                   char &drive);

// The free bytes a folder the user picked must have: B, plus C when it is on the product's drive.
uint64_t PickedFolderNeed(const AnsiString &folder, uint64_t C, uint64_t B, char productDrive);

// What choosing a folder with room asks of the user and the system.
struct TFolderChoice {
    // The folder browser; true with a path when the user chose a folder, false when cancelled.
    std::function<bool(const AnsiString &title, AnsiString &path)> Browse;
    std::function<uint64_t(const AnsiString &folder)> FreeBytes;
    // The "not enough room, go on choosing?" question; true for Yes.
    std::function<bool(uint64_t free, uint64_t need)> AskChooseAgain;
};

// The user's choice of a folder (with trailing "\") that has the room PickedFolderNeed asks for;
// empty when the user gives up.
AnsiString ChooseFolderWithSpace(const AnsiString &title, uint64_t C, uint64_t B, char productDrive,
                                 const TFolderChoice &choice);

// What the free-space step needs from the run.
struct TFreeSpaceSteps {
    std::function<uint64_t(const AnsiString &folder)> FreeBytes;
    // Removes a temporary folder left from earlier (see RemoveTempFolder).
    std::function<void(const AnsiString &folder)> RemoveTempFolder;
    // The run's own folder inside a shared place (see RunTempFolder).
    std::function<AnsiString(const AnsiString &shared)> RunFolderIn;
    std::function<bool(uint64_t C, uint64_t B, char &drive)> ScanDrives;
    std::function<AnsiString(const AnsiString &title, uint64_t C, uint64_t B, char productDrive)> ChooseFolder;
    std::function<bool(int32_t code, const AnsiString &text)> LogCmd;
};

// The free-space step: C (the product folder's growth) must fit the product's drive; then the
// temporary folder is chosen, `tempFolder` set and journaled (command 8): the product folder's own
// QMTUPDTA.TMP, or the run's own folder inside a drive's or a picked folder's shared place. A temporary folder left from
// earlier is cleared and removed first. After problems of the last run no drive is scanned: the user
// picks. False when C does not fit, when no place is found, or when the choice cannot be journaled
// (a folder rollback would not know of must not be made).
bool CheckFreeSpace(const AnsiString &productFolder, uint64_t C, uint64_t B, bool lastRunProblems,
                    AnsiString &tempFolder, TRunLog &log, const TFreeSpaceSteps &steps);

// ---- over the real system (Windows build) ----------------------------------------------------

// The drives of this computer; the speed test of each drive is TestDiskSpeed with this log.
class TSystemDrives : public IDriveQueries {
public:
    explicit TSystemDrives(TRunLog &log) : log_(log) {}
    uint32_t LogicalDriveMask() override;
    AnsiString WindowsFolder() override;
    bool IsFixedDrive(const AnsiString &root) override;
    uint64_t FreeBytes(const AnsiString &folder) override;
    bool TestSpeed(const AnsiString &root, sDskNfo &info) override;

private:
    TRunLog &log_;
};

// Bytes available to the caller on the volume of `folder`; 0 when the system cannot tell.
uint64_t FreeBytesOf(const AnsiString &folder);

// Writes and cuts SpeedTestFileName in the root 2048 times and measures how long that takes. False
// (and no delay) when the file cannot be written; the file is removed either way.
bool TestDiskSpeed(const AnsiString &root, TRunLog &log, sDskNfo &info);

// ChooseFolderWithSpace over the shell's folder browser (rooted at the computer's drives) and
// question 3005.
AnsiString ChooseFolderWithSpace(const AnsiString &title, uint64_t C, uint64_t B, char productDrive);

// Empties a folder tree, logging each file and folder removed, and removes the folder itself when
// `remove` is set; a missing folder is created (with its parents) unless `remove` is set. Failures
// show only in the protocol: a phase's result line reports failure when any removal of it failed. The
// folders it clears are the engine's own: hidden and system files go as well, read-only ones are made
// writable first.
void ClearFolder(const AnsiString &folder, bool remove, TRunLog &log);

// Removes a run's temporary folder with everything in it, and then the shared place it lies in when
// that holds nothing more. A journal of an earlier build may name a shared place itself: then only what
// such a run made there goes (EarlierRunsEntry), and other runs' folders stay. True when nothing of the
// run's is left.
bool RemoveTempFolder(const AnsiString &folder, TRunLog &log);
