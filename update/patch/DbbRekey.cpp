#include "update/patch/DbbRekey.h"

#include <cstring>
#include <string>
#include <vector>

#include "storage/compound/dbkeys.h"
#include "storage/compound/drec.h"
#include "storage/compound/dwfile_layout.h"
#include "storage/compound/scramble.h"

using CompoundFile::HeaderSize;
using CompoundFile::RecordHeaderSize;

namespace {

constexpr int ProgressSteps = 100;

RekeyResult Fail(RekeyFault fault, uint64_t position = 0)
{
    RekeyResult r;
    r.fault = fault;
    r.position = position;
    return r;
}

// Re-keys a region in one pass: taking the old pattern off and putting the new one on is one XOR with
// both (a key of 0 has no pattern).
void Rekey(uint8_t *bytes, size_t count, uint32_t oldKey, uint32_t oldWord, uint32_t newKey, uint32_t newWord)
{
    const uint32_t word = (oldKey != 0 ? oldWord : 0) ^ (newKey != 0 ? newWord : 0);
    if ((word & 0xFFFF) != 0 && count != 0)
        XorBuffer16(bytes, count, word);
}

// Records are read, re-keyed and written a window at a time rather than one by one: a file's reads
// and writes are then few and large. A window always has room for one whole record after its share.
constexpr size_t WindowShare = 256 * 1024;

// Advances the position by one step each time the bytes written since the last step reach a
// hundredth of the data end, at most one step per record.
class StepCounter {
public:
    StepCounter(uint32_t dataEnd, const TRekeyProgress &progress)
        : quantum_(static_cast<int32_t>(dataEnd) / ProgressSteps), progress_(progress)
    {
        Report();
    }
    void Written(uint64_t bytes)
    {
        counter_ += static_cast<int64_t>(bytes);
        if (counter_ >= quantum_ && position_ < ProgressSteps) {
            counter_ -= quantum_;
            ++position_;
            Report();
        }
    }

private:
    void Report()
    {
        if (progress_)
            progress_(position_, ProgressSteps);
    }
    int64_t quantum_;
    int64_t counter_ = 0;
    int position_ = 0;
    const TRekeyProgress &progress_;
};

}  // namespace

static_assert(DbbKeys[0] != uint32_t(NoDbbKey) && DbbKeys[1] != uint32_t(NoDbbKey) &&
                  DbbKeys[2] != uint32_t(NoDbbKey) && DbbKeys[3] != uint32_t(NoDbbKey) &&
                  DbbKeys[4] != uint32_t(NoDbbKey) && DbbKeys[5] != uint32_t(NoDbbKey),
              "a database key may not look like the missing key");

int32_t DbbKeyForFile(const AnsiString &fileName)
{
    if (fileName.empty())
        return NoDbbKey;
    const char last = fileName.back();
    if (last < '0' || last > '9')
        return NoDbbKey;
    const int digit = last - '0';
    if (digit >= 1 && digit <= 6)
        return static_cast<int32_t>(DbbKeys[digit - 1]);
    return digit;
}

