// Editing the main file in place: clearing a logical file, deleting, replacing, inserting and moving
// records by relinking chains, appending. New records go to the data end; old ones are marked deleted
// and stay as dead space. Every changed header word and directory field is written at once.
//
// Each edit that writes at the data end, into a directory entry or into a record's header holds the
// writer lock, as a commit does: one writer at a time, in this program or another, and no commit
// lands while the edit writes. Under that hold it reads the data end and its logical file's entry from
// the disk again (those two alone, so an edit costs the same whatever the directory's size): another
// object or program may have committed or edited since this one read them, and writing at the data
// end this object remembered would overwrite that. The hold is a byte-range lock on the compound file
// itself (one lock call and its release per edit, no file made), so no other program's file stands
// in an edit's way.
//
// A new record is written first, then the data end that takes it in, and only then the links that
// point to it. A step that fails (a full disk, a reopen refused, a killed program) so leaves no link
// past the data end, where the next record written would land and a logical file would read another
// one's records, and a directory length that may already count the new record.
//
// Where one edit rewrites several links, what a stop between its writes leaves:
// - a replace (EditRecords 2 and 5, ReplaceRecords) links the new record in before, or in the same
//   write as, it cuts the old one out, so every record stays readable; in ReplaceRecords with b equal
//   to c the old record is read behind its replacement until it is marked deleted. A ReplaceRecords
//   whose a is not b's predecessor also moves the records between them behind c, and a stop can
//   leave those out of the chain as a move does;
// - a move (MoveRecord, MoveNextRecord) cannot be made by relinking alone without a moment at which
//   the moved records are out of the chain: a record has one link and a chain holds it once. They are
//   taken out first, then pointed to where they go, and linked in last: a stop leaves them out of the
//   chain as dead space, every other record readable and no chain closed into a ring.
#include <optional>
#include <string>
#include <utility>

#include "base/messages/zmsg.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/dwfile_internal.h"

using namespace dwfile_detail;

namespace {
constexpr uint32_t kFront = 0xFFFFFFFFu;  // EditRecords' stand-in for the directory entry
}

void WFile::HoldWriter()
{
    if (holding_)
        return;
    if (!writerLock_)
        writerLock_ = system_.OpenWriterLock(name_);
    if (!writerLock_->TryLock())
        RaiseWriterBusy(name_);
    holding_ = true;
}

void WFile::ReleaseWriterWhenIdle() noexcept
{
    // A chain begun by operation 6 keeps the hold until operation 8 links it in: until then it lies
    // beyond the data end, where another writer's commit would land. An appender holds until closing.
    const bool appending = !compound_ && mode_ == 5 && !closed_;
    if (!holding_ || temp_ || editDepth_ != 0 || chainLength_ != 0 || appending)
        return;
    writerLock_->Unlock();
    holding_ = false;
}

void WFile::BeginEdit(uint32_t n)
{
    if (editDepth_ != 0) {
        ++editDepth_;  // an edit inside another one: the outer one holds and has read
        return;
    }
    if (!compound_) {
        if (n != NoEntry)
            throw ZError("Файл " + name_ + " не является составным", 0);
        editDepth_ = 1;  // a record header of the simple form: nothing to read again
        return;
    }
    if (n != NoEntry)
        CheckFileNumber(n);
    CheckPlainWritable();
    HoldWriter();
    try {
        ReadHeaderAndEntry(n);
    } catch (...) {
        ReleaseWriterWhenIdle();
        throw;
    }
    editDepth_ = 1;
}

void WFile::EndEdit() noexcept
{
    --editDepth_;
    ReleaseWriterWhenIdle();
}

void WFile::CheckNoChain(const AnsiString &what) const
{
    // A chain that operations 6 and 7 are building lies at the data end, where a commit or a new
    // record would go.
    if (chainLength_ != 0)
        throw ZError(
            "Для файла " + name_ + " не завершена цепочка записей (операции 6 и 7 без 8): " + what + " невозможна", 0);
}

