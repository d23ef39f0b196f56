// Compound files on disk: each store is an SFile, so names may be alias paths and every failure is
// raised as SFile raises it.
#include "storage/compound/wstore.h"

#include <windows.h>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/RawFile.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/dsfile.h"

namespace {

class FileStore : public WStore {
public:
    FileStore(const AnsiString &name, int mode) : file_(name, static_cast<uint8_t>(mode)) {}
    // A file opened by the caller for reading and writing, such as one shared with nobody.
    FileStore(const AnsiString &name, RawFileHandle handle) : file_(name, handle) {}

    const AnsiString &Name() const override { return file_.Name(); }
    uint32_t Read(void *buffer, uint32_t n) override { return file_.Read(buffer, n); }
    uint32_t Write(const void *buffer, uint32_t n) override { return file_.Write(buffer, n); }
    void Seek(uint32_t position) override { file_.Seek(position); }
    uint32_t Tell() override { return file_.Tell(); }
    uint32_t Size() override
    {
        const uint32_t here = file_.Tell();
        const uint32_t end = file_.SeekFrom(0, 2);
        file_.Seek(here);
        return end;
    }
    void Flush() override { file_.Flush(); }
    void Truncate() override { file_.Truncate(); }

private:
    SFile file_;
};

// The system's answer when a file is open elsewhere in a way that excludes this opener.
constexpr unsigned long kSharingViolation = 32;

// The writer's lock: one byte at 4 GB, where no position of a compound or simple file reaches, so
// that it never stands in the way of reading or writing the file's data. It is taken through a handle
// of its own, which lives as long as the lock object: a lock belongs to the handle that took it, and
// the writer's file handle is opened afresh after its writes.
class FileWriterLock : public WWriterLock {
public:
    explicit FileWriterLock(const AnsiString &name)
        : name_(name), handle_(RawFileOpen(name, RawFileAccess::Read, RawFileCreation::OpenExisting, false))
    {
        if (handle_ == InvalidRawFile)
            RaiseWindowsError(name_);
    }
    ~FileWriterLock() override
    {
        Unlock();
        RawFileClose(handle_);
    }
    bool TryLock() override
    {
        OVERLAPPED at = {};
        at.OffsetHigh = 1;
        if (LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
            locked_ = true;
            return true;
        }
        if (GetLastError() == ERROR_LOCK_VIOLATION)
            return false;
        RaiseWindowsError(name_);
    }
    void Unlock() noexcept override
    {
        if (!locked_)
            return;
        OVERLAPPED at = {};
        at.OffsetHigh = 1;
        UnlockFileEx(handle_, 0, 1, 0, &at);
        locked_ = false;
    }

private:
    AnsiString name_;
    RawFileHandle handle_;
    bool locked_ = false;
};

class FileStoreSystem : public WStoreSystem {
public:
    std::unique_ptr<WStore> Open(const AnsiString &name, int mode) override
    {
        return std::make_unique<FileStore>(name, mode);
    }
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override
    {
        const AnsiString resolved = ResolveAliasPath(name);
        // A file left behind is deleted first, as SFile's mode 3 does, so that one with the hidden or
        // system attribute is replaced too, and a read-only one loses that attribute first; one that
        // another opener holds cannot be deleted, and the create then finds it held.
        const int attributes = FileGetAttr(resolved);
        if (attributes != -1 && (attributes & faReadOnly))
            FileSetAttr(resolved, attributes & ~faReadOnly);
        DeleteFile(resolved);
        const RawFileHandle handle =
            RawFileOpen(resolved, RawFileAccess::ReadWrite, RawFileCreation::CreateAlways, true, RawFileShare::None);
        if (handle != InvalidRawFile)
            return std::make_unique<FileStore>(resolved, handle);
        if (GetLastOSError() == kSharingViolation)
            return nullptr;
        RaiseWindowsError(resolved);
    }
    void Delete(const AnsiString &name) override { DeleteFile(name); }
    void Replace(const AnsiString &target, const AnsiString &replacement) override
    {
        if (!ReplaceFileWith(target, replacement))
            RaiseWindowsError(replacement + "=>" + target);
    }
    bool SameFile(const AnsiString &a, const AnsiString &b) override
    {
        return ::SameFile(ResolveAliasPath(a), ResolveAliasPath(b));
    }
    std::unique_ptr<WWriterLock> OpenWriterLock(const AnsiString &name) override
    {
        return std::make_unique<FileWriterLock>(ResolveAliasPath(name));
    }
};

}  // namespace

WStoreSystem &PlatformStoreSystem()
{
    static FileStoreSystem files;
    return files;
}
