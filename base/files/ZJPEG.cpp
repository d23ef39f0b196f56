#include "base/files/ZJPEG.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/memory/ByteOrder.h"
#include "base/memory/Bytes.h"
#include "base/memory/ClearOwnedList.h"

namespace {

constexpr std::uint8_t MarkerByte = 0xFF;
constexpr std::uint8_t Stuffed = 0x00;

const char *const Descriptions[TZJPEG::jkOther + 1] = {
    "",
    "*TEM = $01 обычно вызывает ошибки декодирования, может быть проигнорировано",
    " SOF0 = $c0 Начало Кадра (Baseline JPEG)",
    " SOF1 = $c1 dito",
    " SOF2 = $c2 обычно неподдерживаемый",
    " SOF3 = $c3 обычно неподдерживаемый",
    " DHT  = $c4 Определение Таблицы Хаффмана",
    " SOF5 = $c5 обычно неподдерживаемый",
    " SOF6 = $c6 обычно неподдерживаемый",
    " SOF7 = $c7 обычно неподдерживаемый",
    " JPG  = $c8 неопределенный/зарезервированный (вызывает ошибки декодирования)",
    " SOF9 = $c9 для арифметического кодирования, обычно не поддерживается",
    " SOF10 = $ca обычно неподдерживаемый",
    " SOF11 = $cb обычно неподдерживаемый",
    " DAC = $cc Определение Арифметической Таблицы, обычно не поддерживается",
    " SOF13 = $cd обычно неподдерживаемый",
    " SOF14 = $ce обычно неподдерживаемый",
    " SOF15 = $cf обычно неподдерживаемый",
    "*RST0 = $d0 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST1 = $d1 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST2 = $d2 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST3 = $d3 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST4 = $d4 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST5 = $d5 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST6 = $d6 RSTn используются для синхронизации, может быть проигнорировано",
    "*RST7 = $d7",
    " SOI = $d8 Начало Изображения",
    " EOI = $d9 Конец Изображения",
    " SOS = $da Начало Сканирования",
    " DQT = $db Определение Таблицы Квантования",
    " DNL = $dc обычно неподдерживаемый, игнорировать",
    " DRI = $dd Определение Интервала Перезапуска",
    " APP0 = $e0 JFIF маркеры сегментов приложения",
    " APP15 = $ef игнорировать",
    " COM = $fe Комментарий",
    "",
};

// The segment bytes of an item with its own data: marker, big-endian length + 2, data. Empty when
// the kind cannot be written or the data is too long for the length field.
bool OwnSegmentFits(std::uint8_t kind, std::uint32_t length)
{
    return TZJPEG::MarkerOfKind(kind) >= 0 && length <= TZJPEG::MaxSegmentData;
}

void PutSegmentHead(std::uint8_t *head, std::uint8_t kind, std::uint32_t length)
{
    head[0] = MarkerByte;
    head[1] = static_cast<std::uint8_t>(TZJPEG::MarkerOfKind(kind));
    StoreU16(head + 2, ByteSwap16(static_cast<std::uint16_t>(length + 2)));
}

}  // namespace

TZJPEG::~TZJPEG() { ClearOwnedList<TZJPEGItem>(list_, true); }

void TZJPEG::Clear()
{
    if (list_ != nullptr)
        ClearOwnedList<TZJPEGItem>(list_, false);
}

TList &TZJPEG::Items()
{
    if (list_ == nullptr)
        list_ = new TList;
    return *list_;
}

const TZJPEGItem *TZJPEG::Item(int index) const
{
    return index >= 0 && index < Count() ? static_cast<const TZJPEGItem *>(list_->Items(index)) : nullptr;
}

const char *TZJPEG::Description(std::uint8_t kind) { return kind <= jkOther ? Descriptions[kind] : ""; }

std::uint8_t TZJPEG::KindOfMarker(std::uint8_t marker)
{
    if (marker == 0x01)
        return jkTEM;
    if (marker >= 0xC0 && marker <= 0xDD)
        return static_cast<std::uint8_t>(jkSOF0 + (marker - 0xC0));
    switch (marker) {
    case 0xE0: return jkAPP0;
    case 0xEF: return jkAPP15;
    case 0xFE: return jkCOM;
    default: return jkOther;
    }
}

int TZJPEG::MarkerOfKind(std::uint8_t kind)
{
    switch (kind) {
    case jkSOI:
    case jkSOF0:
    case jkDHT:
    case jkRST0:
    case jkEOI:
    case jkSOS:
    case jkDQT:
    case jkDNL:
    case jkDRI: return 0xC0 + (kind - jkSOF0);
    case jkAPP0: return 0xE0;
    case jkCOM: return 0xFE;
    default: return -1;
    }
}

bool TZJPEG::HasLength(std::uint8_t kind)
{
    return kind != jkData && kind != jkTEM && kind != jkSOI && kind != jkEOI && !(kind >= jkRST0 && kind <= jkRST7);
}

