#include "update/payload/Payload.h"

#include <string>

#include "update/payload/ExeLength.h"
#include "update/payload/Seal.h"

AnsiString CutVersion(const AnsiString &version)
{
    size_t dot = AnsiString::npos;
    for (int i = 0; i < 3; ++i) {
        dot = version.find('.', dot == AnsiString::npos ? 0 : dot + 1);
        if (dot == AnsiString::npos)
            return version;
    }
    return version.substr(0, dot);
}

AnsiString PayloadCaption(const TPayloadInfo &info)
{
    if (info.Correction)
        return "Исправление ЦМТ-5 (" + info.BaseVersionShort + ".X" + ") -> " + "ЦМТ-5 (" + info.NewVersion + ") ";
    return "Обновление ЦМТ-5 (" + info.BaseVersion + ") -> " + "ЦМТ-5 (" + info.NewVersion + ") ";
}

AnsiString PayloadItemLine(uint8_t type, const AnsiString &name, uint32_t section, uint32_t number)
{
    static const char *const kTypeNames[] = {"BINDIFF", "DBBDIFF", "PE1DIFF", "PE2DIFF",
                                             "CFGDIFF", "ADDREPL", "ADDREPM"};
    AnsiString line = std::to_string(section);
    if (number != 0)
        line += "." + std::to_string(number);
    line += ". ";
    if (type < SECTION)
        line += AnsiString(kTypeNames[type]) + ", файл " + name;
    else if (type == SECTION)
        line += "SECTION №" + std::to_string(section) + " (начало нового блока данных)";
    else
        line += "НЕИЗВЕСТНЫЙ ТИП ДАННЫХ!!!";
    return line;
}

void LogPayloadItem(TRunLog &log, uint8_t type, const AnsiString &name, uint32_t section, uint32_t number)
{
    log.Log(0, PayloadItemLine(type, name, section, number), true);
}

bool IsSafeItemName(const AnsiString &name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != AnsiString::npos)
        return false;
    size_t begin = 0;
    while (begin <= name.size()) {
        size_t end = name.find_first_of("\\/", begin);
        if (end == AnsiString::npos)
            end = name.size();
        if (name.compare(begin, end - begin, "..") == 0)
            return false;
        begin = end + 1;
    }
    return true;
}

namespace {

// Walks the trailer backwards from the seal. Every field must lie after the executable image.
class TrailerCursor {
public:
    TrailerCursor(TByteSource &source, uint64_t position, uint64_t floor)
        : source_(source), position_(position), floor_(floor)
    {}

