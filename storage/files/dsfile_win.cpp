#include "storage/files/dsfile.h"

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/SysUtils.h"

SFile::SFile(const AnsiString &name, uint8_t mode) : name_(ResolveAliasPath(name)), mode_(mode)
{
    switch (mode_) {
    case 1:
    case 4:
        if (!FileExists(name_))
            throw ZError(name_, 1);
        handle_ = RawFileOpen(name_, mode_ == 1 ? RawFileAccess::Read : RawFileAccess::ReadWrite,
                              RawFileCreation::OpenExisting, true);
        break;
    case 2:
    case 3:
        if (FileExists(name_)) {
            // The user has seen the question; a refusal unwinds without a further message.
            if (mode_ == 2 && !AskQuestion(name_, 1))
                throw ZError(name_, 999);
            // A failed delete shows up as the create's failure below.
            DeleteFile(name_);
        }
        handle_ = RawFileOpen(name_, RawFileAccess::Write, RawFileCreation::CreateAlways, true);
        break;
    default: throw 0;
    }
    if (handle_ == InvalidRawFile)
        RaiseWindowsError(name_);
}

SFile::SFile(const AnsiString &name, RawFileHandle handle) : name_(name), handle_(handle), mode_(4) {}

SFile::~SFile() { RawFileClose(handle_); }

void SFile::CheckReadable() const
{
    if (mode_ == 2 || mode_ == 3)
        throw ZError(name_, 17);
}

void SFile::CheckWritable() const
{
    if (mode_ == 1)
        throw ZError(name_, 18);
}

uint32_t SFile::Read(void *buffer, uint32_t n)
{
    CheckReadable();
    uint32_t done = 0;
    if (!RawFileRead(handle_, buffer, n, done))
        RaiseWindowsError(name_);
    return done;
}

uint32_t SFile::Write(const void *buffer, uint32_t n)
{
    CheckWritable();
    uint32_t done = 0;
    if (!RawFileWrite(handle_, buffer, n, done))
        RaiseWindowsError(name_);
    return done;
}

uint32_t SFile::WriteText(const AnsiString &text)
{
    const AnsiString line = text + "\r\n";
    return Write(line.data(), static_cast<uint32_t>(line.size()));
}

uint32_t SFile::WriteAt(uint32_t position, const void *buffer, uint32_t n)
{
    CheckWritable();
    if (position > Tell())
        throw ZError(name_, 18);
    Seek(position);
    const uint32_t done = Write(buffer, n);
    SeekFrom(0, 2);
    return done;
}

void SFile::Flush()
{
    if (!RawFileFlush(handle_))
        RaiseWindowsError(name_);
}

void SFile::Truncate()
{
    CheckWritable();
    if (!RawFileSetEnd(handle_))
        RaiseWindowsError(name_);
}

uint32_t SFile::Move(int64_t distance, int origin)
{
    uint64_t position = 0;
    if (!RawFileSeek(handle_, distance, origin, position))
        RaiseWindowsError(name_);
    // Positions are 32-bit; 0xFFFFFFFF stays free as the failure value.
    if (position >= 0xFFFFFFFFull)
        throw ZError(name_, 21);
    return static_cast<uint32_t>(position);
}

uint32_t SFile::Seek(uint32_t position) { return Move(position, 0); }

uint32_t SFile::SeekFrom(int32_t distance, int origin) { return Move(distance, origin); }

uint32_t SFile::Tell() { return Move(0, 1); }
