#pragma once
// Kernel objects and system queries behind small functions and RAII classes, so that code above
// the framework never includes the system headers. A file that includes <windows.h> must do so
// before this header (the system's A/W name macros are undone here).
#include <atomic>
#include <cstdint>
#include <mutex>

#include "framework/runtime/AnsiString.h"

#ifdef GetModuleFileName
#undef GetModuleFileName
#endif

// ---- system texts and names ------------------------------------------------------------------
// The system's text for an error code without its line end; "" when the system has none.
AnsiString SysErrorMessage(unsigned long errorCode);
// Sets the calling thread's last system error, as a failing system call would.
void SetSysError(unsigned long errorCode);
// The calling thread's last system error.
unsigned long GetSysError();
// Full path of the running program's executable.
AnsiString GetModuleFileName();
// The Windows folder ("C:\Windows"); "" when the system does not tell it.
AnsiString GetWindowsFolderPath();
// The system's version numbers; false when the system does not tell them.
bool GetWindowsVersion(unsigned &major, unsigned &minor, unsigned &build);

// What the system's version query tells. The fields after the service-pack text come from its
// extended form only.
struct TWindowsVersionInfo {
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::uint32_t Build = 0;
    std::uint32_t PlatformId = 0;
    AnsiString ServicePack;  // "Service Pack 3", "" when none
    std::uint16_t ServicePackMajor = 0;
    std::uint16_t ServicePackMinor = 0;
    std::uint16_t SuiteMask = 0;
    std::uint8_t ProductType = 0;  // 1 workstation, 2 domain controller, 3 server
};
// Asks the system for its version, in the extended form when `extended`; false (and `info`
// untouched) when the system does not tell it.
bool GetWindowsVersionInfo(TWindowsVersionInfo &info, bool extended);
// The product type of the system's product-information entry for the given version, looked up at run
// time so that a system without the entry still runs the program; false when the entry is not there.
// `type` is 0 when the entry knows no product for the version.
bool GetWindowsProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePackMajor,
                           std::uint32_t servicePackMinor, std::uint32_t &type);
// The processor architecture of the system information (0 x86, 9 x64, 12 ARM64).
unsigned GetProcessorArchitecture();
// True on the second release of the 2003 server system (its system metric is nonzero).
bool IsServerR2System();

// ---- locking ---------------------------------------------------------------------------------
// A lock that its owner thread may enter again (entries and leaves pair up).
class TCriticalSection {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    bool TryEnter() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a critical section for its lifetime.
class TCriticalSectionLock {
public:
    explicit TCriticalSectionLock(TCriticalSection &cs) : cs_(cs) { cs_.Enter(); }
    ~TCriticalSectionLock() { cs_.Leave(); }
    TCriticalSectionLock(const TCriticalSectionLock &) = delete;
    TCriticalSectionLock &operator=(const TCriticalSectionLock &) = delete;

private:
    TCriticalSection &cs_;
};

// A 32-bit counter changed atomically; Increment and Decrement return the new value.
class TInterlockedCounter {
public:
    std::int32_t Increment() { return ++value_; }
    std::int32_t Decrement() { return --value_; }
    std::int32_t Value() const { return value_.load(); }
    // Sets a new value, returning the old one.
    std::int32_t Exchange(std::int32_t v) { return value_.exchange(v); }

private:
    std::atomic<std::int32_t> value_{0};
};

// ---- named mutex -----------------------------------------------------------------------------
// A system-wide named mutex, created not owned. Other processes see it as long as a handle is open:
// holding the object is what tells them this program runs.
class TNamedMutex {
public:
    TNamedMutex() = default;
    ~TNamedMutex() { Close(); }
    TNamedMutex(const TNamedMutex &) = delete;
    TNamedMutex &operator=(const TNamedMutex &) = delete;

