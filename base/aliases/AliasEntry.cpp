#include "base/aliases/AliasEntry.h"

#include <cstring>

#include "base/text/Case1251.h"
#include "base/text/LangText.h"

namespace {

struct ErrorRow {
    int number;
    const char *text;
};

// Ends with the row of number 0.
const ErrorRow errorTable[] = {
    {AliasErrNoId, "Отсутствует идентификатор(имя) Alias"},
    {AliasErrIdTooLong, "Длина идентификатора(имени) Alias > dfMaxLenAliasID"},
    {AliasErrInfoTooLong, "Длина информации для Alias > dfMaxLenAliasInfo"},
    {AliasErrOpen, "Ошибка при открытии файла Alias"},
    {AliasErrEmpty, "Список Alias пустой"},
    {AliasErrHasErrors, "В списке Alias есть ошибки"},
    {AliasErrDamaged, "Файл Alias повреждён"},
    {0, ""},
};

void Reset(SALS_Link &entry)
{
    SALS_Link *next = entry.next;
    entry = SALS_Link{};
    entry.next = next;
}

std::string_view TrimTrailingSpaces(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// Stores the identifier, or the error that keeps it out; true when stored.
bool StoreId(SALS_Link &entry, std::string_view id, bool upper)
{
    if (id.empty()) {
        entry.error = AliasErrNoId;
        return false;
    }
    if (id.size() > static_cast<std::size_t>(dfMaxLenAliasID)) {
        entry.error = AliasErrIdTooLong;
        return false;
    }
    for (std::size_t i = 0; i < id.size(); ++i)
        entry.id[i] = upper ? UpperChar(id[i]) : id[i];
    entry.idLength = static_cast<std::uint8_t>(id.size());
    return true;
}

void StoreInfo(SALS_Link &entry, std::string_view info)
{
    if (info.size() > static_cast<std::size_t>(dfMaxLenAliasInfo)) {
        entry.error = AliasErrInfoTooLong;
        return;
    }
    std::memcpy(entry.info, info.data(), info.size());
    entry.infoLength = static_cast<std::uint16_t>(info.size());
}

}  // namespace

const char *AliasErrorText(int number)
{
    const ErrorRow *row = errorTable;
    while (row->number != 0 && row->number != number)
        ++row;
    return row->text;
}

void ParseAliasLine(SALS_Link &entry, std::string_view line, char separator)
{
    Reset(entry);
    const std::size_t sep = line.find(separator);
    std::string_view id = line.substr(0, sep);
    while (!id.empty() && id.front() == ' ')
        id.remove_prefix(1);
    if (!StoreId(entry, TrimTrailingSpaces(id), true))
        return;

    std::string_view rest = sep == std::string_view::npos ? std::string_view() : line.substr(sep + 1);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);

    bool markers = false;
    bool ukrainian = false;
    if (!rest.empty() && (rest.front() == RusMarkerAlt || rest.front() == UkrMarkerAlt)) {
        markers = true;
        ukrainian = rest.front() == UkrMarkerAlt;
        rest.remove_prefix(1);
        entry.flags |= AliasEntryMarkers;
    }
    AnsiString parts[2];  // Russian, Ukrainian
    for (char c : rest) {
        if (markers && c == RusMarkerAlt)
            ukrainian = false;
        else if (markers && c == UkrMarkerAlt)
            ukrainian = true;
        else if (!markers && c == separator)
            ukrainian = true;
        else
            parts[ukrainian ? 1 : 0] += c;
    }
    const std::string_view rus = TrimTrailingSpaces(parts[0]), ukr = TrimTrailingSpaces(parts[1]);
    if (!markers && (rus.empty() || ukr.empty())) {
        StoreInfo(entry, rus);
        return;
    }
    AnsiString info;
    info.reserve(rus.size() + ukr.size() + 2);
    info += RusMarker;
    info += rus;
    info += UkrMarker;
    info += ukr;
    StoreInfo(entry, info);
}

void ParseAliasRecord(SALS_Link &entry, std::string_view record, char separator)
{
    Reset(entry);
    const std::size_t sep = record.find(separator);
    std::string_view id = record.substr(0, sep);
    const bool plain = separator == 0x01;
    if (!plain)
        id = TrimTrailingSpaces(id);
    if (!StoreId(entry, id, !plain))
        return;
    if (sep != std::string_view::npos)
        StoreInfo(entry, record.substr(sep + 1));
}

AnsiString FormatAliasLine(const SALS_Link &entry, char separator, bool withMarkers)
{
    AnsiString line(entry.Id());
    line += separator;
    const std::string_view info = entry.Info();
    if (info.empty() || info.front() != RusMarker) {
        line += info;
        return line;
    }
    for (char c : info) {
        if (c == RusMarker) {
            if (withMarkers)
                line += RusMarkerAlt;
        } else if (c == UkrMarker) {
            line += withMarkers ? UkrMarkerAlt : separator;
        } else {
            line += c;
        }
    }
    return line;
}

AnsiString FormatAliasRecord(const SALS_Link &entry, char separator)
{
    AnsiString record(entry.Id());
    record += separator;
    record += entry.Info();
    return record;
}
