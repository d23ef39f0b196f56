#include "base/messages/zmsg.h"

#include <cstdio>
#include <vector>

#include "base/text/CfgLanguage.h"

TMessageTextProvider MessageTextProvider;

void ClearMessageTextProvider() { MessageTextProvider = nullptr; }

namespace {

struct BuiltInText {
    const char *russian;
    const char *ukrainian;
};

// Texts of numbers 1 to 40. "$" is an argument place, "#" a line break of the markup layout.
const BuiltInText builtInTexts[40] = {
    {"Файл $ не существует", "Файл $ не iснує"},                       // 1
    {"Ошибка при открытии файла $", "Помилка при вiдкриттi файлу $"},  // 2
    {"Ошибка при создании файла $", "Помилка при створеннi файлу $"},  // 3
    {"Буфер отсутствует в списке", "Буфер вiдсутнiй у списку"},        // 4
    {"Ошибка при записи в файл $", "Помилка при запису у файл $"},     // 5
    {"Не задано имя файла $", "Не задано iм'я файлу $"},               // 6
    {"Заданный псевдоним $ отсутствует в списке псевдонимов",
     "Заданий псевдонiм $ вiдсутнiй у списку псевдонiмiв"},                                              // 7
    {"Попытка обновления удаленой записи в файле $  ", "Спроба оновлення видаленого запису у файлi $"},  // 8
    {"Прочитана запись нулевой длины из файла $ адрес записи &",
     "Прочитано запис нульової довжини з файлу $ адрес запису &"},  // 9
    {"В файле $ неверно задан адрес следующей записи $",
     "У файлi $ неправильно задана адреса наступного запису $"},  // 10
    {"В файле $ длина записи ( $ ) превышает допустимую $  адрес записи &",
     "У файлi $ довжина запису ( $ ) перевищує припустиму $ адрес запису &"},                                     // 11
    {"Контрольная сумма файла $ не совпадает с эталонной", "Контрольна сума файлу $ не збiгається з еталонною"},  // 12
    {"Недопустимые размеры экрана ($ x $)", "Недопустимі розміри екрану ($ x $)"},                                // 13
    {"Указанный путь не существует", "Зазначений шлях не iснує"},                                                 // 14
    {"Попытка выполнить операцию с файлом для неоткрытого файла",
     "Спроба виконати операцію з файлом для невідкритого файлу"},  // 15
    {"Несоответствие длин при перезаписи.#(Физический файл $)",
     "Невiдповiднiсть довжин при перезапису.#(Фiзичний файл $)"},  // 16
    {"Попытка чтения из файла для записи.#(Физический файл $)",
     "Спроба читання з файлу для запису.#(Фiзичний файл $)"},  // 17
    {"Попытка записи в файл для чтения.#(Физический файл $)",
     "Спроба запису у файл для читання.#(Фiзичний файл $)"},                            // 18
    {"Некорректно задан поисковый образ#$", "Некоректно задано пошуковий образ#$"},     // 19
    {"Удаление файла $ не выполнено", "Видалення файлу $ не виконано"},                 // 20
    {"Ошибка при позиционировании в файле $", "Помилка при позицiонуваннi у файлi $"},  // 21
    {"Последний символ числа не может быть разделителем целой и дробной частей",
     "Останнiй символ числа не може бути роздiльником цiлої i дробової частин"},  // 22
    {"Недопустимый символ операции", "Неприпустимий символ операцiї"},            // 23
    {"Отсутствует открывающая скобка", "Вiдсутня вiдкриваюча дужка"},             // 24
    {"Отсутствует закрывающая скобка", "Вiдсутня закриваюча дужка"},              // 25
    {"Ошибка в записи числа", "Помилка в запису числа"},                          // 26
    {"Деление на ноль", "Дiлення на нуль"},                                       // 27
    {"Возведения нуля в нулевую степень при определении $",
     "Пiднесення нуля до нульового степеня при визначеннi $"},  // 28
    {"Возведение отрицательного числа в дробную степень при определении $",
     "Пiднесення вiд'ємного числа до дробового степеня при визначеннi $"},  // 29
    {"Метод не соответствует типу логического файла. Файл $",
     "Метод не вiдповiдає типу логiчного файлу. Файл $"},                // 30
    {"Неопределенный идентификатор $", "Невизначений iдентифiкатор $"},  // 31
    {"Папка $ не существует", "Папка $ не iснує"},                       // 32
    {"Файл  $ не соответствует текущей pедакции комплекса - $",
     "Файл  $ не вiдповiдає поточнiй редакцiї комплексу - $"},  // 33
    {"Файлы  $ не соответствуют текущей pедакции комплекса - $",
     "Файли  $ не вiдповiдають поточнiй редакцiї комплексу - $"},                             // 34
    {"Ошибка в записи переменной", "Помилка в запису змiнної"},                               // 35
    {"Идентификатор должен начинаться с буквы", "Iдентифiкатор повинен починатись з букви"},  // 36
    {"Недопустимое использование функции S", "Неприпустиме використання функцiї S"},          // 37
    {"Были ошибки в задании промежутков функции выбор (S)",
     "Були помилки в завданнi промiжкiв функцiї вибiр (S)"},                             // 38
    {" $ с таким номером уже существует", " $ з таким номером вже iснує"},               // 39
    {" Логический файл $ файла $ уже открыт", " Логічний файл $ файлу $ вже відкрито"},  // 40
};

// Arguments are separated by "|" only, so a system text with line breaks stays one argument. An
// empty text has no arguments; a trailing empty piece is no argument.
std::vector<AnsiString> SplitArguments(const AnsiString &args)
{
    std::vector<AnsiString> result;
    size_t start = 0;
    while (start < args.size()) {
        size_t bar = args.find('|', start);
        if (bar == AnsiString::npos)
            bar = args.size();
        result.push_back(args.substr(start, bar - start));
        start = bar + 1;  // a "|" at the very end opens no further argument
    }
    return result;
}

AnsiString LookUpText(int number)
{
    if (MessageTextProvider && number >= 0 && number <= 0xFFFF) {
        AnsiString text;
        MessageTextProvider(static_cast<uint16_t>(number), MessageLanguage() != 0, MessageRecordKind, text);
        return text;
    }
    return ResourceMessageText(number);
}

}  // namespace

