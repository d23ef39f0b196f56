// Logical records packed into physical records, in three framings: delimiter, length prefix, fixed
// length.
#include <algorithm>
#include <cstring>
#include <string>

#include "base/messages/zmsg.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/dwfile_internal.h"

using namespace dwfile_detail;

namespace {
// The most a physical record written by this layer holds.
const uint32_t kPackLimit = 19999;
}  // namespace

int WFile::FramingMode(const AnsiString &delimiter, int32_t fixedLength)
{
    if (fixedLength >= 0)
        return 2;
    return delimiter.empty() ? 1 : 0;
}

void WFile::LogicalRecordDamaged() const
{
    throw ZError("Для файла " + name_ + " длина записи превышает длину остатка буфера", 0);
}

uint32_t WFile::BeginReadRecords(uint32_t n, const AnsiString &delimiter, int32_t fixedLength)
{
    if (fixedLength == 0)
        throw ZError("Для файла " + name_ + " задана нулевая длина логической записи", 0);
    uint32_t result;
    if (compound_) {
        uint32_t first;
        result = OpenLogicalFileAt(n, first);
        nextRecordPos_ = first;
    } else {
        result = header_[0];
        nextRecordPos_ = readPos_;
    }
    delimiter_ = delimiter;  // a copy: the caller's text need not outlive reading
    current_ = next_ = LogicalAddress();
    bufferPosition_ = 0xFFFFFFFFu;
    if (!readBuffer_)
        readBuffer_ = std::make_unique<WRec>(MaxRecordLength + 1);
    readMode_ = FramingMode(delimiter, fixedLength);
    fixedLength_ = readMode_ == 2 ? static_cast<uint32_t>(fixedLength) : 0;
    return result;
}

bool WFile::ReadLogicalRecord(const uint8_t *&data, uint32_t &length, const LogicalAddress *address)
{
    if (!readBuffer_)
        throw ZError("Для файла " + name_ + " не начато чтение логических записей", 0);
    length = 0;
    const bool elsewhere = address && address->position != bufferPosition_;
    if (elsewhere) {
        next_.offset = 0;
        nextRecordPos_ = address->position;
    }
    if (elsewhere || (!address && next_.offset == 0)) {
        // Other reads may have moved reading since the last physical record: go back to the next one.
        if (elsewhere || readPos_ != nextRecordPos_)
            SeekData(nextRecordPos_);
        if (!ReadRecord(*readBuffer_))
            return false;
        bufferPosition_ = recordPos_;
        current_ = next_ = {recordPos_, 0};
        readBuffer_->Data()[readBuffer_->Length()] = 0;
        nextRecordPos_ = readPos_;
    }
    if (address)
        next_ = *address;
    const uint8_t *record = readBuffer_->Data();
    const uint32_t recordLength = readBuffer_->Length();
    if (next_.offset >= recordLength)
        LogicalRecordDamaged();
    const uint32_t rest = recordLength - next_.offset;
    switch (readMode_) {
    case 0: {
        const uint8_t *from = record + next_.offset;
        const uint8_t *to = record + recordLength;
        const uint8_t *found = std::search(from, to, delimiter_.begin(), delimiter_.end(),
                                           [](uint8_t x, char y) { return x == static_cast<uint8_t>(y); });
        if (found == to)
            throw ZError("Для файла " + name_ + " не найден конец логической записи", 0);
        length = static_cast<uint32_t>(found - from);
        current_ = next_;
        data = from;
        next_.offset += length + static_cast<uint32_t>(delimiter_.size());
        break;
    }
    case 1: {
        if (rest < 2)
            LogicalRecordDamaged();
        const uint32_t prefixed = LoadU16(record + next_.offset);
        if (prefixed > rest - 2)
            LogicalRecordDamaged();
        length = prefixed;
        current_ = next_;
        data = record + next_.offset + 2;
        next_.offset += length + 2;
        break;
    }
    default:
        // A physical record whose length is no multiple of the fixed length is damaged.
        if (fixedLength_ > rest)
            LogicalRecordDamaged();
        length = fixedLength_;
        current_ = next_;
        data = record + next_.offset;
        next_.offset += fixedLength_;
        break;
    }
    if (next_.offset == recordLength)
        next_ = {readPos_, 0};
    return true;
}

