#include "storage/compound/dwfile.h"

#include <exception>
#include <string>

#include "base/messages/zmsg.h"
#include "storage/compound/dwfile_internal.h"
#include "storage/compound/scramble.h"

using namespace dwfile_detail;

WFile::WFile(const AnsiString &name) : system_(StoreSystem()), uncaughtAtOpen_(std::uncaught_exceptions())
{
    OpenCompound(name, 4, 0);
}

WFile::WFile(const AnsiString &name, uint32_t key) : system_(StoreSystem()), uncaughtAtOpen_(std::uncaught_exceptions())
{
    OpenCompound(name, 4, key);
}

WFile::WFile(const AnsiString &name, bool) : system_(StoreSystem()), uncaughtAtOpen_(std::uncaught_exceptions())
{
    OpenCompound(name, 1, 0);
}

WFile::WFile(const AnsiString &name, SimpleMode mode)
    : system_(StoreSystem()), uncaughtAtOpen_(std::uncaught_exceptions())
{
    const int m = static_cast<int>(mode);
    if (m < 1 || m > 5)
        throw 0;  // as SFile does for a mode it does not know
    compound_ = false;
    mode_ = static_cast<uint8_t>(m);
    readPos_ = recordPos_ = 0;
    main_ = system_.Open(name, m == 5 ? 4 : m);
    name_ = main_->Name();
    header_[1] = 1;
    if (mode == SimpleMode::Read || mode == SimpleMode::ReadWrite)
        header_[0] = main_->Size();
    if (mode == SimpleMode::Append) {
        // Each appender writes at the end it reads here: a second one would write over the first's
        // records. The hold lasts until closing; readers take none. The end is read under the hold,
        // so that an appender that closed just before it is not written over.
        HoldWriter();
        header_[0] = main_->Size();
        // New records replace the end record; a file that does not end in one is no simple file.
        uint8_t end[EndRecordSize];
        const bool ended =
            header_[0] >= EndRecordSize &&
            (main_->Seek(header_[0] - EndRecordSize), main_->Read(end, EndRecordSize) == EndRecordSize) &&
            IsEndRecordData(DecodeRecordHeader(end).Length, end + RecordHeaderSize);
        if (!ended)
            Damaged("не оканчивается записью конца");
        header_[0] -= EndRecordSize;
        main_->Seek(header_[0]);
        readPos_ = recordPos_ = header_[0];
    }
    // A new file is a readable empty chain from the start: records written later go in front of it.
    if (mode == SimpleMode::Create || mode == SimpleMode::CreateAsk)
        PutAt(0, EndRecord, EndRecordSize);
    writeBase_ = header_[0];
}

void WFile::OpenCompound(const AnsiString &name, int mode, uint32_t key)
{
    key_ = key;
    mode_ = static_cast<uint8_t>(mode);
    main_ = system_.Open(name, mode);
    name_ = main_->Name();
    ReadHeaderAndDirectory();
}

void WFile::ReadHeaderAndDirectory()
{
    // Everything read here is checked against the file's size before it is used, so a damaged or
    // wrongly keyed header is refused instead of allocating or reading outside the file.
    const uint32_t size = main_->Size();
    main_->Seek(0);
    uint8_t head[HeaderSize];
    if (main_->Read(head, HeaderSize) != HeaderSize)
        Damaged("короче заголовка");
    if (key_ != 0)
        XorBuffer16(head, HeaderSize, HeaderScrambleWord(key_));
    const uint32_t dataEnd = LoadU32(head);
    const uint32_t count = LoadU32(head + 4);
    const uint64_t dataStart = DataStartFor(count);
    if (dataStart > size)
        Damaged("задано " + std::to_string(count) + " лог. файлов, каталог не помещается в файл");
    if (dataEnd < dataStart || dataEnd > size)
        Damaged("конец данных " + std::to_string(dataEnd) + " лежит вне области данных");
    std::vector<uint8_t> raw(EntrySize * std::size_t(count));
    if (count != 0 && main_->Read(raw.data(), static_cast<uint32_t>(raw.size())) != raw.size())
        Damaged("каталог прочитан не полностью");
    if (key_ != 0)
        XorBuffer16(raw.data(), raw.size(), DirectoryScrambleWord(key_));
    std::vector<uint32_t> directory(2 * std::size_t(count));
    for (std::size_t i = 0; i < directory.size(); ++i)
        directory[i] = LoadU32(raw.data() + 4 * i);
    header_[0] = dataEnd;
    header_[1] = count;
    directory_ = std::move(directory);
    readPos_ = recordPos_ = 0xFFFFFFFFu;
}

void WFile::ReloadDirectory()
{
    if (!compound_)
        throw ZError("Файл " + name_ + " не является составным", 0);
    ReadHeaderAndDirectory();
}

void WFile::Damaged(const AnsiString &what) const { throw ZError("Файл " + name_ + " повреждён: " + what, 0); }

