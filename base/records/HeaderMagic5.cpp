#include "base/records/HeaderMagic5.h"

#include <cstring>

void HeaderMagic5::Init()
{
    static const std::uint8_t magic[4] = {0xD6, 0xCC, 0xD2, '5'};  // "ЦМТ5"
    std::memset(bytes_, 0, sizeof bytes_);
    std::memcpy(bytes_, magic, sizeof magic);
    size_ = HeaderMagic5Size;
}

void HeaderMagic5::InitLong()
{
    Init();
    bytes_[8] = static_cast<std::uint8_t>(HeaderMagic5LongSize);
    size_ = HeaderMagic5LongSize;
}
