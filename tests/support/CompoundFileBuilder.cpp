#include "tests/support/CompoundFileBuilder.h"

#include <stdexcept>

namespace testdata {

namespace {
void PutU32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void AppendU32(Bytes &b, uint32_t v)
{
    b.resize(b.size() + 4);
    PutU32(b.data() + b.size() - 4, v);
}
}  // namespace

Bytes B(const std::string &text) { return Bytes(text.begin(), text.end()); }

Bytes EndRecordBytes() { return {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x40}; }

Bytes RecordBytes(const Bytes &data, uint8_t flags, uint32_t link)
{
    if (data.size() > 0xFFFF)
        throw std::invalid_argument("record longer than a u16 length");
    Bytes r{flags};
    AppendU32(r, link);
    r.push_back(static_cast<uint8_t>(data.size()));
    r.push_back(static_cast<uint8_t>(data.size() >> 8));
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

void Scramble16(uint8_t *p, std::size_t n, uint32_t word)
{
    for (std::size_t i = 0; i < n; ++i)
        p[i] ^= static_cast<uint8_t>((i % 2) ? word >> 8 : word);
}

CompoundFileBuilder::CompoundFileBuilder(uint32_t fileCount)
    : fileCount_(fileCount), storedCount_(fileCount), entries_(2 * fileCount)
{
    for (uint32_t i = 0; i < fileCount; ++i) {
        entries_[2 * i] = DataStart();
        entries_[2 * i + 1] = 8;
    }
}

CompoundFileBuilder CompoundFileBuilder::Created(uint32_t fileCount)
{
    CompoundFileBuilder b(fileCount);
    for (uint32_t i = 0; i < fileCount; ++i)
        b.SetEntry(i, b.EndRecord(), 8);
    return b;
}

uint32_t CompoundFileBuilder::Here() const { return DataStart() + static_cast<uint32_t>(data_.size()); }

uint32_t CompoundFileBuilder::Record(const Bytes &data, uint8_t flags, uint32_t link)
{
    const uint32_t at = Here();
    Bytes r = RecordBytes(data, flags, link);
    data_.insert(data_.end(), r.begin(), r.end());
    records_.push_back({at, static_cast<uint32_t>(data.size())});
    return at;
}

uint32_t CompoundFileBuilder::EndRecord() { return Record({0x40}); }

uint32_t CompoundFileBuilder::Gap(const Bytes &bytes)
{
    const uint32_t at = Here();
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return at;
}

uint32_t CompoundFileBuilder::Commit(uint32_t n, const std::vector<Bytes> &records)
{
    const uint32_t first = Here();
    for (const Bytes &r : records)
        Record(r);
    EndRecord();
    SetEntry(n, first, Here() - first);
    if (dataEndSet_)
        dataEnd_ = Here();
    return first;
}

void CompoundFileBuilder::SetEntry(uint32_t n, uint32_t position, uint32_t length)
{
    entries_.at(2 * n) = position;
    entries_.at(2 * n + 1) = length;
}

void CompoundFileBuilder::SetLink(uint32_t recordPosition, uint32_t link)
{
    PutU32(data_.data() + (recordPosition - DataStart()) + 1, link);
}

void CompoundFileBuilder::SetFlags(uint32_t recordPosition, uint8_t flags)
{
    data_.at(recordPosition - DataStart()) = flags;
}

void CompoundFileBuilder::SetDataEnd(uint32_t dataEnd)
{
    dataEndSet_ = true;
    dataEnd_ = dataEnd;
}

void CompoundFileBuilder::SetFileCount(uint32_t n) { storedCount_ = n; }

Bytes CompoundFileBuilder::Build(uint32_t key) const
{
    Bytes file;
    AppendU32(file, dataEndSet_ ? dataEnd_ : Here());
    AppendU32(file, storedCount_);
    for (uint32_t v : entries_)
        AppendU32(file, v);
    file.insert(file.end(), data_.begin(), data_.end());
    if (key != 0) {
        Scramble16(file.data(), 8, 40617u * key + key);
        Scramble16(file.data() + 8, 8 * std::size_t(fileCount_), 52934u * key + key);
        for (const Rec &r : records_) {
            const uint32_t word = r.position >> (key % 32);
            Scramble16(file.data() + r.position, 7, word);
            Scramble16(file.data() + r.position + 7, r.length, word);
        }
    }
    return file;
}

Bytes SimpleFile(const std::vector<Bytes> &records)
{
    Bytes file;
    for (const Bytes &r : records) {
        Bytes rec = RecordBytes(r);
        file.insert(file.end(), rec.begin(), rec.end());
    }
    Bytes end = EndRecordBytes();
    file.insert(file.end(), end.begin(), end.end());
    return file;
}

}  // namespace testdata
