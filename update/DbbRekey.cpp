#include "update/DbbRekey.h"

#include <string>
#include <vector>

#include "storage/dbkeys.h"
#include "storage/drec.h"
#include "storage/scramble.h"

namespace {

constexpr uint64_t HeaderSize = 8;
constexpr uint64_t EntrySize = 8;
constexpr uint64_t RecordHeaderSize = 7;
constexpr int ProgressSteps = 100;

RekeyResult Fail(RekeyFault fault, uint64_t position = 0)
{
    RekeyResult r;
    r.fault = fault;
    r.position = position;
    return r;
}

void Xor(std::vector<uint8_t> &bytes, size_t from, size_t count, uint32_t key, uint32_t word)
{
    if (key != 0 && count != 0)
        XorBuffer16(bytes.data() + from, count, word);
}

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

static_assert(DbbKeys[0] != uint32_t(NoDbbKey) && DbbKeys[1] != uint32_t(NoDbbKey) && DbbKeys[2] != uint32_t(NoDbbKey) &&
                  DbbKeys[3] != uint32_t(NoDbbKey) && DbbKeys[4] != uint32_t(NoDbbKey) && DbbKeys[5] != uint32_t(NoDbbKey),
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
    Xor(head, 0, HeaderSize, oldKey, HeaderScrambleWord(oldKey));
    const uint32_t dataEnd = GetU32(head.data());
    const uint64_t dataStart = HeaderSize + EntrySize * GetU32(head.data() + 4);
    if (dataStart > size)
        return Fail(RekeyFault::DirectoryCut);

    head.resize(static_cast<size_t>(dataStart));
    const size_t directorySize = head.size() - HeaderSize;
    if (!source.ReadAt(HeaderSize, head.data() + HeaderSize, directorySize))
        return Fail(RekeyFault::ReadFailed);
    Xor(head, HeaderSize, directorySize, oldKey, DirectoryScrambleWord(oldKey));
    Xor(head, 0, HeaderSize, newKey, HeaderScrambleWord(newKey));
    Xor(head, HeaderSize, directorySize, newKey, DirectoryScrambleWord(newKey));
    if (!destination.WriteAt(0, head.data(), head.size()))
        return Fail(RekeyFault::WriteFailed);

    StepCounter steps(dataEnd, progress);
    std::vector<uint8_t> record(RecordHeaderSize + MaxRecordLength);
    uint64_t p = dataStart;
    while (size - p >= RecordHeaderSize) {
        // Positions of a compound file are 32-bit; the scrambling word is taken from them.
        const uint32_t at = static_cast<uint32_t>(p);
        if (!source.ReadAt(p, record.data(), RecordHeaderSize))
            return Fail(RekeyFault::ReadFailed, p);
        Xor(record, 0, RecordHeaderSize, oldKey, RecordScrambleWord(at, oldKey));
        const uint32_t length = GetU16(record.data() + 5);
        if (length > MaxRecordLength)
            return Fail(RekeyFault::RecordTooLong, p);
        if (size - p - RecordHeaderSize < length)
            return Fail(RekeyFault::RecordCut, p);
        if (!source.ReadAt(p + RecordHeaderSize, record.data() + RecordHeaderSize, length))
            return Fail(RekeyFault::ReadFailed, p);
        Xor(record, RecordHeaderSize, length, oldKey, RecordScrambleWord(at, oldKey));
        Xor(record, 0, RecordHeaderSize, newKey, RecordScrambleWord(at, newKey));
        Xor(record, RecordHeaderSize, length, newKey, RecordScrambleWord(at, newKey));
        if (!destination.WriteAt(p, record.data(), RecordHeaderSize + length))
            return Fail(RekeyFault::WriteFailed, p);
        p += RecordHeaderSize + length;
        steps.Written(RecordHeaderSize + length);
    }
    RekeyResult done;
    done.trailingBytes = size - p;
    return done;
}

AnsiString RekeyFaultText(const RekeyResult &result)
{
    const AnsiString at = " (позиция " + std::to_string(result.position) + ")";
    switch (result.fault) {
    case RekeyFault::None:
        return AnsiString();
    case RekeyFault::NoHeader:
        return "Неверный файл базы: нет заголовка";
    case RekeyFault::DirectoryCut:
        return "Неверный файл базы: каталог выходит за конец файла";
    case RekeyFault::RecordTooLong:
        return "Неверный файл базы: длина записи больше " + std::to_string(MaxRecordLength) + at;
    case RekeyFault::RecordCut:
        return "Неверный файл базы: запись выходит за конец файла" + at;
    case RekeyFault::ReadFailed:
        return "Ошибка чтения файла базы" + at;
    case RekeyFault::WriteFailed:
        return "Ошибка записи файла базы" + at;
    }
    return AnsiString();
}

AnsiString RekeyTrailingText(const RekeyResult &result)
{
    if (result.trailingBytes == 0)
        return AnsiString();
    return "В конце файла базы " + std::to_string(result.trailingBytes) + " байт вне записей не скопированы";
}