    // Steps back over `count` bytes; false when they would reach into the image.
    bool Back(uint64_t count)
    {
        if (position_ < floor_ || position_ - floor_ < count)
            return false;
        position_ -= count;
        return true;
    }
    bool U16(uint16_t &value) { return Back(2) && source_.ReadU16(position_, value); }
    bool U32(uint32_t &value) { return Back(4) && source_.ReadU32(position_, value); }
    bool Text(uint16_t length, AnsiString &text)
    {
        if (!Back(length))
            return false;
        text.assign(length, '\0');
        return length == 0 || source_.ReadAt(position_, text.data(), length);
    }
    uint64_t Position() const { return position_; }

private:
    TByteSource &source_;
    uint64_t position_;
    uint64_t floor_;
};

bool ReadBuilds(TrailerCursor &cursor, TByteSource &source, TPayloadInfo &info)
{
    uint16_t count = 0;
    if (!cursor.U16(count) || !cursor.Back(4ull * count))
        return false;
    info.AcceptedBuilds.assign(count, 0);
    for (uint16_t i = 0; i < count; ++i)
        if (!source.ReadU32(cursor.Position() + 4ull * i, info.AcceptedBuilds[i]))
            return false;
    return true;
}

bool ReadVersions(TrailerCursor &cursor, TPayloadInfo &info)
{
    uint16_t length = 0;
    if (!cursor.U16(length) || !cursor.Text(length, info.NewVersion))
        return false;
    return cursor.U16(length) && cursor.Text(length, info.BaseVersion);
}

bool ReadDirectory(TrailerCursor &cursor, TByteSource &source, TPayloadInfo &info)
{
    // COUNT records must fit between the image end and COUNT itself.
    if (!cursor.Back(48ull * info.ItemCount))
        return false;
    info.DirectoryPosition = cursor.Position();
    info.Items.assign(info.ItemCount, TPartNfo{});
    for (uint32_t i = 0; i < info.ItemCount; ++i) {
        uint8_t record[48];
        if (!source.ReadAt(info.DirectoryPosition + 48ull * i, record, sizeof record))
            return false;
        for (int w = 0; w < 12; ++w)
            info.Items[i].Rec[w] = LoadU32(record + 4 * w);
    }
    return true;
}

// Finds each item's position and name, in directory order. The items must lie between the image end
// and the directory and end exactly where it begins.
bool WalkItems(TByteSource &source, TRunLog &log, TPayloadInfo &info)
{
    const uint64_t end = info.DirectoryPosition;
    uint64_t position = info.ImageLength;
    uint32_t section = 0, number = 0;
    for (TPartNfo &item : info.Items) {
        item.Position = position;
        if (position >= end || !source.ReadU8(position, item.Type))
            return false;
        const uint64_t room = end - position;
        if (item.Type == SECTION) {
            item.Rec[PN_ItemLength] = 8;
            if (room < 9)
                return false;
            position += 9;
            ++section;
            number = 0;
            LogPayloadItem(log, item.Type, item.Name, section, number);
            continue;
        }
        uint16_t nameLength = 0;
        // Type byte, name length, name and one unused u32 word precede the item's data.
        if (room < 7 || !source.ReadU16(position + 1, nameLength) || room < 7ull + nameLength)
            return false;
        item.Name.assign(nameLength, '\0');
        if (nameLength && !source.ReadAt(position + 3, item.Name.data(), nameLength))
            return false;
        ++number;
        LogPayloadItem(log, item.Type, item.Name, section, number);
        const uint32_t length = item.Rec[PN_ItemLength];
        if (!IsSafeItemName(item.Name) || length < 7ull + nameLength || length > room)
            return false;
        position += length;
    }
    return position == end;
}

}  // namespace

bool ReadPayload(TByteSource &source, const AnsiString &selfPath, TRunLog &log, TPayloadInfo &info)
{
    info = TPayloadInfo{};
    if (!CheckSelf(source)) {
        log.LogAndShowError(5001, {selfPath});
        return false;
    }

    log.Log(0, "Определение настоящей длины " + selfPath, true);
    uint64_t fileSize = 0;
    info.ImageLength = GetRealExeLength(source, fileSize, &log);
    if (!log.CheckStep(info.ImageLength != 0 && fileSize != 0 && fileSize > info.ImageLength, false))
        return false;

    // The seal is the last 8 bytes; the trailer grows backwards from it.
    TrailerCursor cursor(source, fileSize - 8, info.ImageLength);
    log.Log(0, "Чтение каталога данных внутри файла обновления", true);
    if (!log.CheckStep(ReadBuilds(cursor, source, info) && ReadVersions(cursor, info), false))
        return false;

    info.NewVersionShort = CutVersion(info.NewVersion);
    info.BaseVersionShort = CutVersion(info.BaseVersion);
    info.Correction = info.NewVersionShort == info.BaseVersionShort;
    log.Log(0, "Информация заголовка окна:", true);
    const AnsiString caption = PayloadCaption(info);
    log.SetRunCaption(caption);
    log.Log(0, caption, false);

    uint32_t growth = 0;
    const bool counts = cursor.U32(growth) && cursor.U32(info.TempBytesNeeded) && cursor.U32(info.ItemCount);
    info.Growth = uint64_t(growth) + 65535;
    if (!log.CheckStep(counts, false))
        return false;

    log.Log(0, "Чтение имен", true);
    if (!log.CheckStep(ReadDirectory(cursor, source, info), false))
        return false;

    log.Log(24, selfPath, true);
    return log.CheckStep(WalkItems(source, log, info), false);
}
