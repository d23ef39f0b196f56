// Writing logical files through the temporary file and committing them; the simple form's writers;
// closing.
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include "base/messages/zmsg.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/dwfile_internal.h"

using namespace dwfile_detail;

namespace {
AnsiString g_closeFailures;

void RecordCloseFailure(const AnsiString &text)
{
    if (!g_closeFailures.empty())
        g_closeFailures += "; ";
    g_closeFailures += text;
}

// The file of a closed WFile: every operation raises.
class ClosedStore : public WStore {
public:
    explicit ClosedStore(AnsiString name) : name_(std::move(name)) {}
    const AnsiString &Name() const override { return name_; }
    uint32_t Read(void *, uint32_t) override { Refuse(); }
    uint32_t Write(const void *, uint32_t) override { Refuse(); }
    void Seek(uint32_t) override { Refuse(); }
    uint32_t Tell() override { Refuse(); }
    uint32_t Size() override { Refuse(); }
    void Flush() override { Refuse(); }
    void Truncate() override { Refuse(); }

private:
    [[noreturn]] void Refuse() const { throw ZError("Файл " + name_ + " закрыт", 0); }
    AnsiString name_;
};

// The refusal of a commit whose temporary file another program (not a writer: the writer lock is this
// object's) keeps open, such as a virus scanner or a backup tool.
[[noreturn]] void RaiseTempBusy(const AnsiString &name)
{
    throw ZError("Файл " + name + " не записан: его временный файл " + name +
                     "$$ занят другой программой; повторите запись позже",
                 0);
}
}  // namespace

void dwfile_detail::RaiseWriterBusy(const AnsiString &name)
{
    throw ZError("Файл " + name + " сейчас записывает другая программа; повторите запись позже", 0);
}

AnsiString TakeWFileCloseFailures()
{
    AnsiString out;
    out.swap(g_closeFailures);
    return out;
}

WFile::~WFile() { CloseQuietly(); }

void WFile::CloseQuietly() noexcept
{
    // A destructor must not raise: what Close would raise is recorded for TakeWFileCloseFailures.
    if (closed_)
        return;
    const bool unwinding = std::uncaught_exceptions() > uncaughtAtOpen_;
    try {
        FinishWriting(unwinding);
    } catch (const Exception &e) {
        RecordCloseFailure(e.Message());
    } catch (...) {
        RecordCloseFailure("Файл " + name_ + " закрыт с ошибкой");
    }
    if (temp_) {
        temp_.reset();
        try {
            system_.Delete(TempName());
        } catch (...) {}
    }
    // A chain of edits never linked in stays beyond the data end, dead.
    closed_ = true;
    writerLock_.reset();
    holding_ = false;
}

void WFile::Close()
{
    if (closed_)
        return;
    std::exception_ptr failure;
    try {
        FinishWriting(false);
        if (!compound_ && (mode_ == 2 || mode_ == 3 || mode_ == 5))
            main_->Flush();
    } catch (...) {
        failure = std::current_exception();
    }
    // Whatever failed, nothing is left half-done: a logical file still open is discarded.
    closed_ = true;
    writing_ = NoWriting;
    writeBuffer_.reset();
    fill_ = 0;
    if (temp_) {
        temp_.reset();
        try {
            system_.Delete(TempName());
        } catch (...) {}
    }
    chainLength_ = 0;
    writerLock_.reset();
    holding_ = false;
    main_ = std::make_unique<ClosedStore>(name_);
    if (failure)
        std::rethrow_exception(failure);
}

void WFile::FinishWriting(bool unwinding)
{
    if (compound_ && writing_ != NoWriting) {
        const uint32_t n = writing_;
        if (unwinding) {
            // Half-made while the caller fails: discarded.
            EndWrite(n, false);
            return;
        }
        if (!writeFailed_)
            FlushLogicalRecords();
        // A logical file into which a write raised is discarded here, and that is raised.
        EndWrite(n, true);
        if (reportUnclosed_)
            throw ZError("Для файла " + name_ + " не выполнено закрытие файла " + std::to_string(n), 0);
    }
    if (!compound_ && (mode_ == 2 || mode_ == 3 || mode_ == 5)) {
        if (!unwinding)
            FlushLogicalRecords();
        if (endMissing_) {
            PutLastEndRecord(header_[0]);
            endMissing_ = false;
        }
    }
}

void WFile::CheckFileNumber(uint32_t n) const
{
    if (n >= header_[1])
        throw ZError("Для файла " + name_ + " неверен номер лог. файла " + std::to_string(n), 0);
}

