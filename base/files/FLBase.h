#pragma once
// The base library's files over the system's file interface: TFLBase with numbered open modes, and
// TSFile, the block-and-line file on it. Every failure is either thrown as TZExcept (flag 1, the
// owner's choice) or shown at once in an error box, after which the operation returns its failure
// value (false, 0 bytes, position -1). Not shared between threads.
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/RawFile.h"

class TFLBase {
public:
    // Flags.
    enum : std::uint8_t {
        flThrow = 1,    // throw TZExcept instead of showing a box
        flEof = 2,      // end of file reached (kept by TSFile)
        flError = 4,    // an error occurred
        flExisted = 8,  // the file existed when it was opened
        flOpen = 16,
        flAttached = 32,  // the handle came from outside and is not ours to close
    };
    // Open modes.
    enum : std::uint8_t {
        fmRead = 0,
        fmWriteNew = 2,  // asks before an existing file is replaced
        fmWriteReplace = 3,
        fmAppend = 4,  // created when missing
        fmReadWrite = 5,
        fmClosed = 9,
    };
    // The longest name a file is opened by.
    static constexpr int MaxNameLength = 259;

    TFLBase();
    ~TFLBase();
    TFLBase(const TFLBase &) = delete;
    TFLBase &operator=(const TFLBase &) = delete;

    // Null when closed.
    RawFileHandle Handle() const { return handle_; }
    // Works on a handle opened elsewhere (closing an open file of ours first); the handle stays its
    // opener's to close. Set the mode afterwards to say what may be done with it.
    void SetHandle(RawFileHandle handle);
    std::uint8_t Mode() const { return mode_; }
    // Sets the mode and what it asks of the system; false for a mode that does not exist (nothing
    // is then allowed).
    bool SetMode(std::uint8_t mode);
    // 0 read, 1 write, 5 read and write, 9 closed.
    std::uint8_t EffectiveMode() const { return effectiveMode_; }
    std::uint32_t ErrorCode() const { return errorCode_; }
    // A non-zero code sets the error flag, zero clears it.
    void SetErrorCode(std::uint32_t code);
    std::uint8_t Flags() const { return flags_; }
    bool ThrowsErrors() const { return (flags_ & flThrow) != 0; }
    void SetThrowsErrors(bool on) { SetFlag(flThrow, on); }
    bool AtEnd() const { return (flags_ & flEof) != 0; }
    void SetAtEnd(bool on) { SetFlag(flEof, on); }
    bool HasError() const { return (flags_ & flError) != 0; }
    bool Existed() const { return (flags_ & flExisted) != 0; }
    void SetExisted(bool on) { SetFlag(flExisted, on); }
    bool IsOpen() const { return (flags_ & flOpen) != 0; }
    void SetOpen(bool on) { SetFlag(flOpen, on); }

    AnsiString GetName() const { return AnsiString(name_); }

    // Opens `name` (`length` bytes, 0 = up to the NUL) in a mode; false on failure. Mode 2 on an
    // existing file asks first: anything but Yes fails with no error.
    bool Open(const char *name, int length, std::uint8_t mode);
    // Closes the file; the owner's throw flag stays, every other flag, the error and the name go.
    void Close();

    // Transfers at the current position (the *At forms first move to `offset`; WriteAt's -1 is the
    // end). A count of 0 or a closed file does nothing. Returns the bytes moved.
    std::uint32_t Read(void *buffer, std::uint32_t count);
    std::uint32_t ReadAt(std::int64_t offset, void *buffer, std::uint32_t count);
    std::uint32_t Write(const void *buffer, std::uint32_t count);
    std::uint32_t WriteAt(std::int64_t offset, const void *buffer, std::uint32_t count);
    // Origin 0 start, 1 current position, 2 end. The new position; 0 when closed, -1 on failure.
    std::int64_t Seek(std::int64_t offset, int origin);
    std::int64_t SeekEnd() { return Seek(0, 2); }
    void Rewind() { Seek(0, 0); }
    std::int64_t Tell() { return Seek(0, 1); }
    // 0 when closed or unknown.
    std::uint64_t Size();
    bool Flush();

    // Reports file error n (0: the thread's last system error): the code is stored, then thrown or
    // shown. Returns the stored code (after a box, n itself).
    std::uint32_t ReportError(unsigned number);

private:
    std::uint32_t Report(unsigned number, unsigned long systemCode);
    bool MoveTo(std::int64_t offset, int origin);
    void SetFlag(std::uint8_t flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }
    void CloseHandle();

    char name_[MaxNameLength + 5] = {};
    RawFileHandle handle_ = nullptr;
    std::uint8_t mode_ = fmClosed;
    std::uint8_t effectiveMode_ = fmClosed;
    std::uint32_t errorCode_ = 0;
    std::uint8_t flags_ = 0;
    bool canRead_ = false;
    bool canWrite_ = false;
    RawFileShare share_ = RawFileShare::ReadWrite;
    RawFileCreation creation_ = RawFileCreation::OpenExisting;
};

// A file of byte blocks and text lines; lines end with CR LF.
class TSFile : public TFLBase {
public:
    bool Open(const AnsiString &name, std::uint8_t mode);
    bool Open(const char *name, std::uint8_t mode, int length);
    bool OpenReplace(const AnsiString &name) { return Open(name, fmWriteReplace); }
    void Close() { TFLBase::Close(); }

    // Sets the end-of-file flag when nothing was read, clears it otherwise.
    std::uint32_t Read(void *buffer, std::uint32_t count);
    // `count` below 1 writes up to the NUL.
    std::uint32_t Write(const char *text, int count);
    std::uint32_t Write(const AnsiString &text);
    // The text (`count` below 1: up to the NUL) and CR LF; returns the text's length + 2, or 0 when
    // either did not reach the file whole.
    std::uint32_t WriteLine(const char *text, int count);
    std::uint32_t WriteLine(const AnsiString &text);
    // A seek to the end with offset 0 sets the end-of-file flag, any other clears it; a failed seek
    // leaves it.
    std::int64_t Seek(std::int64_t offset, int origin);
};
