// Compound files on disk: each store is an SFile, so names may be alias paths and every failure is
// raised as SFile raises it.
#include "storage/compound/wstore.h"

#include <utility>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/RawFile.h"
#include "framework/runtime/SysUtils.h"
#include "storage/files/dsfile.h"

namespace {

class FileStore : public WStore {
public:
    FileStore(const AnsiString &name, int mode) : file_(name, static_cast<uint8_t>(mode)) {}

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

// A file created for reading and writing and shared with nobody while it is open.
class HeldFileStore : public WStore {
public:
    HeldFileStore(AnsiString name, RawFileHandle handle) : name_(std::move(name)), handle_(handle) {}
    ~HeldFileStore() override { RawFileClose(handle_); }
    HeldFileStore(const HeldFileStore &) = delete;
    HeldFileStore &operator=(const HeldFileStore &) = delete;

    const AnsiString &Name() const override { return name_; }
    uint32_t Read(void *buffer, uint32_t n) override
    {
        uint32_t done = 0;
        if (!RawFileRead(handle_, buffer, n, done))
            RaiseWindowsError(name_);
        return done;
    }
    uint32_t Write(const void *buffer, uint32_t n) override
    {
        uint32_t done = 0;
        if (!RawFileWrite(handle_, buffer, n, done))
            RaiseWindowsError(name_);
        return done;
    }
    void Seek(uint32_t position) override { Move(position, 0); }
    uint32_t Tell() override { return Move(0, 1); }
    uint32_t Size() override
    {
        uint64_t size = 0;
        if (!RawFileSize(handle_, size))
            RaiseWindowsError(name_);
        if (size >= 0xFFFFFFFFull)
            throw ZError(name_, 21);
        return static_cast<uint32_t>(size);
    }
    void Flush() override
    {
        if (!RawFileFlush(handle_))
            RaiseWindowsError(name_);
    }
    void Truncate() override
    {
        if (!RawFileSetEnd(handle_))
            RaiseWindowsError(name_);
    }

private:
    uint32_t Move(int64_t distance, int origin)
    {
        uint64_t position = 0;
        if (!RawFileSeek(handle_, distance, origin, position))
            RaiseWindowsError(name_);
        if (position >= 0xFFFFFFFFull)
            throw ZError(name_, 21);
        return static_cast<uint32_t>(position);
    }

    AnsiString name_;
    RawFileHandle handle_;
};

// The system's answer when a file is open elsewhere in a way that excludes this opener.
constexpr unsigned long kSharingViolation = 32;

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
        // system attribute is replaced too; one that another opener holds cannot be deleted, and the
        // create then finds it held.
        DeleteFile(resolved);
        const RawFileHandle handle =
            RawFileOpen(resolved, RawFileAccess::ReadWrite, RawFileCreation::CreateAlways, true, RawFileShare::None);
        if (handle != InvalidRawFile)
            return std::make_unique<HeldFileStore>(resolved, handle);
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
};

}  // namespace

WStoreSystem &PlatformStoreSystem()
{
    static FileStoreSystem files;
    return files;
}