RekeyResult RekeyDbb(TByteSource &source, TByteStore &destination, uint32_t oldKey, uint32_t newKey,
                     const TRekeyProgress &progress)
{
    const uint64_t size = source.Size();
    if (size < HeaderSize)
        return Fail(RekeyFault::NoHeader);
    std::vector<uint8_t> head(HeaderSize);
    if (!source.ReadAt(0, head.data(), HeaderSize))
        return Fail(RekeyFault::ReadFailed);
    std::vector<uint8_t> plainHead = head;
    if (oldKey != 0)
        XorBuffer16(plainHead.data(), HeaderSize, HeaderScrambleWord(oldKey));
    const uint32_t dataEnd = LoadU32(plainHead.data());
    const uint64_t dataStart = CompoundFile::DataStartFor(LoadU32(plainHead.data() + 4));
    if (dataStart > size)
        return Fail(RekeyFault::DirectoryCut);

    head.resize(static_cast<size_t>(dataStart));
    const size_t directorySize = head.size() - HeaderSize;
    if (!source.ReadAt(HeaderSize, head.data() + HeaderSize, directorySize))
        return Fail(RekeyFault::ReadFailed);
    Rekey(head.data(), HeaderSize, oldKey, HeaderScrambleWord(oldKey), newKey, HeaderScrambleWord(newKey));
    Rekey(head.data() + HeaderSize, directorySize, oldKey, DirectoryScrambleWord(oldKey), newKey,
          DirectoryScrambleWord(newKey));
    if (!destination.WriteAt(0, head.data(), head.size()))
        return Fail(RekeyFault::WriteFailed);

    StepCounter steps(dataEnd, progress);
    std::vector<uint8_t> window(WindowShare + RecordHeaderSize + MaxRecordLength);
    uint64_t p = dataStart;  // the window's start: the next record
    while (size - p >= RecordHeaderSize) {
        const size_t count = size - p < window.size() ? static_cast<size_t>(size - p) : window.size();
        if (!source.ReadAt(p, window.data(), count))
            return Fail(RekeyFault::ReadFailed, p);
        size_t used = 0;  // bytes of the whole records re-keyed so far
        RekeyFault fault = RekeyFault::None;
        while (count - used >= RecordHeaderSize && used < WindowShare) {
            uint8_t *record = window.data() + used;
            // Positions of a compound file are 32-bit; the scrambling word is taken from them.
            const uint32_t at = static_cast<uint32_t>(p + used);
            uint8_t header[RecordHeaderSize];
            std::memcpy(header, record, RecordHeaderSize);
            if (oldKey != 0)
                XorBuffer16(header, RecordHeaderSize, RecordScrambleWord(at, oldKey));
            const uint32_t length = CompoundFile::DecodeRecordHeader(header).Length;
            if (length > MaxRecordLength) {
                fault = RekeyFault::RecordTooLong;
                break;
            }
            if (count - used - RecordHeaderSize < length) {
                // The window holds a whole record after its share, so only the file's end cuts one.
                fault = RekeyFault::RecordCut;
                break;
            }
            const uint32_t oldWord = RecordScrambleWord(at, oldKey), newWord = RecordScrambleWord(at, newKey);
            Rekey(record, RecordHeaderSize, oldKey, oldWord, newKey, newWord);
            Rekey(record + RecordHeaderSize, length, oldKey, oldWord, newKey, newWord);
            used += RecordHeaderSize + length;
            steps.Written(RecordHeaderSize + length);
        }
        if (used != 0 && !destination.WriteAt(p, window.data(), used))
            return Fail(RekeyFault::WriteFailed, p);
        p += used;
        if (fault != RekeyFault::None)
            return Fail(fault, p);
    }
    RekeyResult done;
    done.trailingBytes = size - p;
    return done;
}

AnsiString RekeyFaultText(const RekeyResult &result)
{
    const AnsiString at = " (позиция " + std::to_string(result.position) + ")";
    switch (result.fault) {
    case RekeyFault::None: return AnsiString();
    case RekeyFault::NoHeader: return "Неверный файл базы: нет заголовка";
    case RekeyFault::DirectoryCut: return "Неверный файл базы: каталог выходит за конец файла";
    case RekeyFault::RecordTooLong:
        return "Неверный файл базы: длина записи больше " + std::to_string(MaxRecordLength) + at;
    case RekeyFault::RecordCut: return "Неверный файл базы: запись выходит за конец файла" + at;
    case RekeyFault::ReadFailed: return "Ошибка чтения файла базы" + at;
    case RekeyFault::WriteFailed: return "Ошибка записи файла базы" + at;
    }
    return AnsiString();
}

AnsiString RekeyTrailingText(const RekeyResult &result)
{
    if (result.trailingBytes == 0)
        return AnsiString();
    return "В конце файла базы " + std::to_string(result.trailingBytes) + " байт вне записей не скопированы";
}