AnsiString MessageText(const AnsiString &args, int number)
{
    if (number == 0)
        return args;
    const std::vector<AnsiString> arguments = SplitArguments(args);
    AnsiString text;
    if (number >= 1 && number <= 40) {
        const BuiltInText &t = builtInTexts[number - 1];
        text = MessageLanguage() != 0 ? t.russian : t.ukrainian;
    } else if (number == 99 || number == 1099 || number == 2099) {
        text = "$";
    } else {
        text = LookUpText(number);
    }
    if (text.empty()) {
        text = MissingMessageText(number);
        if (!arguments.empty()) {
            text += "##";
            for (size_t i = 0; i < arguments.size(); ++i)
                text += " $";
        }
    }
    // One pass: each "$" of the text takes the next argument, or a blank when none is left; a "$"
    // inside an argument is text.
    AnsiString result;
    result.reserve(text.size() + args.size());
    size_t next = 0;
    for (char c : text) {
        if (c != '$') {
            result += c;
        } else if (next < arguments.size()) {
            result += arguments[next++];
        } else {
            result += ' ';
        }
    }
    return result;
}

AnsiString MissingMessageText(int number)
{
    return "Ошибка. Текст сообщения №" + std::to_string(number) + " отсутствует в ресурсах программы";
}

AnsiString ProviderText(int number, bool russian, int recordKind)
{
    if (!MessageTextProvider || number < 0 || number > 0xFFFF)
        return ResourceMessageText(number);
    AnsiString text;
    MessageTextProvider(static_cast<uint16_t>(number), russian, recordKind, text);
    return text;
}

AnsiString ProviderText(int number) { return ProviderText(number, MessageLanguage() != 0, MessageRecordKind); }

void RaiseMessage(const AnsiString &args, int number) { throw ZError(args, number); }

AnsiString WindowsErrorDescription(uint32_t code, const AnsiString &systemText)
{
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(code));
    return systemText + "[Win=" + hex + "]";
}

AnsiString WindowsErrorMessage(const AnsiString &arg, uint32_t code, const AnsiString &systemText)
{
    const AnsiString description = WindowsErrorDescription(code, systemText);
    return arg.empty() ? description : arg + "#(" + description + ")";
}
