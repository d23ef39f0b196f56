#pragma once
// Every change the engine makes to files (creating, writing, deleting, renaming, folders, writable
// mappings, journal lines) passes one gate first. In a run the gate is open and costs nothing; a test
// installs a gate that stops the engine at its N-th operation as if the program had been killed there:
// nothing after that point runs, no failure path, no finish, and the files stay as they are.
#include <cstdint>
#include <memory>

#include "framework/AnsiString.h"

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
    // Called before the operation touches anything; may throw TEngineKilled.
    virtual void Before(TFileOp kind, const AnsiString &name) = 0;
};

// Installs the process-wide gate (null: open) and returns the one it replaces.
TFileOpGate *SetFileOpGate(TFileOpGate *gate);
// Passes the installed gate, if any. Every engine file change calls it first.
void PassFileOpGate(TFileOp kind, const AnsiString &name);

// The engine's file changes, each through the gate (Windows build). Failures are reported the way the
// framework reports them: false, or an exception where the framework throws.
std::unique_ptr<TFileStream> FileOpCreate(const AnsiString &fileName, unsigned short shareMode);
void FileOpWrite(TStream &stream, const AnsiString &fileName, const void *buffer, long count);
void FileOpResize(TStream &stream, const AnsiString &fileName, long long size);
bool FileOpDelete(const AnsiString &fileName);
bool FileOpRename(const AnsiString &oldName, const AnsiString &newName);
bool FileOpCreateFolder(const AnsiString &folder);
bool FileOpRemoveFolder(const AnsiString &folder);
// A writable mapping of `size` bytes of an open file (see TFileMapping::Map).
bool FileOpMapWritable(TFileMapping &mapping, const TFileStream &file, uint64_t size, const AnsiString &name);