void WFile::CheckPlainWritable() const
{
    // Writers write plain bytes: into a scrambled file they would mix plain and scrambled records.
    if (key_ != 0)
        throw ZError("Файл " + name_ + " зашифрован: запись в него невозможна", 0);
}

void WFile::CheckRecordToWrite(uint32_t length, const uint8_t *data) const
{
    if (length == 0)
        throw ZError("Для файла " + name_ + " задана нулевая длина записи", 0);
    if (length > MaxRecordLength)
        RaiseRecordTooLong(name_, length, MaxRecordLength, writeOffset_);
    // A data record of the single byte "@" would read as the end of its chain.
    if (IsEndRecordData(length, data))
        throw ZError("Для файла " + name_ + " запись из одного байта \"@\" невозможна: она читается как конец файла",
                     0);
}

uint32_t WFile::GrownDataEnd(uint64_t growth) const
{
    const uint64_t end = uint64_t(header_[0]) + growth;
    if (end > 0xFFFFFFFFu)
        throw ZError("Файл " + name_ + " не может вырасти на " + std::to_string(growth) +
                         " байт: конец данных превысил бы 4 Гбайт",
                     0);
    return static_cast<uint32_t>(end);
}

void WFile::CheckSimpleWriteMode(const char *text) const
{
    if (mode_ != 2 && mode_ != 3 && mode_ != 5)
        throw ZError("Файл " + name_ + text, 0);
}

void WFile::Put(WStore &store, const void *bytes, uint32_t n)
{
    if (store.Write(bytes, n) != n)
        throw ZError("Для файла " + store.Name() + " запись выполнена не полностью", 0);
}

void WFile::PutAt(uint32_t position, const void *bytes, uint32_t n)
{
    main_->Seek(position);
    Put(*main_, bytes, n);
}

void WFile::PutU32At(uint32_t position, uint32_t value)
{
    uint8_t b[4];
    StoreU32(b, value);
    PutAt(position, b, 4);
}

void WFile::BeginWrite(uint32_t n)
{
    if (!compound_)
        throw ZError("Файл " + name_ + " не является составным", 0);
    CheckFileNumber(n);
    CheckPlainWritable();
    CheckNoChain("запись лог. файла " + std::to_string(n));
    if (writing_ != NoWriting) {
        const uint32_t m = writing_;
        EndWrite(m, true);
        if (reportUnclosed_)
            throw ZError("Для файла " + name_ + " не выполнено закрытие файла " + std::to_string(m), 0);
    }
    writeOffset_ = 0;
    tempLength_ = 0;
    // Held until the commit is done: two writers never share the temporary file, and no other writer
    // can move the data end while this one copies. The temporary file is this object's alone too, so
    // that nothing else changes the records on their way.
    HoldWriter();
    try {
        temp_ = system_.CreateHeld(TempName());
    } catch (...) {
        ReleaseWriterWhenIdle();
        throw;
    }
    if (!temp_) {
        ReleaseWriterWhenIdle();
        RaiseTempBusy(name_);
    }
    writing_ = n;
    writeFailed_ = false;
}

uint32_t WFile::WriteRecord(uint8_t flags, uint32_t length, const void *data)
{
    const WriteGuard guard(*this);
    if (compound_ && !temp_)
        throw ZError("Невозможна запись в несуществующий файл TMP", 0);
    if (!compound_)
        CheckSimpleWriteMode(" не открыт только для записи или дозаписи");
    const auto *bytes = static_cast<const uint8_t *>(data);
    CheckRecordToWrite(length, bytes);
    uint8_t head[RecordHeaderSize];
    EncodeRecordHeader(head, {flags, NoLink, static_cast<uint16_t>(length)});
    if (compound_) {
        temp_->Seek(tempLength_);
        Put(*temp_, head, RecordHeaderSize);
        Put(*temp_, bytes, length);
        tempLength_ += RecordHeaderSize + length;
    } else {
        PutSimpleRecord(head, bytes, length);
    }
    const uint32_t offset = writeOffset_;
    writeOffset_ += RecordHeaderSize + length;
    return offset;
}

uint32_t WFile::WriteRec(WRec &record)
{
    if (!compound_)
        CheckSimpleWriteMode(" не открыт для записи или дозаписи");
    record.SetLink(NoLink);
    return WriteRecord(record.Flags(), record.Length(), record.Data());
}

