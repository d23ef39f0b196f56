#pragma once
// The compound file: N numbered logical files, each a chain of physical records, behind an 8-byte
// header (data end, N) and an 8N-byte directory ({first record position, length} per logical file).
// Also the simple form: one bare chain of records from position 0. Files are reached through the
// process-wide store system (storage/wstore.h); a file may be scrambled with a per-file key, which
// only reading undoes.
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/AnsiString.h"
#include "storage/drec.h"
#include "storage/wstore.h"

// Open modes of the simple form.
enum class SimpleMode : uint8_t {
    Read = 1,
    CreateAsk = 2,  // create, asking before replacing an existing file
    Create = 3,     // create, replacing an existing file silently
    ReadWrite = 4,
    Append = 5,  // read and write, new records replace the end record
};

class WFile {
public:
    // Compound file, read and write, plain.
    explicit WFile(const AnsiString &name);
    // Compound file, read and write, scrambled with key (0: plain).
    WFile(const AnsiString &name, uint32_t key);
    // Simple form.
    WFile(const AnsiString &name, SimpleMode mode);
    // Compound file, read only, plain, whatever the flag says.
    WFile(const AnsiString &name, bool readOnly);
    ~WFile();
    WFile(const WFile &) = delete;
    WFile &operator=(const WFile &) = delete;

    const AnsiString &Name() const { return name_; }
    bool Compound() const { return compound_; }
    uint32_t DataEnd() const { return header_[0]; }
    uint32_t FileCount() const { return header_[1]; }
    uint32_t Key() const { return key_; }
    // Directory entry n (compound files).
    uint32_t EntryPosition(uint32_t n) const { return directory_.at(2 * n); }
    uint32_t EntryLength(uint32_t n) const { return directory_.at(2 * n + 1); }

    // Reads header and directory again from the start of the main file.
    void ReloadDirectory();

    // Positions reading at the first record of logical file n; returns its length (8: empty).
    uint32_t OpenLogicalFile(uint32_t n);
    uint32_t OpenLogicalFileAt(uint32_t n, uint32_t &firstPosition);

    // The next data record of the chain into record; false at the end record, where reading stays.
    bool ReadRecord(WRec &record);
    // Moves reading to position: beyond the data end ZError 10; below the data area ZError 0.
    void SeekData(uint32_t position);
    // The same without any bound test.
    void SeekRaw(uint32_t position);
    bool ReadRecordAt(uint32_t position, WRec &record);
    // Reads the record at position and returns the read position after it.
    uint32_t ReadRecordNext(uint32_t position, WRec &record);
    // Header and first data byte of the record at position (deleted records skipped); returns the
    // position of the record found.
    uint32_t ReadRecordHeadAt(uint32_t position, WRec &record);
    // One record at the main file's position as stored: nothing skipped, nothing unscrambled; false
    // when not a byte of a header is left.
    bool ReadRawRecord(WRec &record);

    uint32_t ReadPosition() const { return readPos_; }
    uint32_t RecordPosition() const { return recordPos_; }

private:
    void OpenCompound(const AnsiString &name, int mode, uint32_t key);
    void ReadHeaderAndDirectory();
    uint32_t DataStart() const { return compound_ ? 8 + 8 * header_[1] : 0; }
    bool ReadNext(WRec &record, bool headOnly);
    void Follow(uint32_t position);
    void ReadExactly(void *buffer, uint32_t n, uint32_t recordPosition);
    [[noreturn]] void Damaged(const AnsiString &what) const;

    uint32_t header_[2] = {0, 0};     // data end, N
    std::vector<uint32_t> directory_;  // position, length per logical file
    AnsiString name_;
    bool compound_ = true;
    WStoreSystem &system_;
    std::unique_ptr<WStore> main_;
    uint32_t readPos_ = 0xFFFFFFFFu;
    uint32_t recordPos_ = 0xFFFFFFFFu;
    uint32_t key_ = 0;
    // Bytes of records visited since reading was last positioned from outside: a chain cannot visit
    // more than the data area holds, so more means that it loops.
    uint64_t chainBytes_ = 0;
};