void WFile::CheckNoWrite(const AnsiString &what) const
{
    // A logical file being written ends by letting the writer lock go, which the chain needs until
    // operation 8; and its commit goes to the data end, where the chain lies.
    if (writing_ != NoWriting)
        throw ZError("Для файла " + name_ + " идёт запись лог. файла " + std::to_string(writing_) + ": " + what +
                         " невозможна до её окончания (EndWrite)",
                     0);
}

void WFile::ReadHeaderAndEntry(uint32_t n)
{
    uint8_t head[HeaderSize];
    main_->Seek(0);
    if (main_->Read(head, HeaderSize) != HeaderSize)
        Damaged("короче заголовка");
    if (LoadU32(head + 4) != header_[1]) {
        // Another file has taken this one's place: its whole directory is read.
        ReadHeaderAndDirectory();
        if (n != NoEntry)
            CheckFileNumber(n);
        return;
    }
    const uint32_t dataEnd = LoadU32(head);
    if (dataEnd < DataStart() || dataEnd > main_->Size())
        Damaged("конец данных " + std::to_string(dataEnd) + " лежит вне области данных");
    if (n == NoEntry) {
        header_[0] = dataEnd;
        return;
    }
    uint8_t entry[EntrySize];
    main_->Seek(EntryPositionAt(n));
    if (main_->Read(entry, EntrySize) != EntrySize)
        Damaged("каталог прочитан не полностью");
    header_[0] = dataEnd;
    directory_[2 * n] = LoadU32(entry);
    directory_[2 * n + 1] = LoadU32(entry + 4);
}

void WFile::ClearLogicalFile(uint32_t n)
{
    if (!compound_)
        throw ZError("Для файла " + name_ + " невозможна очистка логического файла", 0);
    CheckFileNumber(n);
    CheckPlainWritable();
    if (mode_ != 4)
        throw ZError(name_, 18);
    const EditScope edit(*this, n);
    if (directory_[2 * n + 1] == EmptyLogicalFileLength)
        return;
    const uint32_t first = directory_[2 * n];
    if (first < DataStart() || uint64_t(first) + EndRecordSize > header_[0])
        Damaged("начало лог. файла " + std::to_string(n) + " лежит вне области данных");
    PutU32At(EntryLengthAt(n), EmptyLogicalFileLength);
    directory_[2 * n + 1] = EmptyLogicalFileLength;
    PutAt(first, EndRecord, EndRecordSize);
    ReopenMain();
}

void WFile::ReadHeadAt(uint32_t position)
{
    if (position < DataStart() || uint64_t(position) + RecordHeaderSize > header_[0])
        Damaged("запись в позиции " + Hex8(position) + " лежит вне области данных");
    main_->Seek(position);
    if (main_->Read(scratch_, RecordHeaderSize) != RecordHeaderSize)
        Damaged("запись в позиции " + Hex8(position) + " обрезана");
}

uint32_t WFile::ScratchLength() const { return DecodeRecordHeader(scratch_).Length; }

uint32_t WFile::ScratchLink() const { return DecodeRecordHeader(scratch_).Link; }

uint32_t WFile::NextRecordPosition(uint32_t position)
{
    CheckPlainWritable();
    ReadHeadAt(position);
    return ScratchLink() != NoLink ? ScratchLink() : position + RecordHeaderSize + ScratchLength();
}

// The two header edits read a header, change it and write it back: under the hold, so that no other
// writer's link into the same header is lost between the read and the write.
uint32_t WFile::SetRecordLink(uint32_t position, uint32_t link, uint8_t flags)
{
    CheckPlainWritable();
    const EditScope edit(*this, NoEntry);
    ReadHeadAt(position);
    StoreU32(scratch_ + 1, link);
    scratch_[0] |= flags;
    PutAt(position, scratch_, RecordHeaderSize);
    ReopenMain();
    return ScratchLength();
}

