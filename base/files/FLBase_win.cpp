#include "base/files/FLBase.h"

#include <cstring>

#include "base/files/AppPaths.h"
#include "base/files/FileErrorReport.h"
#include "base/files/FileErrors.h"
#include "framework/runtime/SysUtils.h"

TFLBase::TFLBase() { Close(); }

TFLBase::~TFLBase() { CloseHandle(); }

void TFLBase::CloseHandle()
{
    if (handle_ != nullptr && (flags_ & flAttached) == 0)
        RawFileClose(handle_);
    handle_ = nullptr;
}

void TFLBase::SetHandle(RawFileHandle handle)
{
    CloseHandle();
    handle_ = handle;
    if (handle_ != nullptr)
        flags_ |= flOpen | flAttached;
    else
        flags_ &= ~(flOpen | flAttached);
}

bool TFLBase::SetMode(std::uint8_t mode)
{
    mode_ = mode;
    canRead_ = canWrite_ = false;
    share_ = RawFileShare::ReadWrite;
    creation_ = RawFileCreation::OpenExisting;
    switch (mode) {
    case fmRead:
        canRead_ = true;
        share_ = RawFileShare::ReadOnly;
        effectiveMode_ = 0;
        return true;
    case fmWriteNew:
        canWrite_ = true;
        creation_ = RawFileCreation::CreateNew;
        effectiveMode_ = 1;
        return true;
    case fmWriteReplace:
        canWrite_ = true;
        creation_ = RawFileCreation::CreateAlways;
        effectiveMode_ = 1;
        return true;
    case fmAppend:
        canRead_ = canWrite_ = true;
        effectiveMode_ = 1;
        return true;
    case fmReadWrite:
        canRead_ = canWrite_ = true;
        effectiveMode_ = 5;
        return true;
    case fmClosed: effectiveMode_ = fmClosed; return true;
    default: effectiveMode_ = fmClosed; return false;
    }
}

void TFLBase::SetErrorCode(std::uint32_t code)
{
    errorCode_ = code;
    SetFlag(flError, code != 0);
}

std::uint32_t TFLBase::ReportError(unsigned number) { return Report(number, number != 0 ? 0 : GetLastOSError()); }

std::uint32_t TFLBase::Report(unsigned number, unsigned long systemCode)
{
    errorCode_ = FileErrorCode(number, systemCode);
    flags_ |= flError;
    if (ThrowsErrors())
        ThrowFileError(number, systemCode, GetName());
    ShowFileError(number, systemCode, GetName());
    if (number != 0)
        errorCode_ = number;
    return errorCode_;
}

bool TFLBase::Open(const char *name, int length, std::uint8_t mode)
{
    SetOpen(false);
    SetErrorCode(0);
    CloseHandle();
    flags_ &= ~flAttached;
    name_[0] = 0;
    if (length == 0 && name != nullptr)
        length = static_cast<int>(std::strlen(name));
    if (name == nullptr || length <= 0 || length > MaxNameLength) {
        Report(FileErrNoName, 0);
        return false;
    }
    std::memcpy(name_, name, static_cast<std::size_t>(length));
    name_[length] = 0;
    SetExisted(false);
    if (!SetMode(mode)) {
        Report(FileErrBadMode, 0);
        return false;
    }
    const AnsiString fileName = GetName();
    if (creation_ != RawFileCreation::CreateAlways) {
        SetExisted(IsFile(fileName));
        if (!Existed() && creation_ == RawFileCreation::OpenExisting) {
            if (mode != fmAppend) {
                Report(FileErrNotFound, 0);
                return false;
            }
            creation_ = RawFileCreation::CreateNew;
        } else if (Existed() && creation_ == RawFileCreation::CreateNew) {
            if (!AskReplaceFile(fileName))
                return false;
            DeleteFile(fileName);
            SetExisted(false);
        }
    }
    const RawFileAccess access = canRead_ && canWrite_ ? RawFileAccess::ReadWrite
                                 : canWrite_           ? RawFileAccess::Write
                                                       : RawFileAccess::Read;
    RawFileHandle h = RawFileOpen(fileName, access, creation_, true, share_);
    if (h == InvalidRawFile) {
        handle_ = nullptr;
        ReportError(0);
        return false;
    }
    handle_ = h;
    SetOpen(true);
    if (mode == fmAppend)
        SeekEnd();
    return true;
}

void TFLBase::Close()
{
    CloseHandle();
    flags_ &= flThrow;
    errorCode_ = 0;
    name_[0] = 0;
    SetMode(fmClosed);
}