bool WFile::ReadLogicalRecordCopy(void *buffer, uint32_t &length)
{
    const uint8_t *data;
    if (!ReadLogicalRecord(data, length))
        return false;
    std::memcpy(buffer, data, length);
    return true;
}

uint32_t WFile::ReadLogicalRecordInto(void *buffer)
{
    uint32_t length;
    ReadLogicalRecordCopy(buffer, length);
    return length;
}

uint32_t WFile::ReadLogicalRecordPtr(const uint8_t *&data)
{
    uint32_t length;
    ReadLogicalRecord(data, length);
    return length;
}

uint32_t WFile::ReadLogicalRecordAt(const uint8_t *&data, const LogicalAddress &address)
{
    uint32_t length;
    ReadLogicalRecord(data, length, &address);
    return length;
}

void WFile::BeginWriteRecords(uint32_t n, const AnsiString &delimiter, int32_t fixedLength)
{
    const int mode = FramingMode(delimiter, fixedLength);
    const uint32_t separator = mode == 0 ? static_cast<uint32_t>(delimiter.size()) : mode == 1 ? 2 : 0;
    if (fixedLength == 0 || (mode == 2 && uint32_t(fixedLength) > kPackLimit) || separator >= kPackLimit)
        throw ZError("Для файла " + name_ + " неверно задан формат логических записей", 0);
    if (compound_) {
        CheckFileNumber(n);
        if (writing_ != NoWriting) {
            const uint32_t m = writing_;
            EndWriteRecords(m);
            if (reportUnclosed_)
                throw ZError("Для файла " + name_ + " не выполнено закрытие файла " + std::to_string(m), 0);
        }
        BeginWrite(n);
    }
    writeBuffer_ = std::make_unique<WRec>(MaxRecordLength);
    fill_ = 0;
    writeDelimiter_ = delimiter;
    writeMode_ = mode;
    separatorLength_ = separator;
    writeFixedLength_ = mode == 2 ? static_cast<uint32_t>(fixedLength) : 0;
}

void WFile::WriteLogicalRecord(const void *data, uint32_t length)
{
    const WriteGuard guard(*this);
    if (!writeBuffer_)
        throw ZError("Для файла " + name_ + " не начата запись логических записей", 0);
    if (length == 0)
        throw ZError("Для файла " + name_ + " задана нулевая длина логической записи" +
                         std::to_string(compound_ ? writing_ : 0),
                     0);
    if (writeMode_ == 2 && length != writeFixedLength_)
        throw ZError("Для файла " + name_ + " длина логической записи " + std::to_string(length) +
                         " не равна заданной " + std::to_string(writeFixedLength_),
                     0);
    if (uint64_t(length) + separatorLength_ > kPackLimit)
        throw ZError("Для файла " + name_ + " логическая запись длиной " + std::to_string(length) +
                         " не помещается в физическую запись",
                     0);
    if (fill_ + length + separatorLength_ > kPackLimit)
        FlushLogicalRecords();
    uint8_t *at = writeBuffer_->Data() + fill_;
    if (writeMode_ == 1) {
        StoreU16(at, static_cast<uint16_t>(length));
        at += 2;
    }
    std::memcpy(at, data, length);
    if (writeMode_ == 0)
        std::memcpy(at + length, writeDelimiter_.data(), writeDelimiter_.size());
    fill_ += length + separatorLength_;
}

void WFile::FlushLogicalRecords()
{
    if (!writeBuffer_ || fill_ == 0)
        return;
    WriteRecord(0, fill_, writeBuffer_->Data());
    fill_ = 0;
}

void WFile::EndWriteRecords(uint32_t n)
{
    FlushLogicalRecords();
    writeBuffer_.reset();
    if (compound_)
        EndWrite(n, true);
}