uint32_t WFile::WriteTextRecord(const AnsiString &text)
{
    const WriteGuard guard(*this);
    if (!compound_)
        CheckSimpleWriteMode(" не открыт для записи или дозаписи");
    if (text.size() + 2 > MaxRecordLength)
        RaiseRecordTooLong(name_, static_cast<uint32_t>(text.size() + 2), MaxRecordLength, writeOffset_);
    std::basic_string<uint8_t> data(2, 0);
    StoreU16(data.data(), static_cast<uint16_t>(text.size()));
    data.append(text.begin(), text.end());
    return WriteRecord(0, static_cast<uint32_t>(data.size()), data.data());
}

void WFile::WriteRecordAt(uint32_t offset, WRec &record, uint32_t limit)
{
    const WriteGuard guard(*this);
    if (compound_ && !temp_)
        throw ZError("Невозможна запись в несуществующий файл TMP", 0);
    if (!compound_ && mode_ != 2 && mode_ != 5)
        throw ZError("Файл " + name_ + " не открыт для записи или дозаписи", 0);
    CheckRecordToWrite(record.Length(), record.Data());
    // Only a record already written may be rewritten: the chain behind it must stay intact.
    if (uint64_t(offset) + RecordHeaderSize + record.Length() > writeOffset_)
        throw ZError("Для файла " + name_ + " неверно задано смещение записи " + std::to_string(offset), 0);
    record.SetLink(NoLink);
    uint8_t head[RecordHeaderSize];
    EncodeRecordHeader(head, {record.Flags(), NoLink, record.Length()});
    const uint32_t count = (limit != 0 && limit < record.Length()) ? limit : record.Length();
    WStore &target = compound_ ? *temp_ : *main_;
    target.Seek(compound_ ? offset : writeBase_ + offset);
    Put(target, head, RecordHeaderSize);
    Put(target, record.Data(), count);
    target.Seek(compound_ ? tempLength_ : header_[0]);
}

void WFile::EndWrite(uint32_t n, bool commit)
{
    if (!compound_)
        throw ZError("Файл " + name_ + " не является составным", 0);
    if (!temp_)
        throw ZError("Закрытие файла невозможно для несуществующего файла TMP$", 0);
    if (writing_ == NoWriting)
        throw ZError("Для файла " + name_ + " не выполнено создание файла " + std::to_string(n), 0);
    if (writing_ != n) {
        const uint32_t m = writing_;
        EndWrite(m, commit);
        throw ZError("Для файла " + name_ + " ошибочно задан номер файла " + std::to_string(n) + " вместо " +
                         std::to_string(m),
                     0);
    }
    if (!commit || writeFailed_) {
        // Discarding writes nothing, so it cannot fail on a full disk. A logical file into which a
        // write raised is half-made: it is discarded even when a commit is asked for.
        DiscardTemp();
        if (commit)
            throw ZError("Для файла " + name_ + " лог. файл " + std::to_string(n) +
                             " не записан: при его записи произошла ошибка, прежнее содержимое сохранено",
                         0);
        return;
    }
    {
        const WriteGuard guard(*this);
        temp_->Seek(tempLength_);
        Put(*temp_, EndRecord, EndRecordSize);
    }
    writeOffset_ += EndRecordSize;
    tempLength_ += EndRecordSize;
    // The temporary file stays held until the directory entry is written. On a failure from here on
    // it stays on disk, and the header and the directory still describe the old contents: whatever
    // was copied lies beyond the data end, dead.
    std::unique_ptr<WStore> source = std::move(temp_);
    writing_ = NoWriting;
    try {
        CommitTemp(n, *source);
    } catch (...) {
        ReleaseWriterWhenIdle();
        throw;
    }
    source.reset();
    system_.Delete(TempName());
    ReleaseWriterWhenIdle();
}

void WFile::DiscardTemp()
{
    temp_.reset();
    writing_ = NoWriting;
    writeFailed_ = false;
    // Logical records still buffered belong to the discarded file.
    writeBuffer_.reset();
    fill_ = 0;
    system_.Delete(TempName());
    ReleaseWriterWhenIdle();
}

