#pragma once
// The 8-byte header written in front of the library's binary files: the product's three letters
// "ЦМТ" in code page 1251, the digit '5', two flag bytes (flag A is 1 in alias files) and two zero
// bytes. The long form of 16 bytes adds a u32 16 (its own size) and a u32 0.
#include <cstddef>
#include <cstdint>

constexpr std::size_t HeaderMagic5Size = 8;
constexpr std::size_t HeaderMagic5LongSize = 16;

class HeaderMagic5 {
public:
    HeaderMagic5() { Init(); }

    // The magic, both flags 0; Size() 8.
    void Init();
    // The magic, both flags 0 and the two words of the long form; Size() 16.
    void InitLong();

    std::uint8_t FlagA() const { return bytes_[4]; }
    void SetFlagA(std::uint8_t value) { bytes_[4] = value; }
    std::uint8_t FlagB() const { return bytes_[5]; }
    void SetFlagB(std::uint8_t value) { bytes_[5] = value; }

    const std::uint8_t *Data() const { return bytes_; }
    std::size_t Size() const { return size_; }

private:
    std::uint8_t bytes_[HeaderMagic5LongSize] = {};
    std::size_t size_ = HeaderMagic5Size;
};
