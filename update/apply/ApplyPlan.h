#pragma once
// The pure rules of the apply loop and the journaled copy: where an item's files go, the journal
// texts of a copy, how a copy and a comparison are cut into progress steps, and the configuration
// change as edits of the file's bytes.
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "update/payload/PartNfo.h"

// T + "WRK\" + name: the unpacked item.
AnsiString WorkPath(const AnsiString &tempFolder, const AnsiString &name);
// T + "BAK" + section + "\" + name: the backup of the item's target in the current data section.
AnsiString BackupPath(const AnsiString &tempFolder, uint32_t section, const AnsiString &name);
// T + "LNK\" + link name: the backup of a file the copy's desktop shortcut is saved over.
AnsiString ShortcutBackupPath(const AnsiString &tempFolder, const AnsiString &linkName);
// Whether `backup` is such a backup of the run whose temporary folder is `tempFolder`.
bool IsShortcutBackup(const AnsiString &backup, const AnsiString &tempFolder);

// The longest path the system opens: 259 characters; one of 260 is refused (the base library's file
// classes keep the same limit). Checked by the engine itself, since some systems open longer ones.
constexpr size_t MaxOpenPathLength = 259;
// The first path the apply loop would use for `items` that is longer than MaxOpenPathLength: each
// item's target in `targetFolder`, its backup in the backup folder of its section (counted from
// `section`), its unpacked item and that item's "~" companion; "" when every path fits. Checked before
// the loop changes anything, so an update that cannot be applied whole is not begun.
AnsiString FirstPathTooLong(const TPartList &items, const AnsiString &tempFolder, const AnsiString &targetFolder,
                            uint32_t section);

// Command 6: source + "<" + backup + checksum + size of the backup (ten digits each).
AnsiString BackupCommandText(const AnsiString &source, const AnsiString &backup, uint32_t sum, uint64_t size);
// Command 9: "z<" + the path rollback deletes + checksum + size.
AnsiString CreatedCommandText(const AnsiString &path, uint32_t sum, uint64_t size);

// Piece sizes of a copy: ten pieces of size div 10 and the rest, or the whole file in one piece
// when it is smaller than ten bytes (an empty file gives one empty piece).
std::vector<uint64_t> CopyPieces(uint64_t size);

// A comparison reads blocks of 1% of the size (the whole size when that is 0) and then the rest.
struct TCompareBlocks {
    uint64_t Block = 0;
    uint64_t Count = 0;
    uint64_t Rest = 0;
};
TCompareBlocks CompareBlocks(uint64_t size);

// One edit of the configuration file: `Bytes` written at `Offset`.
struct TCfgEdit {
    uint32_t Offset = 0;
    std::vector<uint8_t> Bytes;
};
// The edits that mark the configuration file `current` (its first bytes, zero where the file is
// shorter) as updated to `newVersion`: the version numbers with their NUL at byte 38, cut to fit the
// version field; 0x9C600 added to the flags at byte 0; the update flag sets at bytes 147 and 151; 26
// at byte 197. Nothing else of the file is touched.
std::vector<TCfgEdit> ConfigChangeEdits(const std::vector<uint8_t> &current, const AnsiString &newVersion);
// Bytes of the file the edits need to read: the end of the last field they change.
constexpr uint32_t ConfigChangeSpan = 201;

// Name of a copy of the installation: "QMT5_" + the new version without its dots.
AnsiString ProductCopyName(const AnsiString &newVersion);
// File name of the desktop shortcut: the name the user gave it, with characters a file name cannot
// hold turned into "_", or the copy's name when none was given; ".LNK" appended.
AnsiString ShortcutFileName(const AnsiString &given, const AnsiString &newVersion);