uint32_t WFile::MarkRecord(uint32_t position, uint8_t flags)
{
    CheckPlainWritable();
    const EditScope edit(*this, NoEntry);
    ReadHeadAt(position);
    scratch_[0] |= flags;
    PutAt(position, scratch_, RecordHeaderSize);
    ReopenMain();
    return ScratchLength();
}

void WFile::SetFirstRecord(uint32_t n, uint32_t position)
{
    CheckPlainWritable();
    CheckFileNumber(n);
    const EditScope edit(*this, n);
    PutU32At(EntryPositionAt(n), position);
    directory_[2 * n] = position;
    ReopenMain();
}

void WFile::PatchRecordBytes(uint32_t position, uint32_t offset, const void *bytes, uint32_t count)
{
    CheckPlainWritable();
    if (position < DataStart() || uint64_t(position) + offset + count > header_[0])
        Damaged("изменение байтов в позиции " + Hex8(position) + " выходит за конец данных");
    PutAt(position + offset, bytes, count);
    main_->Seek(position);
    readPos_ = position;
}

void WFile::RewriteRecord(const WRec &record, uint32_t position)
{
    if (mode_ != 4)
        throw ZError("Файл " + name_ + " не открыт только для чтения/записи", 0);
    CheckPlainWritable();
    ReadHeadAt(position);
    if (scratch_[0] == RecordDeletedFlag)
        throw ZError(name_, 8);
    if (ScratchLength() != record.Length())
        throw ZError(name_, 16);
    PutAt(position + RecordHeaderSize, record.Data(), record.Length());
    if (record.Link() != NoLink) {
        main_->Seek(record.Link());
        readPos_ = record.Link();
    }
}

void WFile::PutRecordAt(uint32_t position, uint8_t flags, uint32_t link, uint32_t length, const uint8_t *data)
{
    CheckRecordToWrite(length, data);
    uint8_t head[RecordHeaderSize];
    EncodeRecordHeader(head, {flags, link, static_cast<uint16_t>(length)});
    PutAt(position, head, RecordHeaderSize);
    Put(*main_, data, length);
}

// The record that follows predecessor in chain n; predecessor 0 is the directory entry.
uint32_t WFile::Successor(uint32_t n, uint32_t predecessor)
{
    return predecessor == 0 ? directory_[2 * n] : NextRecordPosition(predecessor);
}

void WFile::LinkFrom(uint32_t n, uint32_t predecessor, uint32_t target)
{
    if (predecessor == 0)
        SetFirstRecord(n, target);
    else
        SetRecordLink(predecessor, target, 0);
}

// Changes directory[n].length and grows the data end, and writes both: the data end first, so that
// a failure in between leaves dead space rather than a length that counts bytes beyond the data end.
void WFile::GrowAndWrite(uint32_t n, int64_t lengthChange, uint32_t dataEndGrowth)
{
    const uint32_t length = static_cast<uint32_t>(directory_[2 * n + 1] + lengthChange);
    const uint32_t dataEnd = GrownDataEnd(dataEndGrowth);
    PutU32At(0, dataEnd);
    header_[0] = dataEnd;
    PutU32At(EntryLengthAt(n), length);
    directory_[2 * n + 1] = length;
    ReopenMain();
}