uint32_t WFile::OpenLogicalFileAt(uint32_t n, uint32_t &firstPosition)
{
    if (!compound_)
        throw ZError("Для файла " + name_ + " невозможна открытие логического файла", 0);
    if (n >= header_[1])
        throw ZError("Для файла " + name_ + " неверен номер лог. файла " + std::to_string(n), 0);
    const uint32_t first = directory_[2 * n];
    if (first < DataStart() || first >= header_[0])
        Damaged("начало лог. файла " + std::to_string(n) + " лежит вне области данных");
    SeekData(first);
    recordPos_ = first;
    firstPosition = first;
    return directory_[2 * n + 1];
}

uint32_t WFile::OpenLogicalFile(uint32_t n)
{
    uint32_t first;
    return OpenLogicalFileAt(n, first);
}

void WFile::SeekData(uint32_t position)
{
    Follow(position);
    chainBytes_ = 0;
}

void WFile::SeekRaw(uint32_t position)
{
    main_->Seek(position);
    readPos_ = position;
    chainBytes_ = 0;
}

void WFile::Follow(uint32_t position)
{
    if (position > header_[0])
        throw ZError(name_ + "|" + std::to_string(position), 10);
    if (position < DataStart())
        Damaged("позиция " + std::to_string(position) + " лежит перед областью данных");
    main_->Seek(position);
    readPos_ = position;
}

void WFile::ReadExactly(void *buffer, uint32_t n, uint32_t recordPosition)
{
    if (main_->Read(buffer, n) != n)
        Damaged("запись в позиции " + Hex8(recordPosition) + " обрезана");
}

bool WFile::ReadRecord(WRec &record) { return ReadNext(record, false); }

bool WFile::ReadNext(WRec &record, bool headOnly)
{
    const uint64_t dataSize = header_[0] - DataStart();
    for (;;) {
        recordPos_ = readPos_;
        const uint32_t at = recordPos_;
        if (at < DataStart())
            Damaged("позиция " + std::to_string(at) + " лежит перед областью данных");
        if (uint64_t(at) + RecordHeaderSize > header_[0])
            Damaged("запись в позиции " + Hex8(at) + " выходит за конец данных");
        main_->Seek(at);
        uint8_t head[RecordHeaderSize];
        ReadExactly(head, RecordHeaderSize, at);
        const uint32_t word = key_ != 0 ? RecordScrambleWord(at, key_) : 0;
        if (key_ != 0)
            XorBuffer16(head, RecordHeaderSize, word);
        const auto [flags, link, length] = DecodeRecordHeader(head);
        if (length == 0)
            throw ZError(name_ + "|( " + Hex8(at), 9);
        if (length > MaxRecordLength)
            RaiseRecordTooLong(name_, length, MaxRecordLength, at);
        if (uint64_t(at) + RecordHeaderSize + length > header_[0])
            Damaged("запись в позиции " + Hex8(at) + " выходит за конец данных");
        chainBytes_ += RecordHeaderSize + length;
        if (chainBytes_ > dataSize)
            Damaged("цепочка записей замкнута в кольцо (позиция " + Hex8(at) + ")");
        record.SetFlags(flags);
        record.SetLink(link);
        record.SetLength(length, name_, at);
        const uint32_t after = at + RecordHeaderSize + length;
        if (flags & RecordDeletedFlag) {
            // Deleted records stay in the chain: follow their link, or step over them.
            Follow(link != NoLink ? link : after);
            continue;
        }
        ReadExactly(record.Data(), headOnly ? 1 : length, at);
        if (key_ != 0)
            XorBuffer16(record.Data(), headOnly ? 1 : length, word);
        if (IsEndRecordData(length, record.Data())) {
            readPos_ = at;  // reading stays on the end record
            return false;
        }
        if (link != NoLink)
            Follow(link);
        else
            readPos_ = after;
        return true;
    }
}

bool WFile::ReadRecordAt(uint32_t position, WRec &record)
{
    SeekData(position);
    return ReadRecord(record);
}

uint32_t WFile::ReadRecordNext(uint32_t position, WRec &record)
{
    ReadRecordAt(position, record);
    return readPos_;
}

uint32_t WFile::ReadRecordHeadAt(uint32_t position, WRec &record)
{
    SeekData(position);
    ReadNext(record, true);
    return recordPos_;
}

bool WFile::ReadRawRecord(WRec &record)
{
    const uint32_t at = main_->Tell();
    uint8_t head[RecordHeaderSize];
    const uint32_t got = main_->Read(head, RecordHeaderSize);
    if (got == 0)
        return false;
    if (got != RecordHeaderSize)
        Damaged("запись в позиции " + Hex8(at) + " обрезана");
    const RecordHeader header = DecodeRecordHeader(head);
    record.SetLength(header.Length, name_, at);
    record.SetFlags(header.Flags);
    record.SetLink(header.Link);
    ReadExactly(record.Data(), header.Length, at);
    recordPos_ = at;
    readPos_ = at + RecordHeaderSize + header.Length;
    return true;
}