void WFile::CommitTemp(uint32_t n, WStore &source)
{
    if (mode_ != 4)
        throw ZError("Файл " + name_ + " не открыт только для записи", 0);
    // Another writer may have committed since this object read the header: the chain goes to the data
    // end as it stands on disk now, and the directory is taken from there as well. No other commit
    // can come in between: each one holds the temporary file this object holds.
    ReadHeaderAndDirectory();
    GrownDataEnd(tempLength_);  // the chain must fit below 4 GB before the main file is written
    struct Committing {
        bool &flag;
        explicit Committing(bool &f) : flag(f) { flag = true; }
        ~Committing() { flag = false; }
    } committing(committing_);
    writeOffset_ = 0;
    source.Seek(0);
    SeekData(header_[0]);
    WRec record;
    for (;;) {
        uint8_t head[RecordHeaderSize];
        if (source.Read(head, RecordHeaderSize) != RecordHeaderSize)
            throw ZError("Файл " + source.Name() + " обрезан: нет записи конца", 0);
        const RecordHeader header = DecodeRecordHeader(head);
        record.SetFlags(header.Flags);
        record.SetLink(header.Link);
        record.SetLength(header.Length, source.Name(), source.Tell() - RecordHeaderSize);
        if (source.Read(record.Data(), record.Length()) != record.Length())
            throw ZError("Файл " + source.Name() + " обрезан: нет записи конца", 0);
        CopyRecordToMain(record);
        if (IsEndRecordData(record.Length(), record.Data()))
            break;
    }
    const uint32_t oldEnd = header_[0];
    const uint32_t newEnd = oldEnd + writeOffset_;
    PutU32At(0, newEnd);
    header_[0] = newEnd;
    uint8_t entry[EntrySize];
    StoreU32(entry, oldEnd);
    StoreU32(entry + 4, writeOffset_);
    PutAt(EntryPositionAt(n), entry, EntrySize);
    directory_[2 * n] = oldEnd;
    directory_[2 * n + 1] = writeOffset_;
    ReopenMain();
}

uint32_t WFile::CopyRecordToMain(const WRec &record)
{
    if (mode_ != 4)
        throw ZError("Файл " + name_ + " не открыт только для записи", 0);
    if (compound_ && !committing_)
        throw ZError("Для файла " + name_ +
                         " запись в основной файл возможна только при закрытии лог. файла (EndWrite): "
                         "вне его она легла бы на записи другой программы",
                     0);
    uint8_t head[RecordHeaderSize];
    EncodeRecordHeader(head, {record.Flags(), record.Link(), record.Length()});
    Put(*main_, head, RecordHeaderSize);
    Put(*main_, record.Data(), record.Length());
    if (!compound_)
        header_[0] += RecordHeaderSize + record.Length();
    const uint32_t offset = writeOffset_;
    writeOffset_ += RecordHeaderSize + record.Length();
    return offset;
}

void WFile::ReopenMain()
{
    // A fresh handle: what was written has reached the file for every other opener. The new handle
    // is opened before the old one closes, so a refusal leaves the object with a working file.
    std::unique_ptr<WStore> fresh = system_.Open(name_, 4);
    main_ = std::move(fresh);
}

void WFile::PutSimpleRecord(const uint8_t *head, const uint8_t *data, uint32_t length)
{
    // The record and a new end record behind it go to the file in one write over the old end record:
    // whenever the program stops, the file ends with an end record and every record before it reads.
    const uint32_t size = RecordHeaderSize + length + EndRecordSize;
    GrownDataEnd(size);
    simpleOut_.resize(size);
    std::memcpy(simpleOut_.data(), head, RecordHeaderSize);
    std::memcpy(simpleOut_.data() + RecordHeaderSize, data, length);
    std::memcpy(simpleOut_.data() + RecordHeaderSize + length, EndRecord, EndRecordSize);
    const uint32_t at = header_[0];
    try {
        PutAt(at, simpleOut_.data(), size);
    } catch (...) {
        // A write cut short may have broken the old end record: it is put back, and whatever the write
        // left behind it is cut off.
        PutEndRecord(at);
        throw;
    }
    header_[0] = at + RecordHeaderSize + length;
}

void WFile::PutLastEndRecord(uint32_t position)
{
    PutAt(position, EndRecord, EndRecordSize);
    // A write cut short may have left bytes behind it, and Append takes only a file that ends with
    // its end record.
    if (main_->Size() > uint64_t(position) + EndRecordSize)
        main_->Truncate();
}

void WFile::PutEndRecord(uint32_t position) noexcept
{
    try {
        PutLastEndRecord(position);
        endMissing_ = false;
    } catch (...) {
        endMissing_ = true;  // closing tries again
    }
}

uint32_t WFile::AppendSimpleRecord(WRec &record)
{
    if (compound_)
        throw ZError("Файл " + name_ + " должен быть простым", 0);
    return WriteRec(record);
}

void WFile::SeekToEndRecord()
{
    if (compound_)
        throw ZError("Файл " + name_ + " должен быть простым", 0);
    // In the writing modes the data end is the position of the end record.
    const uint32_t at =
        (mode_ == 1 || mode_ == 4) && header_[0] >= EndRecordSize ? header_[0] - EndRecordSize : header_[0];
    main_->Seek(at);
    readPos_ = recordPos_ = at;
}
