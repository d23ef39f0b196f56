#pragma once
// Utilities around the compound file: finding the product's "CFG" folder, creating compound files,
// copying logical files between them, measuring and removing dead space, dumping a record file as
// text, finding a free logical file and cleaning file names. Names may be alias paths ("CFG#x.qmt").
// Failures are raised as ZError unless said otherwise; the folder search raises TZExcept.
#include <cstdint>

#include "base/files/PathParts.h"
#include "framework/runtime/AnsiString.h"

class WFile;

// ---- the product's folders -------------------------------------------------------------------
// The folder that holds the "CFG" folder, with a trailing backslash; set by FindCfgFolder, empty
// until a search has found one.
extern AnsiString ProductRootFolder;

// Where the product lives when no "CFG" folder is found above the program.
extern const char *const DefaultProductFolder;  // "E:\QMT3\"
extern const char *const DefaultCfgFolder;      // "E:\QMT3\CFG\"

// The configuration folder seen from the program's folder `programFolder` (`probe` tells whether a
// folder exists), with a trailing backslash: a "CFG" folder in the program's folder or the nearest
// ancestor; else the default folder when it exists; else "CFG" beside the program's folder. Sets
// ProductRootFolder to the folder that holds it. None of them: ProductRootFolder becomes empty and
// TZExcept "Отсутствует директория CFG" (code 0) is raised.
AnsiString FindCfgFolderFrom(const AnsiString &programFolder, FolderProbe probe, void *context);
// The same from the running program's folder over the real file system (Windows build).
AnsiString FindCfgFolder();

// ---- whole files ------------------------------------------------------------------------------
// Copies a whole file with the system's copy, replacing an existing target: the copy is made beside
// the target (its name + "$") and takes its place once whole and on the disk. A refusal raises the
// system error with the argument source + "=>" + target, a copy cut short ZError 5 with that argument
// (Windows build); either way the old target stays as it was.
void CopyFileChecked(const AnsiString &source, const AnsiString &target);

// Creates a compound file of `count` empty logical files (an existing file is replaced only when the
// user agrees); with a version text, logical file 0 then holds it.
void CreateCompoundFile(const AnsiString &name, uint32_t count, const char *versionText);
// Creates a file of the header {0, count} and `count` directory entries {0, 0}, for a writer that
// fills them in afterwards (an existing file is replaced only when the user agrees).
void WriteCompoundHeader(const AnsiString &name, uint32_t count);

// Checks that the file holds the header and n directory entries. With `count`, it receives the
// file's number of logical files (0 when even the header is incomplete) and the result is false.
// Without it, a file too short is reported with message 619 naming the file, and the result is true
// (only then).
bool ReadLogicalFileCount(const AnsiString &name, uint32_t n, uint32_t *count = nullptr);

// ---- logical files ----------------------------------------------------------------------------
// Replaces logical file m of target by a copy of logical file n of source (flags kept). A failure
// leaves target's logical file m as it was.
void CopyLogicalFile(WFile &source, WFile &target, uint32_t n, uint32_t m);
// Directory length of logical file n (8: empty).
uint32_t LogicalFileLength(WFile &file, uint32_t n);
// The first empty logical file from `first` on that is not `excluded`; none: ZError 0
// "Необходимо увеличить количество логических файлов".
uint32_t FindEmptyLogicalFile(WFile &file, uint32_t excluded, uint32_t first);

// ---- dead space -------------------------------------------------------------------------------
// The data area of an open compound file and the part of it that the directory covers.
struct DeadSpace {
    uint64_t area = 0;  // data end - 8 - 8N
    uint64_t used = 0;  // sum of the directory lengths
    uint64_t Dead() const { return used < area ? area - used : 0; }
    // 100 - used * 100 / area, truncated; 0 for an empty data area or a directory that claims more.
    int Percent() const;
};
DeadSpace MeasureDeadSpace(const WFile &file);

// Whether the file has no dead space. A failure is shown to the user and gives true (nothing to pack).
bool IsCompactFile(const AnsiString &name);
// The dead space in percent of the data area. A failure is shown to the user and gives 0.
int DeadSpacePercent(const AnsiString &name);

// Rewrites the file without dead space, deleted records and links when its dead space is at least
// `threshold` percent; true when it did. The packed copy is written beside the file (its name + "$"),
// made durable and then put in its place in one step: on any failure the file stays as it was and
// the copy is removed.
bool PackCompoundFile(const AnsiString &name, int threshold);

// ---- record files as text ---------------------------------------------------------------------
// One line of the dump: the record's data after its two-byte length prefix (empty when the record
// is shorter than the prefix), without the line end.
AnsiString DumpLine(const uint8_t *data, uint32_t length);
// Writes every record of the record file (the simple form) as one line of the text file, replacing
// an existing text file once the whole dump is written beside it (its name + "$"). A text file that
// is the record file itself is refused (ZError 0). On a failure the text file stays as it was.
void DumpLogicalFile(const AnsiString &recordFile, const AnsiString &textFile);

// ---- names ------------------------------------------------------------------------------------
// The file name without folder (after the last "\" or ":") and without its last extension.
AnsiString BareFileName(const AnsiString &path);
// The text with every character that a file name cannot or should not hold replaced by "-", and the
// Ukrainian letters є Є ї Ї replaced by e E i I.
AnsiString MakeSafeName(const AnsiString &text);