bool TFLBase::MoveTo(std::int64_t offset, int origin)
{
    std::uint64_t position = 0;
    if (RawFileSeek(handle_, offset, origin, position))
        return true;
    ReportError(0);
    return false;
}

std::uint32_t TFLBase::Read(void *buffer, std::uint32_t count)
{
    if (count == 0 || handle_ == nullptr)
        return 0;
    if (!canRead_) {
        Report(FileErrReadInWriteMode, 0);
        return 0;
    }
    std::uint32_t done = 0;
    if (!RawFileRead(handle_, buffer, count, done)) {
        ReportError(0);
        return 0;
    }
    return done;
}

std::uint32_t TFLBase::ReadAt(std::int64_t offset, void *buffer, std::uint32_t count)
{
    if (count == 0 || handle_ == nullptr)
        return 0;
    if (!canRead_) {
        Report(FileErrReadInWriteMode, 0);
        return 0;
    }
    if (!MoveTo(offset, 0))
        return 0;
    return Read(buffer, count);
}

std::uint32_t TFLBase::Write(const void *buffer, std::uint32_t count)
{
    if (count == 0 || handle_ == nullptr)
        return 0;
    if (!canWrite_) {
        Report(FileErrWriteInReadMode, 0);
        return 0;
    }
    std::uint32_t done = 0;
    if (!RawFileWrite(handle_, buffer, count, done)) {
        ReportError(0);
        return 0;
    }
    return done;
}

std::uint32_t TFLBase::WriteAt(std::int64_t offset, const void *buffer, std::uint32_t count)
{
    if (count == 0 || handle_ == nullptr)
        return 0;
    if (!canWrite_) {
        Report(FileErrWriteInReadMode, 0);
        return 0;
    }
    if (!(offset == -1 ? MoveTo(0, 2) : MoveTo(offset, 0)))
        return 0;
    return Write(buffer, count);
}

std::int64_t TFLBase::Seek(std::int64_t offset, int origin)
{
    if (handle_ == nullptr)
        return 0;
    std::uint64_t position = 0;
    if (!RawFileSeek(handle_, offset, origin, position)) {
        ReportError(0);
        return -1;
    }
    return static_cast<std::int64_t>(position);
}

std::uint64_t TFLBase::Size()
{
    if (handle_ == nullptr)
        return 0;
    std::uint64_t size = 0;
    if (!RawFileSize(handle_, size)) {
        ReportError(0);
        return 0;
    }
    return size;
}

bool TFLBase::Flush()
{
    if (handle_ == nullptr)
        return false;
    if (!canWrite_) {
        Report(FileErrWriteInReadMode, 0);
        return false;
    }
    if (!RawFileFlush(handle_)) {
        ReportError(0);
        return false;
    }
    return true;
}

// ---- TSFile ------------------------------------------------------------------------------------

bool TSFile::Open(const AnsiString &name, std::uint8_t mode)
{
    // An empty name is reported as one, not read up to a NUL.
    if (name.empty())
        return TFLBase::Open("", 0, mode);
    return TFLBase::Open(name.data(), static_cast<int>(name.size()), mode);
}

bool TSFile::Open(const char *name, std::uint8_t mode, int length) { return TFLBase::Open(name, length, mode); }

std::uint32_t TSFile::Read(void *buffer, std::uint32_t count)
{
    const std::uint32_t done = TFLBase::Read(buffer, count);
    SetAtEnd(done == 0);
    return done;
}

std::uint32_t TSFile::Write(const char *text, int count)
{
    if (text == nullptr)
        return 0;
    if (count < 1)
        count = static_cast<int>(std::strlen(text));
    return TFLBase::Write(text, static_cast<std::uint32_t>(count));
}

std::uint32_t TSFile::Write(const AnsiString &text)
{
    return TFLBase::Write(text.data(), static_cast<std::uint32_t>(text.size()));
}

std::uint32_t TSFile::WriteLine(const char *text, int count)
{
    if (count < 1)
        count = text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
    if (count > 0 && TFLBase::Write(text, static_cast<std::uint32_t>(count)) != static_cast<std::uint32_t>(count))
        return 0;
    if (TFLBase::Write("\r\n", 2) != 2)
        return 0;
    return static_cast<std::uint32_t>(count) + 2;
}

std::uint32_t TSFile::WriteLine(const AnsiString &text)
{
    if (text.empty())
        return WriteLine("", 0);
    return WriteLine(text.data(), static_cast<int>(text.size()));
}

std::int64_t TSFile::Seek(std::int64_t offset, int origin)
{
    // Only a failed seek gives -1.
    const std::int64_t position = TFLBase::Seek(offset, origin);
    if (position != -1)
        SetAtEnd(origin == 2 && offset == 0);
    return position;
}