    // Creates the mutex or opens the existing one. False when no handle was obtained (Error() tells
    // why); AlreadyExisted() is true when another holder had created it first.
    bool Create(const AnsiString &name);
    bool Held() const { return handle_ != nullptr; }
    bool AlreadyExisted() const { return alreadyExisted_; }
    unsigned long Error() const { return error_; }
    // Releases (when owned) and closes the handle.
    void Close();

private:
    void *handle_ = nullptr;
    bool alreadyExisted_ = false;
    unsigned long error_ = 0;
};

// ---- file mapping ----------------------------------------------------------------------------
// A mapping of a file (or of system paging memory) together with one view of all of it.
class TFileMapping {
public:
    TFileMapping() = default;
    ~TFileMapping() { Close(); }
    TFileMapping(const TFileMapping &) = delete;
    TFileMapping &operator=(const TFileMapping &) = delete;

    // Maps an open file (a handle from TFileStream::Handle()). size 0 maps the whole file; a size
    // beyond the end of a writable file extends the file to it. A name makes the mapping visible to
    // other processes under that name ("" for none). False on failure, Error() tells why; an empty
    // file cannot be mapped.
    bool Map(void *fileHandle, bool writable, std::uint64_t size, const AnsiString &name);
    // Opens the file for reading (others may read and write it), maps all of it read-only and closes
    // the file handle at once (the mapping keeps the file open).
    bool MapFile(const AnsiString &fileName, const AnsiString &name);
    // Named read-write memory of the given size, not backed by a file: shared between processes
    // that use the same name.
    bool MapMemory(std::uint64_t size, const AnsiString &name);
    // True when a named mapping opened by Map/MapMemory existed before.
    bool AlreadyExisted() const { return alreadyExisted_; }
    // True when the last Map, MapFile or MapMemory failed after the mapping was made, at its view.
    bool ViewFailed() const { return viewFailed_; }

    bool Mapped() const { return view_ != nullptr; }
    void *Data() const { return view_; }
    std::uint64_t Size() const { return size_; }
    unsigned long Error() const { return error_; }
    void Close();

private:
    bool CreateAndView(void *fileHandle, bool writable, std::uint64_t size, const AnsiString &name);
    void *mapping_ = nullptr;
    void *view_ = nullptr;
    std::uint64_t size_ = 0;
    bool alreadyExisted_ = false;
    bool viewFailed_ = false;
    unsigned long error_ = 0;
};

// ---- processes -------------------------------------------------------------------------------
// Show states for a started program's first window.
constexpr int swHide = 0;
constexpr int swShowNormal = 1;
constexpr int swShowMinimized = 2;
constexpr int swShowMaximized = 3;
constexpr int swShow = 5;

// Starts `program` as a new process with no inherited handles, the caller's start-up information
// with the given show state, `currentFolder` as its current folder ("" keeps the caller's) and
// `arguments` after the quoted program name ("" gives no command line). 0 on success, otherwise the
// system error code.
unsigned long StartProcess(const AnsiString &program, const AnsiString &arguments, const AnsiString &currentFolder,
                           int showState);

// ---- drives ----------------------------------------------------------------------------------
// Bit 0 for A:, bit 1 for B: ... of the drives present.
std::uint32_t GetLogicalDriveMask();
enum TDriveKind {
    dkUnknown = 0,
    dkNoRootDir = 1,
    dkRemovable = 2,
    dkFixed = 3,
    dkRemote = 4,
    dkCdRom = 5,
    dkRamDisk = 6,
};
// The kind of the drive of a root folder ("C:\").
TDriveKind GetDriveKind(const AnsiString &root);
// Bytes available to the calling user on the volume of `folder`. False when the system cannot tell.
bool GetFreeBytesAvailable(const AnsiString &folder, std::uint64_t &bytes);

// While it lives, the system shows no dialog for a drive that is not ready (an empty card reader or
// disc drive): the call fails quietly instead. Restores the previous mode.
class TErrorModeGuard {
public:
    TErrorModeGuard();
    ~TErrorModeGuard();
    TErrorModeGuard(const TErrorModeGuard &) = delete;
    TErrorModeGuard &operator=(const TErrorModeGuard &) = delete;

private:
    unsigned previous_;
};
