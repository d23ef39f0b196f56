#include "storage/compound/fun_struct.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/memory/Bytes.h"
#include "base/text/LangText.h"
#include "base/numbers/NumericHelpers.h"
#include "base/records/RecString.h"
#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "storage/compound/drec.h"
#include "storage/compound/dwfile.h"
#include "storage/config/rdwr_cfg.h"

const char RizaFileName[] = "CFG#Riza.sfr";
WFile *RizaFile = nullptr;

namespace {

TZTabField &Field(const TList &list, int index) { return *static_cast<TZTabField *>(list.Items(index)); }

[[noreturn]] void Refuse(const AnsiString &text) { throw ZError(text, 0); }

[[noreturn]] void FieldOutsideRecord(const TZTabField &field)
{
    Refuse("Реквизит " + field.Name + " не помещается в записи: запись повреждена или не соответствует описаниям");
}

[[noreturn]] void NoFieldNumber(int index)
{
    Refuse("Номер реквизита " + IntToStr(index) + " отсутствует в списке описаний");
}

// Where one field lies in packed bytes: its actual type (texts 1, 2 or 3 from their prefix), the offset
// of its bytes (after the prefix for a text) and their count.
struct PackedPlace {
    uint8_t type;
    uint32_t offset;
    uint32_t size;
};

// Walks packed bytes along the list, every length checked against the data; the first field that does
// not fit raises ZError 0 naming it. Fields that occupy nothing get the running position and size 0.
std::vector<PackedPlace> WalkPacked(const TList &list, std::span<const uint8_t> packed)
{
    std::vector<PackedPlace> places;
    places.reserve(static_cast<size_t>(list.Count()));
    TByteReader reader(packed);
    for (int i = 0; i < list.Count(); ++i) {
        const TZTabField &field = Field(list, i);
        PackedPlace place{field.Type, 0, 0};
        if (IsTextField(field.Type)) {
            uint8_t first = 0, second = 0;
            if (!reader.ReadU8At(reader.Position(), first) || !reader.ReadU8At(reader.Position() + 1, second))
                FieldOutsideRecord(field);
            if (second == ShortText81Marker || second == ShortText82Marker) {
                place.type = second == ShortText81Marker ? TabFieldType::ShortText81 : TabFieldType::ShortText82;
                place.size = first;
            } else {
                place.type = TabFieldType::Text;
                place.size = static_cast<uint32_t>(first) | static_cast<uint32_t>(second) << 8;
            }
            reader.Skip(2);
        } else {
            place.size = NumberFieldWidth(field.Type);
        }
        place.offset = static_cast<uint32_t>(reader.Position());
        if (!reader.Skip(place.size))
            FieldOutsideRecord(field);
        places.push_back(place);
    }
    return places;
}

std::span<const uint8_t> RecordBytes(const WRec &record) { return {record.Data(), record.Length()}; }

// Byte offsets of the slots of an unpacked record, in list order.
template <typename Visit>
void ForEachSlot(const TList &list, Visit visit)
{
    uint32_t offset = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const TZTabField &field = Field(list, i);
        visit(field, offset);
        offset += UnpackedFieldWidth(field.Type);
    }
}

// The packed length of an unpacked record; ZError 0 for a short text beyond 255 bytes or a text
// beyond 65535.
uint32_t PackedLength(const TList &list, const void *unpacked)
{
    uint64_t total = 0;
    ForEachSlot(list, [&](const TZTabField &field, uint32_t offset) {
        if (IsTextField(field.Type)) {
            const size_t n = RecString::View(unpacked, offset).size();
            const size_t limit = field.Type == TabFieldType::Text ? 0xFFFFu : ShortTextLimit;
            if (n > limit)
                Refuse("Реквизит " + field.Name + ": текст длиной " + IntToStr(static_cast<int64_t>(n)) +
                       " байт не помещается в поле");
            total += 2 + n;
        } else {
            total += NumberFieldWidth(field.Type);
        }
    });
    return static_cast<uint32_t>(total < 0xFFFFFFFFu ? total : 0xFFFFFFFFu);
}

