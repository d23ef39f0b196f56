#include "update/journal/JournalLine.h"

#include "update/payload/Checksum.h"

namespace {

const char *const ProtocolTexts[ProtocolTextCount] = {
    "",
    "...ОК",
    "...Были ошибки",
    "Ошибка №",
    "Отменено пользователем.",
    "Сравнение файлов",
    "Восстановление файла",
    "Распаковка файла",
    "Копирование файла",
    "Создание резервной копии файла",
    "Сжатие файла",
    "Удаление файла",
    "Удаление папки",
    "Перемещение файла",
    "Откат изменений, восстановление информации к начальному состоянию",
    "Анализ протокола",
    "Файл протокола поврежден",
    "Пропуск шага",
    "Подготовка к принятию изменений файла",
    "Сборка измененного файла",
    "Подсчет контрольной суммы файла",
    "Сравнение контрольной суммы с эталоном",
    "Применение \"diff\" различий (старый/новый -> новый) к файлу",
    "Обновление не предназначено для данной редакции ЦМТ.",
    "Создание списка обновлений",
    "Изменение файла-конфигуратора",
    "Произошла аварийная ситуация",
};

constexpr size_t SignatureLength = 10;

uint32_t RotateLeft13(uint32_t v) { return (v << 13) | (v >> 19); }

}  // namespace

const char *const JournalStartText = "Запуск";
const char *const JournalEndText = "Конец";
const char *const RolledBackVariantText = "-1";
const char *const JournalWriteFailedText = "!!!Невозможно сохранить протокол!!! ";
const char *const JournalDateFormat = "dd.mm.yy hh:nn:ss.zzz";

const char *ProtocolText(int index)
{
    if (index < 0 || index >= ProtocolTextCount)
        return "";
    return ProtocolTexts[index];
}

AnsiString ProtocolLine(int index, const AnsiString &text) { return AnsiString(ProtocolText(index)) + " " + text; }

bool IsChangeCommand(int code)
{
    switch (code) {
    case ejc_CopyFolder:
    case ejc_Variant:
    case ejc_Backup:
    case ejc_TempFolder:
    case ejc_Created: return true;
    default: return false;
    }
}

AnsiString JournalProtocolLine(const AnsiString &date, const AnsiString &protocolLine)
{
    AnsiString line = "; " + date + protocolLine;
    SignLine(line);
    return line;
}

AnsiString JournalCommandLine(const AnsiString &date, int code, const AnsiString &text)
{
    AnsiString line = "> " + date + "*" + std::to_string(code) + "#" + text;
    SignLine(line);
    return line;
}

uint32_t LineHash(const char *bytes, size_t length)
{
    uint32_t h = 0;
    for (size_t i = 0; i < length; ++i) {
        uint32_t t = h + static_cast<unsigned char>(bytes[i]);
        h = t - RotateLeft13(t);
    }
    return h;
}

void SignLine(AnsiString &line) { line += FormatChecksum(LineHash(line.data(), line.size())); }

bool VerifyLine(const AnsiString &line)
{
    if (line.size() < SignatureLength)
        return false;
    size_t body = line.size() - SignatureLength;
    uint64_t value = 0;
    for (size_t i = body; i < line.size(); ++i) {
        char c = line[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return static_cast<uint32_t>(value) == LineHash(line.data(), body);
}

bool StripSignature(AnsiString &line)
{
    if (line.size() < SignatureLength)
        return false;
    line.resize(line.size() - SignatureLength);
    return true;
}

std::vector<AnsiString> SplitJournalLines(std::string_view content)
{
    std::vector<AnsiString> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = content.size();
        if (end > start)
            lines.emplace_back(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool IsCommandLine(const AnsiString &line) { return !line.empty() && line[0] == '>'; }

bool ParseCommandLine(const AnsiString &line, int &code, AnsiString &text)
{
    size_t star = line.find('*');
    if (star == AnsiString::npos)
        return false;
    size_t hash = line.find('#', star + 1);
    if (hash == AnsiString::npos)
        return false;
    size_t i = star + 1;
    bool negative = i < hash && line[i] == '-';
    if (negative)
        ++i;
    if (i == hash || hash - i > 10)
        return false;
    int64_t value = 0;
    for (; i < hash; ++i) {
        char c = line[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return false;
    code = static_cast<int>(value);
    text = line.substr(hash + 1);
    return true;
}