uint32_t WFile::EditRecords(int operation, uint32_t n, WRec &record, uint32_t link, uint32_t position)
{
    if (!compound_)
        throw ZError("Файл " + name_ + " не является составным", 0);
    CheckFileNumber(n);
    CheckPlainWritable();
    if (mode_ != 4 && (operation == 4 || operation == 5))
        throw ZError("Файл " + name_ + " не открыт только для чтения/записи", 0);
    if (mode_ != 4)
        throw ZError(name_, 18);
    if (operation == 6 || operation == 7)
        CheckNoWrite("цепочка записей (операции 6 и 7)");
    // A rewrite in place moves no data end and no directory entry; other numbers do nothing.
    std::optional<EditScope> edit;
    if (operation >= 1 && operation <= 8 && operation != 4)
        edit.emplace(*this, n);
    const uint32_t size = RecordHeaderSize + record.Length();
    switch (operation) {
    case 1: {
        const uint32_t old = MarkRecord(position, RecordDeletedFlag);
        PutU32At(EntryLengthAt(n), directory_[2 * n + 1] - (RecordHeaderSize + old));
        directory_[2 * n + 1] -= RecordHeaderSize + old;
        ReopenMain();
        SeekData(position);
        return position;
    }
    case 2: {
        CheckNoChain("запись в лог. файл " + std::to_string(n));
        ReadHeadAt(position);
        const uint32_t old = ScratchLength();
        const uint32_t at = header_[0];
        GrownDataEnd(size);
        PutRecordAt(at, record.Flags(), link, record.Length(), record.Data());
        GrowAndWrite(n, int64_t(size) - (RecordHeaderSize + old), size);
        SetRecordLink(position, at, RecordDeletedFlag);
        return at;
    }
    case 3: {
        CheckNoChain("запись в лог. файл " + std::to_string(n));
        if (position != kFront)
            ReadHeadAt(position);
        const uint32_t at = header_[0];
        GrownDataEnd(size);
        PutRecordAt(at, record.Flags(), link, record.Length(), record.Data());
        GrowAndWrite(n, size, size);
        LinkFrom(n, position == kFront ? 0 : position, at);
        return at;
    }
    case 4: RewriteRecord(record, position); return position;
    case 5: {
        ReadHeadAt(position);
        if (ScratchLength() == record.Length()) {
            RewriteRecord(record, position);
            return position;
        }
        const uint32_t next = ScratchLink() != NoLink ? ScratchLink() : position + RecordHeaderSize + ScratchLength();
        return EditRecords(2, n, record, next, position);
    }
    case 6: {
        const uint32_t at = header_[0];
        GrownDataEnd(size);
        PutRecordAt(at, record.Flags(), NoLink, record.Length(), record.Data());
        chainLength_ = size;
        return at;
    }
    case 7: {
        const uint32_t at = header_[0] + chainLength_;
        GrownDataEnd(uint64_t(chainLength_) + size);
        PutRecordAt(at, record.Flags(), NoLink, record.Length(), record.Data());
        chainLength_ += size;
        return at;
    }
    case 8: {
        const uint32_t first = header_[0];
        const uint32_t at = first + chainLength_;
        GrownDataEnd(uint64_t(chainLength_) + size);
        const uint32_t chain = chainLength_ + size;
        if (position != kFront)
            ReadHeadAt(position);
        PutRecordAt(at, record.Flags(), link, record.Length(), record.Data());
        chainLength_ = 0;
        GrowAndWrite(n, chain, chain);
        LinkFrom(n, position == kFront ? 0 : position, first);
        return first;
    }
    default: return NoLink;
    }
}

uint32_t WFile::InsertRecordAfter(uint32_t n, uint32_t a, WRec &record)
{
    CheckFileNumber(n);
    const EditScope edit(*this, n);
    return EditRecords(3, n, record, Successor(n, a), a == 0 ? kFront : a);
}

void WFile::MoveRecord(uint32_t n, uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    CheckFileNumber(n);
    CheckPlainWritable();
    const EditScope edit(*this, n);
    // Behind its own predecessor or its own last record the run stays where it is; relinking it would
    // close it into a ring out of the chain.
    if (b == a || b == c)
        return;
    const uint32_t afterRun = NextRecordPosition(c);
    const uint32_t afterB = Successor(n, b);
    LinkFrom(n, a, afterRun);
    SetRecordLink(c, afterB, 0);
    LinkFrom(n, b, d);
}

