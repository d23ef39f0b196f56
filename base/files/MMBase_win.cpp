#include "base/files/MMBase.h"

#include <cstring>

#include "base/files/AppPaths.h"
#include "base/files/FileErrorReport.h"
#include "base/files/FileErrors.h"
#include "framework/runtime/SysUtils.h"

std::uint32_t TMM_Base::Open(const char *name, int length)
{
    errorCode_ = 0;
    flags_ &= ~mmError;
    if (IsMapped() || mapping_.Mapped())
        Close();
    name_[0] = 0;
    if (length == 0 && name != nullptr)
        length = static_cast<int>(std::strlen(name));
    if (name == nullptr || length <= 0 || length > MaxNameLength)
        return Report(FileErrNoName, 0);
    std::memcpy(name_, name, static_cast<std::size_t>(length));
    name_[length] = 0;
    const AnsiString fileName = Name();
    if (!IsFile(fileName))
        return Report(FileErrNotFound, 0);
    if (!mapping_.MapFile(fileName, AnsiString())) {
        const unsigned long error = mapping_.Error();
        mapping_.Close();
        return Report(0, error);
    }
    flags_ |= mmMapped;
    return 0;
}

void TMM_Base::Close()
{
    mapping_.Close();
    flags_ &= mmThrow | mmCaller;
    errorCode_ = 0;
}

std::uint32_t TMM_Base::ReportError(unsigned number) { return Report(number, number != 0 ? 0 : GetLastOSError()); }

std::uint32_t TMM_Base::Report(unsigned number, unsigned long systemCode)
{
    errorCode_ = FileErrorCode(number, systemCode);
    flags_ |= mmError;
    if (ThrowsErrors())
        ThrowFileError(number, systemCode, Name());
    ShowFileError(number, systemCode, Name());
    if (number != 0)
        errorCode_ = number;
    return errorCode_;
}
