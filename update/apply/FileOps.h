#pragma once
// Every change the engine makes to files (creating, writing, deleting, renaming, folders, writable
// mappings, attributes, journal lines, flushes to the disk) passes one gate first. In a run the gate
// is open and costs nothing. A test installs a gate that either stops the engine at its N-th operation
// as if the program had been killed there (nothing after that point runs, no failure path, no finish,
// and the files stay as they are), or makes an operation fail as the system would, with a system
// error, so that the engine takes its own failure path.
#include <cstdint>
#include <memory>

#include "framework/runtime/AnsiString.h"

class TStream;
class TFileStream;
class TFileMapping;

enum class TFileOp : uint8_t {
    Create,  // a file is created or emptied
    Write,   // bytes are written to a file (one call per piece)
    Resize,  // a file is cut or extended
    Delete,
    Rename,
    CreateFolder,  // with every missing parent
    RemoveFolder,
    Map,           // a writable mapping of a file
    JournalWrite,  // one line of the rollback journal
    Flush,         // a file's bytes written through to the disk
    Attributes,    // a file's attributes changed (its read-only flag cleared, or set as they were)
};

// Thrown by a test's gate to end the engine where it stands. It derives from nothing the engine
// catches, so it passes every handler on its way out; only destructors run (handles are closed).
struct TEngineKilled {
    uint64_t Operation;  // 1-based number of the operation that was not made
    TFileOp Kind;
    AnsiString Name;
};

class TFileOpGate {
public:
    virtual ~TFileOpGate() = default;
    // Called before the operation touches anything; may throw TEngineKilled. Returns 0 to let the
    // operation be made, or the system error code it fails with instead (nothing is touched then).
    virtual uint32_t Before(TFileOp kind, const AnsiString &name) = 0;
};

// Installs the process-wide gate (null: open) and returns the one it replaces.
TFileOpGate *SetFileOpGate(TFileOpGate *gate);
// Passes the installed gate, if any. Every engine file change calls it first and, when it returns a
// system error code (not 0), fails the operation with that error without making it.
uint32_t PassFileOpGate(TFileOp kind, const AnsiString &name);

// The engine's file changes, each through the gate (Windows build). Failures, the gate's included, are
// reported the way the framework reports them: false with the system error set, or the exception the
// framework throws there.
std::unique_ptr<TFileStream> FileOpCreate(const AnsiString &fileName, unsigned short shareMode);
void FileOpWrite(TStream &stream, const AnsiString &fileName, const void *buffer, long count);
void FileOpResize(TStream &stream, const AnsiString &fileName, long long size);
bool FileOpDelete(const AnsiString &fileName);
bool FileOpRename(const AnsiString &oldName, const AnsiString &newName);
bool FileOpCreateFolder(const AnsiString &folder);
bool FileOpRemoveFolder(const AnsiString &folder);
// A writable mapping of `size` bytes of an open file (see TFileMapping::Map).
bool FileOpMapWritable(TFileMapping &mapping, const TFileStream &file, uint64_t size, const AnsiString &name);
// Writes what the system holds of an open file through to the disk (the handle must allow writing).
bool FileOpFlush(TFileStream &file);
// Whether FileOpFlush writes through (the default). A benchmark switches it off to measure what the
// flushes cost; the flush then passes the gate and reports success without writing anything.
void SetFileFlushes(bool on);
bool FileFlushesOn();
// Makes a read-only file writable (and deletable); true when it is not read-only or no longer is.
bool FileOpClearReadOnly(const AnsiString &fileName);
// What the engine keeps of a file beside its bytes: a backup carries its file's read-only, hidden,
// system and archive attributes (the framework's fa* bits), and a restored file gets them back.
constexpr int KeptFileAttributes = 0x01 | 0x02 | 0x04 | 0x20;
// Gives a file the kept attributes of `attributes`, the others cleared; nothing changes (and the gate
// is not passed) when it has them already. True when it has them.
bool FileOpSetAttributes(const AnsiString &fileName, int attributes);
// Deletes a file the engine made or moved aside for itself (a backup, a work file, a renamed product
// file, anything in its temporary folder): a read-only one is made writable first, since nobody but
// the engine wants it kept. A product file the update replaces is deleted with FileOpDelete instead,
// which leaves a read-only one as Windows does.
bool FileOpDeleteOwn(const AnsiString &fileName);
// Throws the framework's write error for a write the gate failed with `error` (not 0).
[[noreturn]] void ThrowFileOpWriteError(const AnsiString &fileName, uint32_t error);
