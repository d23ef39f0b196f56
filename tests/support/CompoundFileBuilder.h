#pragma once
// Builds compound files byte by byte from the format, independently of the storage code, so tests can
// compare what the code reads and writes with files made by hand.
//
// Layout: u32 data end, u32 N, N directory entries {u32 first record position, u32 length}, then the
// data area of physical records {u8 flags, u32 link (0xFFFFFFFF: next record follows), u16 length,
// data}. Every chain ends with the end record 00 FF FF FF FF 01 00 40.
#include <cstdint>
#include <string>
#include <vector>

namespace testdata {

using Bytes = std::vector<uint8_t>;

inline constexpr uint32_t kNoLink = 0xFFFFFFFFu;
inline constexpr uint8_t kDeleted = 0x80;

Bytes B(const std::string &text);  // the bytes of a text
Bytes EndRecordBytes();            // the 8 bytes of the end record
Bytes RecordBytes(const Bytes &data, uint8_t flags = 0, uint32_t link = kNoLink);

class CompoundFileBuilder {
public:
    // An empty data area behind a directory of n entries, all {data start, 8}; no record yet.
    explicit CompoundFileBuilder(uint32_t fileCount);
    // A file as created: one end record per logical file, entry i = {8 + 8N + 8i, 8}.
    static CompoundFileBuilder Created(uint32_t fileCount);

    uint32_t FileCount() const { return fileCount_; }
    uint32_t DataStart() const { return 8 + 8 * fileCount_; }
    uint32_t Here() const;  // position of the next record appended

    // Appends one physical record (or the end record) to the data area; returns its position.
    uint32_t Record(const Bytes &data, uint8_t flags = 0, uint32_t link = kNoLink);
    uint32_t EndRecord();
    // Appends bytes that are no record (garbage between records); they are never scrambled.
    uint32_t Gap(const Bytes &bytes);

    // Appends a chain of records and an end record in physical succession, points entry n at it and
    // moves the data end behind it, as a commit does; returns the chain's first position.
    uint32_t Commit(uint32_t n, const std::vector<Bytes> &records);

    void SetEntry(uint32_t n, uint32_t position, uint32_t length);
    void SetLink(uint32_t recordPosition, uint32_t link);
    void SetFlags(uint32_t recordPosition, uint8_t flags);
    void SetDataEnd(uint32_t dataEnd);  // otherwise the data end is the end of what was appended
    void SetFileCount(uint32_t n);      // writes another N into the header, leaving the layout

    // The file, plain or scrambled with key (header, directory, and every record appended with
    // Record or EndRecord, header and data separately).
    Bytes Build(uint32_t key = 0) const;

private:
    struct Rec {
        uint32_t position;
        uint32_t length;  // data bytes
    };
    uint32_t fileCount_;
    uint32_t storedCount_;
    std::vector<uint32_t> entries_;  // position, length pairs
    Bytes data_;                     // the data area
    std::vector<Rec> records_;
    bool dataEndSet_ = false;
    uint32_t dataEnd_ = 0;
};

// A file in the simple form: the records one after another from position 0, then the end record.
Bytes SimpleFile(const std::vector<Bytes> &records);

// The scrambling pattern applied bytewise: even offsets with the low byte of the word, odd offsets
// with the high byte.
void Scramble16(uint8_t *p, std::size_t n, uint32_t word);

}  // namespace testdata
