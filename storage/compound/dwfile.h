#pragma once
// The compound file: N numbered logical files, each a chain of physical records, behind an 8-byte
// header (data end, N) and an 8N-byte directory ({first record position, length} per logical file).
// Also the simple form: one bare chain of records from position 0. Files are reached through the
// process-wide store system (storage/wstore.h); a file may be scrambled with a per-file key, which
// only reading undoes.
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "storage/compound/drec.h"
#include "storage/compound/dwfile_layout.h"
#include "storage/compound/sqmtver.h"
#include "storage/compound/wstore.h"

// Open modes of the simple form.
enum class SimpleMode : uint8_t {
    Read = 1,
    CreateAsk = 2,  // create, asking before replacing an existing file
    Create = 3,     // create, replacing an existing file silently
    ReadWrite = 4,
    Append = 5,  // read and write, new records replace the end record
};

// Failures a WFile destructor met while it committed or closed (a destructor does not raise): the
// texts since the last call, "; "-separated, and empties the record.
AnsiString TakeWFileCloseFailures();

// Address of a logical record: the physical record's file position and the offset inside its data.
struct LogicalAddress {
    uint32_t position = 0;
    uint32_t offset = 0;
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
    // Closing without raising: what Close would raise is recorded for TakeWFileCloseFailures.
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

    // Finishes writing and closes the file, raising what goes wrong: a logical file still being
    // written is committed (discarded when a write into it raised) and reported as not closed; the
    // simple form's pending logical records are written and the file is flushed to the disk. The
    // object is closed even when this raises: every later operation on its file raises, and its
    // destructor has nothing left to write.
    void Close();

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

    // --- Writing a logical file: into the temporary file name + "$$", then committed by copying it
    // to the data end as it stands on disk at the commit and rewriting its directory entry and the
    // data end. From BeginWrite to the end of the commit this object holds the compound file's writer
    // lock (and the temporary file, alone), so one writer at a time writes a compound file: while
    // another writer, in this program or another, holds it, BeginWrite raises. A logical file into
    // which a write raised is never committed: EndWrite with commit and closing discard it. Simple
    // form: each record is written at the data end together with a new end record behind it, in one
    // write, so that the file ends with an end record whenever the program stops; a file opened for
    // Append holds the writer lock from opening to closing, so a second appender, in this program or
    // another, is refused at opening. Scrambled files are never written.
    void BeginWrite(uint32_t n);
    // Returns the record's offset inside the logical file being written.
    uint32_t WriteRecord(uint8_t flags, uint32_t length, const void *data);
    uint32_t WriteRec(WRec &record);
    uint32_t WriteTextRecord(const AnsiString &text);
    // Rewrites a record already written at offset; only the first limit bytes of its data when limit
    // is not 0 and smaller than its length.
    void WriteRecordAt(uint32_t offset, WRec &record, uint32_t limit = 0);
    void EndWrite(uint32_t n, bool commit);
    // Writes the record at the main file's position: a commit's step on a compound file, refused there
    // outside a commit (it would write where no writer lock guards).
    uint32_t CopyRecordToMain(const WRec &record);
    bool Writing() const { return writing_ != NoWriting; }

    // Simple form: appends at the data end; positions reading on the end record.
    uint32_t AppendSimpleRecord(WRec &record);
    void SeekToEndRecord();