[[noreturn]] void RecordTooLong(uint64_t length, uint32_t limit)
{
    Refuse("Длина записи " + IntToStr(static_cast<int64_t>(length)) + " превышает допустимую " +
           IntToStr(static_cast<int64_t>(limit)));
}

void WriteTextPrefix(uint8_t type, uint8_t *prefix, uint32_t length)
{
    if (type == TabFieldType::Text) {
        StoreU16(prefix, static_cast<uint16_t>(length));
    } else {
        prefix[0] = static_cast<uint8_t>(length);
        prefix[1] = type == TabFieldType::ShortText81 ? ShortText81Marker : ShortText82Marker;
    }
}

double NumberValue(uint8_t type, const uint8_t *p)
{
    switch (type) {
    case TabFieldType::Double: {
        double v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case TabFieldType::Float: {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    default: return 0;
    }
}

// Closes the storage file at the end of a call that opened it, whatever way the call ends.
class TemporaryRizaFile {
public:
    TemporaryRizaFile()
    {
        if (RizaFile == nullptr) {
            own_ = std::make_unique<WFile>(RizaFileName, true);
            RizaFile = own_.get();
        }
    }
    ~TemporaryRizaFile()
    {
        if (own_ != nullptr)
            RizaFile = nullptr;
    }
    TemporaryRizaFile(const TemporaryRizaFile &) = delete;
    TemporaryRizaFile &operator=(const TemporaryRizaFile &) = delete;

private:
    std::unique_ptr<WFile> own_;
};

}  // namespace

bool IsTextField(uint8_t type) { return type >= TabFieldType::Text && type <= TabFieldType::ShortText81; }

uint32_t NumberFieldWidth(uint8_t type)
{
    switch (type) {
    case TabFieldType::Byte:
    case TabFieldType::Byte2: return 1;
    case TabFieldType::Word:
    case TabFieldType::Word2: return 2;
    case TabFieldType::Int:
    case TabFieldType::Int2:
    case TabFieldType::Int3:
    case TabFieldType::Float: return 4;
    case TabFieldType::Double: return 8;
    default: return 0;
    }
}

uint32_t UnpackedFieldWidth(uint8_t type)
{
    return IsTextField(type) ? static_cast<uint32_t>(RecString::Size) : NumberFieldWidth(type);
}

uint32_t UnpackedRecordLength(const TList &list)
{
    uint32_t total = 0;
    for (int i = 0; i < list.Count(); ++i)
        total += UnpackedFieldWidth(Field(list, i).Type);
    return total;
}

void LoadFieldDescriptions(uint32_t n, TList &list, WRec &record)
{
    TemporaryRizaFile file;
    RizaFile->OpenLogicalFile(n);
    std::vector<std::unique_ptr<TZTabField>> read;
    for (int skipped = 0; skipped < 2; ++skipped)
        if (!RizaFile->ReadRecord(record))
            return;
    while (RizaFile->ReadRecord(record)) {
        auto field = std::make_unique<TZTabField>();
        const uint8_t *cursor = record.Data();
        const uint8_t *end = cursor + record.Length();
        if (!ReadShortText(cursor, end, field->Name) || !ReadU8(cursor, end, field->Type))
            Refuse("Описание реквизита №" + IntToStr(static_cast<int>(read.size()) + 1) + " в логическом файле " +
                   IntToStr(static_cast<int64_t>(n)) + " файла " + RizaFile->Name() + " повреждено");
        read.push_back(std::move(field));
    }
    for (auto &field : read)
        list.Add(field.release());
}

void ScanRecordLayout(std::span<const uint8_t> packed, TList &list)
{
    const std::vector<PackedPlace> places = WalkPacked(list, packed);
    for (int i = 0; i < list.Count(); ++i) {
        TZTabField &field = Field(list, i);
        const PackedPlace &place = places[static_cast<size_t>(i)];
        if (!IsTextField(field.Type) && NumberFieldWidth(field.Type) == 0)
            continue;
        field.Type = place.type;
        field.Word1 = place.offset;
        field.Word2 = place.size;
    }
}

void ScanRecordLayout(const WRec &record, TList &list) { ScanRecordLayout(RecordBytes(record), list); }

void SetUnpackedLayout(TList &list)
{
    uint32_t offset = 0;
    for (int i = 0; i < list.Count(); ++i) {
        TZTabField &field = Field(list, i);
        field.Word1 = offset;
        field.Word2 = UnpackedFieldWidth(field.Type);
        offset += field.Word2;
    }
}

uint8_t *FieldPointer(const TList &list, int index, uint32_t &size, WRec &record)
{
    if (index < 0 || index >= list.Count())
        NoFieldNumber(index);
    const TZTabField &field = Field(list, index);
    if (field.Word1 > record.Length() || field.Word2 > record.Length() - field.Word1)
        FieldOutsideRecord(field);
    size = field.Word2;
    return record.Data() + field.Word1;
}

bool FindField(const TList &list, const AnsiString &name, int &index, uint32_t &size)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TZTabField &field = Field(list, i);
        if (field.Name == name) {
            index = i;
            size = IsTextField(field.Type) ? field.Word2 : NumberFieldWidth(field.Type);
            return true;
        }
    }
    index = -1;
    size = 0;
    return false;
}

