#pragma once
// The files a compound file works on, seen through a small interface so that the compound-file code
// runs over real files (the Windows build) and over files held in memory (tests, fuzzing, and any
// build without a file system of its own).
#include <cstdint>
#include <memory>

#include "framework/runtime/AnsiString.h"

// One open file with a position. Open modes are those of SFile: 1 read, 2 create asking before
// replacing, 3 create replacing silently, 4 read and write. Failures are raised as ZError.
class WStore {
public:
    virtual ~WStore() = default;
    // Resolved name of the file (alias paths already replaced by their folders).
    virtual const AnsiString &Name() const = 0;
    // Bytes read, fewer than n (or 0) at the end of the file.
    virtual uint32_t Read(void *buffer, uint32_t n) = 0;
    virtual uint32_t Write(const void *buffer, uint32_t n) = 0;
    virtual void Seek(uint32_t position) = 0;
    virtual uint32_t Tell() = 0;
    virtual uint32_t Size() = 0;  // leaves the position unchanged
    // Returns once everything written has reached the disk.
    virtual void Flush() = 0;
    // Makes the file end at the position, dropping every byte from there on.
    virtual void Truncate() = 0;
};

// A file opened to hold its one writer. Holding it takes an exclusive lock that every holder of the
// same file, in this program or another, is refused while it lasts; the lock belongs to the file
// however its name is spelt, and the system lets it go when the holder's program ends. Destroying
// the object lets the hold go.
class WWriterLock {
public:
    virtual ~WWriterLock() = default;
    // False when another holder has the file; other failures are raised as ZError.
    virtual bool TryLock() = 0;
    virtual void Unlock() noexcept = 0;
};

// Where files are opened and deleted by name.
class WStoreSystem {
public:
    virtual ~WStoreSystem() = default;
    virtual std::unique_ptr<WStore> Open(const AnsiString &name, int mode) = 0;
    // Creates the file for reading and writing (replacing a file of that name that nobody holds open)
    // and holds it alone: while the store lives, no other opener, in this program or another, can
    // open, replace or delete it. Null when another opener holds the file; other failures are raised
    // as ZError.
    virtual std::unique_ptr<WStore> CreateHeld(const AnsiString &name) = 0;
    // Deletes the file when it exists (one that another opener holds stays); the result is not looked
    // at by any caller.
    virtual void Delete(const AnsiString &name) = 0;
    // Puts the file `replacement` in the place of `target` in one step (replacing target when it
    // exists) and returns once that is on the disk; a refusal is raised as ZError and changes neither.
    virtual void Replace(const AnsiString &target, const AnsiString &replacement) = 0;
    // Whether the two names lead to one existing file. Files known by their names alone are one file
    // when the names are the same text; files on disk whatever the spellings (alias paths too).
    virtual bool SameFile(const AnsiString &a, const AnsiString &b) { return a == b; }
    // Opens the existing file `name` for holding its writer (failures raised as ZError); not held yet.
    // Files known by their names alone are held by name within this program; files on disk by a
    // byte-range lock on the file itself.
    virtual std::unique_ptr<WWriterLock> OpenWriterLock(const AnsiString &name);
};

// The process-wide store system the compound files use: the one installed, else the default: files on
// disk in the Windows build; in the native build none (opening raises a clear error).
WStoreSystem &StoreSystem();
// Installs another store system (null restores the default); returns the one it replaces.
WStoreSystem *SetStoreSystem(WStoreSystem *system);