    // --- Editing the main file in place (compound files opened for reading and writing). An edit
    // that writes at the data end, into a directory entry or into a record's header holds the writer
    // lock as a commit does, and is refused the same way while another writer holds it; under that
    // hold it reads the data end (and the entry of its logical file) from the disk again, so that it
    // writes behind what another writer committed since this object read them. A chain built by
    // operations 6 and 7 keeps the hold until operation 8 links it in (or the object closes); until
    // then this object's writes that would land on it (a logical file, a new record) are refused, and
    // while this object writes a logical file a chain is not begun.
    void ClearLogicalFile(uint32_t n);
    uint32_t NextRecordPosition(uint32_t position);
    uint32_t SetRecordLink(uint32_t position, uint32_t link, uint8_t flags);
    uint32_t MarkRecord(uint32_t position, uint8_t flags);
    void SetFirstRecord(uint32_t n, uint32_t position);
    void PatchRecordBytes(uint32_t position, uint32_t offset, const void *bytes, uint32_t count);
    void RewriteRecord(const WRec &record, uint32_t position);
    void ReopenMain();
    // Operations: 1 delete, 2 replace, 3 insert, 4 rewrite, 5 rewrite or replace, 6 begin a chain at
    // the data end, 7 continue it, 8 end it and link it in. Position 0xFFFFFFFF stands for the
    // directory entry where an operation links a predecessor.
    uint32_t EditRecords(int operation, uint32_t n, WRec &record, uint32_t link, uint32_t position);
    // In these, a predecessor 0 means the directory entry (the front of the chain).
    uint32_t InsertRecordAfter(uint32_t n, uint32_t a, WRec &record);
    void MoveRecord(uint32_t n, uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    uint32_t MoveNextRecord(uint32_t n, uint32_t a, uint32_t b);
    uint32_t ReplaceRecords(uint32_t n, WRec &record, uint32_t a, uint32_t b, uint32_t c);
    void AppendRecord(uint32_t n, WRec &record);
    void AppendLogicalFile(uint32_t n, const AnsiString &sourceName);

    // --- Logical records: many small records packed into the physical records of one logical file,
    // never across two. Framing: mode 0 the bytes and then the delimiter (a delimiter is given, no
    // fixed length); mode 1 a u16 length and the bytes (empty delimiter, no fixed length); mode 2
    // exactly the fixed number of bytes (a fixed length of 0 or more). A negative fixed length means
    // none. Returns the logical file's length (compound) or the data end (simple form).
    uint32_t BeginReadRecords(uint32_t n, const AnsiString &delimiter, int32_t fixedLength);
    uint32_t BeginReadRecords(uint32_t n, const AnsiString &delimiter) { return BeginReadRecords(n, delimiter, -1); }
    uint32_t BeginReadRecords(uint32_t n, int32_t fixedLength)
    {
        return BeginReadRecords(n, AnsiString(), fixedLength);
    }
    // The next logical record (or, with an address, the one there) as a pointer into the read buffer,
    // valid until the next read; false with length 0 at the end of the logical file.
    bool ReadLogicalRecord(const uint8_t *&data, uint32_t &length, const LogicalAddress *address = nullptr);
    // Copying forms: the buffer must hold MaxRecordLength bytes.
    bool ReadLogicalRecordCopy(void *buffer, uint32_t &length);
    uint32_t ReadLogicalRecordInto(void *buffer);
    uint32_t ReadLogicalRecordPtr(const uint8_t *&data);
    uint32_t ReadLogicalRecordAt(const uint8_t *&data, const LogicalAddress &address);
    // Address of the logical record returned last.
    LogicalAddress CurrentLogicalAddress() const { return current_; }

    void BeginWriteRecords(uint32_t n, const AnsiString &delimiter, int32_t fixedLength);
    void BeginWriteRecords(uint32_t n, const AnsiString &delimiter) { BeginWriteRecords(n, delimiter, -1); }
    void BeginWriteRecords(uint32_t n, int32_t fixedLength) { BeginWriteRecords(n, AnsiString(), fixedLength); }
    void WriteLogicalRecord(const void *data, uint32_t length);
    void FlushLogicalRecords();
    void EndWriteRecords(uint32_t n);

    // --- The version stamp: the first record of logical file 0.
    // Compares the file's stamp with the program's (bits of CompareVersion) and keeps it in Version().
    uint32_t ReadVersion();
    void WriteVersion(const AnsiString &text);
    // ReadVersion, telling the user about another variant (when show) and about a file newer than
    // the program (when a name is given); text receives the file's version text.
    uint32_t CheckFileVersion(AnsiString &text, const AnsiString &name, bool show);
    const SQMTVER &Version() const { return version_; }

private:
    static constexpr uint32_t NoWriting = 0xFFFFFFFFu;
    static int FramingMode(const AnsiString &delimiter, int32_t fixedLength);
    [[noreturn]] void LogicalRecordDamaged() const;
    void OpenCompound(const AnsiString &name, int mode, uint32_t key);
    void ReadHeaderAndDirectory();
    uint32_t DataStart() const { return compound_ ? CompoundFile::EntryPositionAt(header_[1]) : 0; }
    bool ReadNext(WRec &record, bool headOnly);
    void Follow(uint32_t position);
    void ReadExactly(void *buffer, uint32_t n, uint32_t recordPosition);
    [[noreturn]] void Damaged(const AnsiString &what) const;
    AnsiString TempName() const { return name_ + "$$"; }
    void CheckFileNumber(uint32_t n) const;
    void CheckPlainWritable() const;
    void CheckRecordToWrite(uint32_t length, const uint8_t *data) const;
    void CheckSimpleWriteMode(const char *text) const;
    // The data end grown by growth bytes; refused with ZError 0 when it would pass 4 GB (positions
    // and the data end are 32-bit).
    uint32_t GrownDataEnd(uint64_t growth) const;
    void Put(WStore &store, const void *bytes, uint32_t n);
    void PutAt(uint32_t position, const void *bytes, uint32_t n);
    void PutU32At(uint32_t position, uint32_t value);
    void PutRecordAt(uint32_t position, uint8_t flags, uint32_t link, uint32_t length, const uint8_t *data);
    void ReadHeadAt(uint32_t position);
    uint32_t ScratchLength() const;
    uint32_t ScratchLink() const;
    uint32_t Successor(uint32_t n, uint32_t predecessor);
    void LinkFrom(uint32_t n, uint32_t predecessor, uint32_t target);
    void GrowAndWrite(uint32_t n, int64_t lengthChange, uint32_t dataEndGrowth);
    uint32_t LastDataRecord(uint32_t n);
    void CommitTemp(uint32_t n, WStore &source);
    void HoldWriter();
    // Lets the writer lock go unless a logical file, an edit, a chain or an appender still needs it.
    void ReleaseWriterWhenIdle() noexcept;
    void BeginEdit(uint32_t n);
    void EndEdit() noexcept;
    void ReadHeaderAndEntry(uint32_t n);
    void CheckNoChain(const AnsiString &what) const;
    void CheckNoWrite(const AnsiString &what) const;
    void DiscardTemp();
    void PutSimpleRecord(const uint8_t *head, const uint8_t *data, uint32_t length);
    void PutLastEndRecord(uint32_t position);
    void PutEndRecord(uint32_t position) noexcept;
    void FinishWriting(bool unwinding);
    void CloseQuietly() noexcept;

    // Marks the logical file being written as failed when the write it guards raises.
    class WriteGuard {
    public:
        explicit WriteGuard(WFile &file) : file_(file), uncaught_(std::uncaught_exceptions()) {}
        ~WriteGuard()
        {
            if (std::uncaught_exceptions() > uncaught_ && file_.writing_ != NoWriting)
                file_.writeFailed_ = true;
        }
        WriteGuard(const WriteGuard &) = delete;
        WriteGuard &operator=(const WriteGuard &) = delete;

    private:
        WFile &file_;
        int uncaught_;
    };

    // One in-place edit of logical file n: holds the writer lock (unless an outer edit or this
    // object's own write holds it) and reads the data end and entry n from the disk again. Without a
    // logical file, only the data end is read again, and on the simple form nothing is held.
    static constexpr uint32_t NoEntry = 0xFFFFFFFFu;
    class EditScope {
    public:
        EditScope(WFile &file, uint32_t n) : file_(file) { file.BeginEdit(n); }
        ~EditScope() { file_.EndEdit(); }
        EditScope(const EditScope &) = delete;
        EditScope &operator=(const EditScope &) = delete;

    private:
        WFile &file_;
    };

    uint32_t header_[2] = {0, 0};      // data end, N
    std::vector<uint32_t> directory_;  // position, length per logical file
    AnsiString name_;
    bool compound_ = true;
    WStoreSystem &system_;
    std::unique_ptr<WStore> main_;
    uint32_t readPos_ = 0xFFFFFFFFu;
    uint32_t recordPos_ = 0xFFFFFFFFu;
    uint32_t key_ = 0;
    uint8_t reportUnclosed_ = 1;
    uint8_t mode_ = 4;  // compound: 1 or 4; simple form: the simple mode
    std::unique_ptr<WStore> temp_;
    uint32_t writeOffset_ = 0;
    uint32_t tempLength_ = 0;
    uint32_t writeBase_ = 0;  // simple form: the file position of write offset 0
    uint32_t writing_ = NoWriting;
    bool writeFailed_ = false;  // a write into the logical file being written raised
    bool endMissing_ = false;   // simple form: the end record could not be put back after a failed write
    bool closed_ = false;
    std::vector<uint8_t> simpleOut_;  // simple form: a record and the end record behind it
    uint32_t chainLength_ = 0;
    std::unique_ptr<WWriterLock> writerLock_;  // opened at the first hold, kept until closing
    bool holding_ = false;                     // the writer lock is held
    bool committing_ = false;                  // a logical file is being copied into the main file
    int editDepth_ = 0;                        // edits in progress, an edit calling another one
    uint8_t scratch_[CompoundFile::RecordHeaderSize] = {};
    int uncaughtAtOpen_ = 0;  // exceptions in flight when the object was made

    // Reading logical records.
    std::unique_ptr<WRec> readBuffer_;
    uint32_t bufferPosition_ = 0xFFFFFFFFu;  // file position of the physical record in the buffer
    LogicalAddress current_;
    LogicalAddress next_;  // offset 0: a new physical record is to be read
    AnsiString delimiter_;
    uint32_t nextRecordPos_ = 0;
    int readMode_ = 0;
    uint32_t fixedLength_ = 0;
    // Writing logical records.
    std::unique_ptr<WRec> writeBuffer_;
    uint32_t fill_ = 0;
    AnsiString writeDelimiter_;
    uint32_t separatorLength_ = 0;
    int writeMode_ = 0;
    uint32_t writeFixedLength_ = 0;

    SQMTVER version_;
    // Bytes of records visited since reading was last positioned from outside: a chain cannot visit
    // more than the data area holds, so more means that it loops.
    uint64_t chainBytes_ = 0;
};
