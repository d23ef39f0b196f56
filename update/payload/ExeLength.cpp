#include "update/payload/ExeLength.h"

namespace {

struct SectionHeader {
    uint32_t sizeOfRawData, pointerToRawData, pointerToRelocations, pointerToLinenumbers;
    uint16_t numberOfRelocations, numberOfLinenumbers;
    uint32_t characteristics;
};

bool ReadSection(TByteSource &source, uint64_t position, SectionHeader &h)
{
    uint8_t b[40];
    if (!source.ReadAt(position, b, sizeof b))
        return false;
    h.sizeOfRawData = LoadU32(b + 16);
    h.pointerToRawData = LoadU32(b + 20);
    h.pointerToRelocations = LoadU32(b + 24);
    h.pointerToLinenumbers = LoadU32(b + 28);
    h.numberOfRelocations = LoadU16(b + 32);
    h.numberOfLinenumbers = LoadU16(b + 34);
    h.characteristics = LoadU32(b + 36);
    return true;
}

// A section of the image proper: no relocation or line-number data, and some characteristics.
bool IsImageSection(const SectionHeader &h)
{
    return h.pointerToRelocations == 0 && h.pointerToLinenumbers == 0 && h.numberOfRelocations == 0 &&
           h.numberOfLinenumbers == 0 && h.characteristics != 0;
}

uint64_t Fail(TRunLog *log, const char *message)
{
    if (log)
        log->Log(26, message, true);
    return 0;
}

}  // namespace

uint64_t GetRealExeLength(TByteSource &source, uint64_t &fileSize, TRunLog *log)
{
    fileSize = source.Size();
    if (fileSize < 4)
        return 0;
    uint8_t dos[64];
    if (!source.ReadAt(0, dos, sizeof dos))
        return Fail(log, "Ошибка чтения заголовка исполняемого файла");
    if (dos[0] != 'M' || dos[1] != 'Z')
        return Fail(log, "Файл не является исполняемым");
    const uint32_t lfanew = LoadU32(dos + 60);
    uint8_t nt[24];  // signature and file header; the optional header is skipped by its size
    if (!source.ReadAt(lfanew, nt, sizeof nt))
        return Fail(log, "Ошибка чтения заголовка исполняемого файла");
    if (nt[0] != 'P' || nt[1] != 'E' || nt[2] != 0 || nt[3] != 0)
        return Fail(log, "Файл не является исполняемым");
    const uint16_t sections = LoadU16(nt + 6);
    const uint16_t optionalSize = LoadU16(nt + 20);
    const uint64_t first = uint64_t(lfanew) + 24 + optionalSize;

    uint64_t start = 0, raw = 0;
    for (uint32_t i = 0; i < sections; ++i) {
        SectionHeader h;
        if (!ReadSection(source, first + 40ull * i, h))
            return Fail(log, "Ошибка чтения заголовка исполняемого файла");
        if (start == 0)
            start = h.pointerToRawData;
        // The sum stops at the first header that does not describe an image section.
        if (!IsImageSection(h))
            break;
        raw += h.sizeOfRawData;
    }
    return start + raw;
}
