#include "base/files/FileErrors.h"

#include "base/messages/TZExcept.h"
#include "base/text/TextPrims.h"

const BilingualRow FileErrorTable[] = {
    {FileAskReplace, "Файл $ вже існує. #Перекривать ?", "Файл $ уже существует. #Перекрывать ?"},
    {FileErrBadMode, "Недопустимий режим відкриття файлу $", "Недопустимый режим открытия файла $"},
    {FileErrNoName, "Не задано ім'я файлу ", "Не задано имя файла "},
    {FileErrNotFound, "Не знайдений файл $", "Не найден файл $"},
    {FileErrClosed, "Спроба виконання операції для закритого файлу ($)",
     "Попытка выполнения операции для закрытого файла ($)"},
    {FileErrPastEnd, "Спроба читання після кінця файлу ($)", "Попытка чтения после конца файла ($)"},
    {FileErrClosing, "Помилка при закритті файлу ($)", "Ошибка при закрытии файла ($)"},
    {FileErrOpening, "Помилка при відкритті файлу ($)", "Ошибка при открытии файла ($)"},
    {FileErrNotForWriting, "Файл не відкритий для запису або дозапису $", "Файл не открыт для записи или дозаписи $"},
    {FileErrReadInWriteMode, "Спроба читання для режиму запису (файл $)", "Попытка чтения для режима записи (файл $)"},
    {FileErrWriteInReadMode, "Спроба запису для режимі читання (файл $)", "Попытка записи для режиме чтения (файл $)"},
    {FileErrSeekOutside, "Спроба позиціювання за межі файлу $", "Попытка позиционирования за пределы файла $"},
    {FileErrNoLineEnd, "Відсутня ознака кінця текстового рядка (файл $)",
     "Отсутствует признак конца текстовой строки (файл $)"},
    {FileErrorTableEnd, nullptr, nullptr},
};

AnsiString FileErrorText(std::uint32_t numberOrCode, const AnsiString &name, std::uint8_t language)
{
    std::uint32_t number = numberOrCode;
    if (numberOrCode >= OwnErrorBase) {
        // Only the file errors' codes; the library's other own codes are not theirs.
        number = numberOrCode - OwnErrorBase;
        if (number < FileErrBadMode)
            return AnsiString();
    }
    // Only the two languages have a text; any other would get the table row, not a text.
    if (number == FileErrorTableEnd || (language != 0 && language != 1))
        return AnsiString();
    const char *text = FindBilingualText(FileErrorTable, number, FileErrorTableEnd, language);
    return text != nullptr ? FillPlaceholder(text, name) : AnsiString();
}