void TZJPEG::AddItem(std::uint8_t kind, std::uint32_t length, std::uint32_t offset)
{
    if (length == 0)
        return;
    auto *item = new TZJPEGItem;
    item->kind = kind;
    item->flag = 0;
    item->length = length;
    item->offset = offset;
    Items().Add(item);
}

void TZJPEG::InsertData(int index, std::uint8_t kind, const std::uint8_t *data, std::uint32_t length)
{
    if (data == nullptr || length == 0)
        return;
    auto *item = new TZJPEGItem;
    item->kind = kind;
    item->flag = 1;
    item->length = length;
    item->offset = TZJPEGItem::OwnData;
    item->data.assign(data, data + length);
    TList &items = Items();
    items.Insert(std::clamp(index, 0, items.Count()), item);
}

int TZJPEG::SplitBuffer(const std::uint8_t *data, std::size_t size) { return Split(data, size); }

int TZJPEG::Split(const std::uint8_t *data, std::size_t size)
{
    Clear();
    sourceSize_ = size;
    // Offsets are 32-bit: a larger source cannot be listed.
    if (data == nullptr || size < 2 || size > std::numeric_limits<std::uint32_t>::max() || data[0] != MarkerByte ||
        KindOfMarker(data[1]) != jkSOI)
        return 1;
    const TByteReader source(data, size);
    std::size_t runStart = 0;
    std::size_t runLength = 0;
    auto endRun = [&] {
        AddItem(jkData, static_cast<std::uint32_t>(runLength), static_cast<std::uint32_t>(runStart));
        runLength = 0;
    };
    std::size_t at = 0;
    while (at < size) {
        // A byte below 0xFF is data; so are a stuffed FF 00 and a fill byte FF (each of them one byte
        // at a time, so that the FF of "FF FF D9" still opens the end-of-image marker), and an FF
        // that the data ends on.
        if (data[at] != MarkerByte || at + 1 == size || data[at + 1] == Stuffed || data[at + 1] == MarkerByte) {
            if (runLength == 0)
                runStart = at;
            ++at;
            if (++runLength == MaxDataRun)
                endRun();
            continue;
        }
        endRun();
        const std::uint8_t kind = KindOfMarker(data[at + 1]);
        std::size_t length = 2;
        if (HasLength(kind)) {
            std::uint16_t stored = 0;
            // A length field that the data cuts off runs to the end; so does a segment too long.
            length = source.ReadU16At(at + 2, stored) ? 2 + std::size_t(ByteSwap16(stored)) : size - at;
        }
        length = std::min(length, size - at);
        AddItem(kind, static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(at));
        at += length;
    }
    endRun();
    return 0;
}

int TZJPEG::CopyItems(const std::uint8_t *data, std::size_t size, TList *destination)
{
    if (destination == nullptr || Split(data, size) != 0)
        return 0;
    for (int i = 0; i < Count(); ++i)
        destination->Add(new TZJPEGItem(*Item(i)));
    return Count();
}

std::uint32_t TZJPEG::AppendSegment(std::vector<std::uint8_t> &out, const TZJPEGItem &item,
                                    std::span<const std::uint8_t> source)
{
    if (item.flag != 0) {
        const std::uint32_t length = static_cast<std::uint32_t>(item.data.size());
        if (!OwnSegmentFits(item.kind, length))
            return 0;
        std::uint8_t head[4];
        PutSegmentHead(head, item.kind, length);
        out.insert(out.end(), head, head + 4);
        out.insert(out.end(), item.data.begin(), item.data.end());
        return length + 4;
    }
    if (item.offset >= source.size())
        return 0;
    const std::span<const std::uint8_t> bytes =
        source.subspan(item.offset, std::min<std::size_t>(item.length, source.size() - item.offset));
    out.insert(out.end(), bytes.begin(), bytes.end());
    return static_cast<std::uint32_t>(bytes.size());
}

std::uint32_t TZJPEG::BuildSegment(std::uint8_t *buffer, std::size_t capacity, std::uint8_t kind, std::uint32_t length,
                                   const std::uint8_t *data)
{
    if (buffer == nullptr || !OwnSegmentFits(kind, length) || capacity < std::size_t(length) + 4 ||
        (data == nullptr && length != 0))
        return 0;
    PutSegmentHead(buffer, kind, length);
    if (length != 0)
        std::memcpy(buffer + 4, data, length);
    return length + 4;
}

std::vector<std::uint8_t> TZJPEG::WriteAll(std::span<const std::uint8_t> source) const
{
    std::vector<std::uint8_t> out;
    for (int i = 0; i < Count(); ++i)
        AppendSegment(out, *Item(i), source);
    return out;
}

AnsiString TZJPEG::DumpText(const TList *list)
{
    AnsiString text;
    for (int i = 0; list != nullptr && i < list->Count(); ++i) {
        text += Description(static_cast<const TZJPEGItem *>(list->Items(i))->kind);
        text += "\r\n";
    }
    return text;
}
