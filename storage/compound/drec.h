#pragma once
// One physical record of a compound file in memory: the three values of its 7-byte header
// (flags, link, length) and an owned data buffer of fixed capacity.
#include <cstddef>
#include <cstdint>

#include "framework/runtime/AnsiString.h"

// Capacity of a default record buffer and the largest data length a record may have.
extern const uint32_t MaxRecordLength;
// Link value meaning that the next record of the chain follows this one physically.
extern const uint32_t NoLink;
// Directory length of an empty logical file.
extern const uint32_t EmptyLogicalFileLength;

// Flags bit of a deleted record; no other bit is used.
constexpr uint8_t RecordDeletedFlag = 0x80;

class WRec {
public:
    WRec();                            // MaxRecordLength bytes
    explicit WRec(uint32_t capacity);  // a buffer of the given size
    ~WRec();
    WRec(const WRec &) = delete;
    WRec &operator=(const WRec &) = delete;

    uint8_t Flags() const { return flags_; }
    void SetFlags(uint8_t flags) { flags_ = flags; }
    bool Deleted() const { return (flags_ & RecordDeletedFlag) != 0; }

    uint32_t Link() const { return link_; }
    void SetLink(uint32_t link) { link_ = link; }

    uint16_t Length() const { return length_; }
    // Sets the data length. A length beyond Limit() raises ZError 11 naming the file and the
    // record's position, so a record read from a damaged file never overruns the buffer.
    void SetLength(uint32_t length, const AnsiString &fileName = AnsiString(), uint32_t position = 0);
    // Copies n bytes into the buffer and sets the length; the same check as SetLength.
    void Assign(const void *bytes, uint32_t n, const AnsiString &fileName = AnsiString(), uint32_t position = 0);

    // The buffer: Capacity() bytes, of which Length() hold the record's data.
    uint8_t *Data() { return data_; }
    const uint8_t *Data() const { return data_; }
    uint32_t Capacity() const { return capacity_; }
    // The largest length this record accepts: its capacity, at most MaxRecordLength.
    uint32_t Limit() const;

private:
    uint8_t flags_ = 0;
    uint32_t link_;
    uint16_t length_ = 0;
    uint8_t *data_;
    uint32_t capacity_;
};

// Raises ZError 11 for a record of the given length at the given file position that exceeds limit:
// arguments file name, "( " + length + ")", limit, position as eight upper-case hexadecimal digits.
[[noreturn]] void RaiseRecordTooLong(const AnsiString &fileName, uint32_t length, uint32_t limit, uint32_t position);
