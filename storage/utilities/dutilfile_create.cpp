// Creating compound files and checking the length of their directory.
#include <memory>
#include <string>
#include <vector>

#include "base/messages/zmsg.h"
#include "storage/utilities/dutilfile.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/dwfile_internal.h"
#include "storage/compound/wstore.h"

using namespace dwfile_detail;

namespace {

// The largest N whose created file (8 + 16N bytes) still has 32-bit positions.
constexpr uint32_t MaxLogicalFiles = (0xFFFFFFFFu - HeaderSize) / (EntrySize + EndRecordSize);

void CheckCount(const AnsiString &name, uint32_t count)
{
    if (count > MaxLogicalFiles)
        throw ZError("Для файла " + name + " задано слишком много лог. файлов: " + std::to_string(count), 0);
}

void PutAll(WStore &store, const std::vector<uint8_t> &bytes)
{
    if (store.Write(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
        throw ZError("Для файла " + store.Name() + " запись выполнена не полностью", 0);
}

// Header {dataEnd, count} and count directory entries {position(i), length}.
template <typename Position>
std::vector<uint8_t> HeaderBytes(uint32_t dataEnd, uint32_t count, Position position, uint32_t length)
{
    std::vector<uint8_t> bytes(DataStartFor(count));
    StoreU32(bytes.data(), dataEnd);
    StoreU32(bytes.data() + 4, count);
    for (uint32_t i = 0; i < count; ++i) {
        StoreU32(bytes.data() + EntryPositionAt(i), position(i));
        StoreU32(bytes.data() + EntryLengthAt(i), length);
    }
    return bytes;
}

}  // namespace

void CreateCompoundFile(const AnsiString &name, uint32_t count, const char *versionText)
{
    CheckCount(name, count);
    const uint32_t dataStart = EntryPositionAt(count);
    std::vector<uint8_t> bytes = HeaderBytes(
        dataStart + EndRecordSize * count, count, [&](uint32_t i) { return dataStart + EndRecordSize * i; },
        EmptyLogicalFileLength);
    for (uint32_t i = 0; i < count; ++i)
        bytes.insert(bytes.end(), EndRecord, EndRecord + EndRecordSize);
    AnsiString resolved;
    {
        std::unique_ptr<WStore> file = StoreSystem().Open(name, 2);
        resolved = file->Name();
        PutAll(*file, bytes);
    }
    if (versionText != nullptr) {
        WFile file(resolved);
        file.WriteVersion(versionText);
    }
}

void WriteCompoundHeader(const AnsiString &name, uint32_t count)
{
    CheckCount(name, count);
    std::unique_ptr<WStore> file = StoreSystem().Open(name, 2);
    PutAll(*file, HeaderBytes(
                      0, count, [](uint32_t) { return 0u; }, 0));
}

bool ReadLogicalFileCount(const AnsiString &name, uint32_t n, uint32_t *count)
{
    std::unique_ptr<WStore> file = StoreSystem().Open(name, 1);
    uint8_t head[HeaderSize];
    const bool headerRead = file->Read(head, HeaderSize) == HeaderSize;
    if (count != nullptr)
        *count = headerRead ? LoadU32(head + 4) : 0;
    const bool tooShort = file->Size() < DataStartFor(n);
    file.reset();
    if (!tooShort || count != nullptr)
        return false;
    ShowMessageNo(name, 619);
    return true;
}
