#include "storage/compound/drec.h"

#include <cstdio>
#include <cstring>

#include "base/messages/zmsg.h"

const uint32_t MaxRecordLength = 20000;
const uint32_t NoLink = 0xFFFFFFFFu;
const uint32_t EmptyLogicalFileLength = 8;

WRec::WRec() : WRec(MaxRecordLength) {}

WRec::WRec(uint32_t capacity) : link_(NoLink), data_(new uint8_t[capacity > 0 ? capacity : 1]()), capacity_(capacity) {}

WRec::~WRec() { delete[] data_; }

uint32_t WRec::Limit() const { return capacity_ < MaxRecordLength ? capacity_ : MaxRecordLength; }

void WRec::SetLength(uint32_t length, const AnsiString &fileName, uint32_t position)
{
    if (length > Limit())
        RaiseRecordTooLong(fileName, length, Limit(), position);
    length_ = static_cast<uint16_t>(length);
}

void WRec::Assign(const void *bytes, uint32_t n, const AnsiString &fileName, uint32_t position)
{
    SetLength(n, fileName, position);
    if (n > 0)
        std::memmove(data_, bytes, n);
}

void RaiseRecordTooLong(const AnsiString &fileName, uint32_t length, uint32_t limit, uint32_t position)
{
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(position));
    throw ZError(fileName + "|( " + std::to_string(length) + ")|" + std::to_string(limit) + "|" + hex, 11);
}