void SetPackedField(TList &list, WRec &record, const AnsiString &name, uint32_t newLength, const void *source,
                    int index)
{
    if (name.empty()) {
        if (index < 0 || index >= list.Count())
            NoFieldNumber(index);
    } else {
        uint32_t unused;
        if (!FindField(list, name, index, unused))
            Refuse("Реквизит " + name + " отсутствует в списке описаний");
    }
    TZTabField &field = Field(list, index);
    const uint32_t length = record.Length();
    if (!IsTextField(field.Type)) {
        const uint32_t width = NumberFieldWidth(field.Type);
        if (field.Word1 > length || width > length - field.Word1)
            FieldOutsideRecord(field);
        if (width != 0)
            std::memcpy(record.Data() + field.Word1, source, width);
        return;
    }

    const uint32_t limit = field.Type == TabFieldType::Text ? 0xFFFFu : ShortTextLimit;
    if (newLength > limit)
        Refuse("Реквизит " + field.Name + ": текст длиной " + IntToStr(static_cast<int64_t>(newLength)) +
               " байт не помещается в поле");
    if (field.Word1 < 2 || field.Word1 > length || field.Word2 > length - field.Word1)
        FieldOutsideRecord(field);
    const int64_t change = static_cast<int64_t>(newLength) - field.Word2;
    const int64_t newTotal = static_cast<int64_t>(length) + change;
    if (newTotal > record.Limit())
        RecordTooLong(static_cast<uint64_t>(newTotal), record.Limit());

    // The source may lie inside the record, in the part about to move.
    const std::string bytes(static_cast<const char *>(source), source != nullptr ? newLength : 0);
    uint8_t *data = record.Data();
    const uint32_t tail = field.Word1 + field.Word2;
    std::memmove(data + field.Word1 + newLength, data + tail, length - tail);
    for (int i = index + 1; i < list.Count(); ++i) {
        TZTabField &next = Field(list, i);
        if (IsTextField(next.Type) || NumberFieldWidth(next.Type) != 0)  // the others lie nowhere
            next.Word1 = static_cast<uint32_t>(next.Word1 + change);
    }
    field.Word2 = newLength;
    WriteTextPrefix(field.Type, data + field.Word1 - 2, newLength);
    record.SetLength(static_cast<uint32_t>(newTotal));
    if (!bytes.empty())
        std::memcpy(data + field.Word1, bytes.data(), bytes.size());
}

void UnpackRecordFields(const TList &list, std::span<const uint8_t> packed, void *unpacked)
{
    const std::vector<PackedPlace> places = WalkPacked(list, packed);
    auto *slots = static_cast<uint8_t *>(unpacked);
    int i = 0;
    ForEachSlot(list, [&](const TZTabField &field, uint32_t offset) {
        const PackedPlace &place = places[static_cast<size_t>(i++)];
        const uint8_t *bytes = packed.data() + place.offset;
        if (IsTextField(field.Type)) {
            const std::string_view text(reinterpret_cast<const char *>(bytes), place.size);
            if (!text.empty() && text.front() == RusMarker)
                RecString::Set(slots, offset, GetLangText(Cfg->RecordLanguage(), text));
            else
                RecString::Set(slots, offset, text);
        } else if (place.size != 0) {
            std::memcpy(slots + offset, bytes, place.size);
        }
    });
}