uint32_t WFile::MoveNextRecord(uint32_t n, uint32_t a, uint32_t b)
{
    CheckFileNumber(n);
    CheckPlainWritable();
    const EditScope edit(*this, n);
    const uint32_t x = Successor(n, a);
    if (a == b || x == a || x == b)
        return x;
    const uint32_t afterX = NextRecordPosition(x);
    const uint32_t afterB = Successor(n, b);
    LinkFrom(n, a, afterX);
    SetRecordLink(x, afterB, 0);
    LinkFrom(n, b, x);
    return x;
}

uint32_t WFile::ReplaceRecords(uint32_t n, WRec &record, uint32_t a, uint32_t b, uint32_t c)
{
    CheckFileNumber(n);
    CheckPlainWritable();
    if (mode_ != 4)
        throw ZError(name_, 18);
    const EditScope edit(*this, n);
    CheckNoChain("запись в лог. файл " + std::to_string(n));
    if (c == a)
        return EditRecords(2, n, record, NextRecordPosition(b), b);
    const uint32_t afterA = Successor(n, a);
    const uint32_t afterB = NextRecordPosition(b);
    const uint32_t afterC = NextRecordPosition(c);
    const uint32_t size = RecordHeaderSize + record.Length();
    ReadHeadAt(b);
    const uint32_t old = ScratchLength();
    const uint32_t at = header_[0];
    GrownDataEnd(size);
    PutRecordAt(at, record.Flags(), b != c ? afterB : afterA, record.Length(), record.Data());
    GrowAndWrite(n, int64_t(size) - (RecordHeaderSize + old), size);
    LinkFrom(n, a, at);
    SetRecordLink(b, afterC, RecordDeletedFlag);
    if (b != c)
        SetRecordLink(c, afterA, 0);
    return at;
}

// Position of the last data record of logical file n, 0 when it has none.
uint32_t WFile::LastDataRecord(uint32_t n)
{
    WRec head;
    uint32_t last = 0;
    OpenLogicalFile(n);
    while (ReadNext(head, true))
        last = recordPos_;
    return last;
}

void WFile::AppendRecord(uint32_t n, WRec &record)
{
    if (!compound_)
        throw ZError("Файл " + name_ + " не является составным", 0);
    CheckFileNumber(n);
    const EditScope edit(*this, n);
    const uint32_t last = LastDataRecord(n);
    InsertRecordAfter(n, last, record);
}

void WFile::AppendLogicalFile(uint32_t n, const AnsiString &sourceName)
{
    if (!compound_)
        throw ZError("Файл " + name_ + " не является составным", 0);
    CheckFileNumber(n);
    CheckPlainWritable();
    if (mode_ != 4)
        throw ZError(name_, 18);
    const EditScope edit(*this, n);
    CheckNoChain("запись в лог. файл " + std::to_string(n));
    const uint32_t last = LastDataRecord(n);
    const uint32_t follow = Successor(n, last);
    WFile source(sourceName, SimpleMode::Read);
    // The bytes to copy are measured first, so that a copy the data end cannot take in is refused
    // before anything is written.
    WRec one, two;
    uint64_t total = 0;
    while (source.ReadNext(one, true))
        total += RecordHeaderSize + one.Length();
    if (total == 0)
        return;  // nothing to append
    GrownDataEnd(total);
    source.SeekData(0);
    WRec *current = &one, *next = &two;
    source.ReadRecord(*current);
    const uint32_t first = header_[0];
    uint32_t copied = 0;
    for (;;) {
        // The last record copied links back into the chain; the others follow one another.
        const bool more = source.ReadRecord(*next);
        PutRecordAt(first + copied, current->Flags(), more ? NoLink : follow, current->Length(), current->Data());
        copied += RecordHeaderSize + current->Length();
        if (!more)
            break;
        std::swap(current, next);
    }
    GrowAndWrite(n, copied, copied);
    LinkFrom(n, last, first);
}
