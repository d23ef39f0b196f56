#pragma once
// A whole file mapped read-only into memory. Errors are thrown as TZExcept (flag 1) or shown at once
// in an error box, like those of the file classes.
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Kernel.h"

class TMM_Base {
public:
    enum : std::uint8_t {
        mmThrow = 1,   // throw TZExcept instead of showing a box
        mmCaller = 2,  // the owner's own mark; not used here
        mmError = 4,
        mmMapped = 16,
    };
    // The longest name a file is mapped by.
    static constexpr int MaxNameLength = 259;

    TMM_Base() = default;
    ~TMM_Base() { Close(); }
    TMM_Base(const TMM_Base &) = delete;
    TMM_Base &operator=(const TMM_Base &) = delete;

    // Maps the file `name` (`length` bytes, 0 = up to the NUL). 0 on success, else the error code
    // (see ReportError). A name longer than a path may be is refused (51), not cut.
    std::uint32_t Open(const char *name, int length);
    // Unmaps; the owner's flags 1 and 2 stay, the others, the size and the error code go.
    void Close();

    // The file's bytes, valid until Close; null when nothing is mapped.
    const void *View() const { return mapping_.Data(); }
    std::uint64_t Size() const { return mapping_.Size(); }
    bool Empty() const { return Size() == 0; }
    AnsiString Name() const { return AnsiString(name_); }
    std::uint8_t Flags() const { return flags_; }
    void SetFlags(std::uint8_t flags) { flags_ = flags; }
    bool ThrowsErrors() const { return (flags_ & mmThrow) != 0; }
    void SetThrowsErrors(bool on) { flags_ = on ? (flags_ | mmThrow) : (flags_ & ~mmThrow); }
    bool IsMapped() const { return (flags_ & mmMapped) != 0; }
    bool HasError() const { return (flags_ & mmError) != 0; }
    std::uint32_t ErrorCode() const { return errorCode_; }

    // Reports file error n (0: the thread's last system error) about the mapped file's name: the code
    // is stored, then thrown or shown. Returns the stored code (after a box, n itself).
    std::uint32_t ReportError(unsigned number);

private:
    std::uint32_t Report(unsigned number, unsigned long systemCode);

    TFileMapping mapping_;
    char name_[MaxNameLength + 2] = {};
    std::uint8_t flags_ = 0;
    std::uint32_t errorCode_ = 0;
};