void UnpackRecordFields(const TList &list, const WRec &record, void *unpacked)
{
    UnpackRecordFields(list, RecordBytes(record), unpacked);
}

uint32_t PackRecordFields(const TList &list, const void *unpacked, uint8_t *destination, uint32_t capacity)
{
    const uint32_t total = PackedLength(list, unpacked);
    if (total > capacity)
        RecordTooLong(total, capacity);
    auto *slots = static_cast<const uint8_t *>(unpacked);
    uint8_t *out = destination;
    ForEachSlot(list, [&](const TZTabField &field, uint32_t offset) {
        if (IsTextField(field.Type)) {
            const std::string_view text = RecString::View(slots, offset);
            WriteTextPrefix(field.Type, out, static_cast<uint32_t>(text.size()));
            if (!text.empty())
                std::memcpy(out + 2, text.data(), text.size());
            out += 2 + text.size();
        } else {
            const uint32_t width = NumberFieldWidth(field.Type);
            if (width != 0)
                std::memcpy(out, slots + offset, width);
            out += width;
        }
    });
    return total;
}

uint32_t PackRecordFields(const TList &list, const void *unpacked, WRec &record)
{
    const uint32_t length = PackRecordFields(list, unpacked, record.Data(), record.Limit());
    record.SetFlags(0);
    record.SetLength(length);
    return length;
}

void CopyRecordFields(const TList &list, const void *source, void *destination)
{
    auto *to = static_cast<uint8_t *>(destination);
    auto *from = static_cast<const uint8_t *>(source);
    ForEachSlot(list, [&](const TZTabField &field, uint32_t offset) {
        if (IsTextField(field.Type))
            RecString::Share(to, offset, from, offset);
        else if (const uint32_t width = NumberFieldWidth(field.Type); width != 0)
            std::memmove(to + offset, from + offset, width);
    });
}

bool CompareRecordFields(const TList &list, const void *a, const void *b)
{
    auto *x = static_cast<const uint8_t *>(a);
    auto *y = static_cast<const uint8_t *>(b);
    bool equal = true;
    ForEachSlot(list, [&](const TZTabField &field, uint32_t offset) {
        if (!equal)
            return;
        if (IsTextField(field.Type))
            equal = RecString::View(x, offset) == RecString::View(y, offset);
        else if (field.Type == TabFieldType::Double || field.Type == TabFieldType::Float)
            equal = std::fabs(NumberValue(field.Type, x + offset) - NumberValue(field.Type, y + offset)) < 1e-10;
        else
            equal = std::memcmp(x + offset, y + offset, NumberFieldWidth(field.Type)) == 0;
    });
    return equal;
}

void ClearRecordFields(const TList &list, void *unpacked)
{
    auto *slots = static_cast<uint8_t *>(unpacked);
    ForEachSlot(list, [&](const TZTabField &field, uint32_t offset) {
        if (IsTextField(field.Type))
            RecString::Clear(slots, offset);
        else if (const uint32_t width = NumberFieldWidth(field.Type); width != 0)
            std::memset(slots + offset, 0, width);
    });
}

void BuildEmptyRecord(TList &list, WRec &record, uint8_t flags)
{
    uint64_t total = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const uint8_t type = Field(list, i).Type;
        total += IsTextField(type) ? 2 : NumberFieldWidth(type);
    }
    if (total > record.Limit())
        RecordTooLong(total, record.Limit());
    uint8_t *data = record.Data();
    uint32_t position = 0;
    for (int i = 0; i < list.Count(); ++i) {
        TZTabField &field = Field(list, i);
        if (IsTextField(field.Type)) {
            WriteTextPrefix(field.Type, data + position, 0);
            position += 2;
            field.Word1 = position;
            field.Word2 = 0;
        } else if (const uint32_t width = NumberFieldWidth(field.Type); width != 0) {
            std::memset(data + position, 0, width);
            field.Word1 = position;
            field.Word2 = width;
            position += width;
        }
    }
    record.SetFlags(flags);
    record.SetLink(NoLink);
    record.SetLength(position);
}
