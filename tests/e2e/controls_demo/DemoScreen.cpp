// The demonstration's table screen, shared by the program and the scenarios that drive it.
#include <string>

#include "tests/e2e/controls_demo/DemoProduct.h"

namespace {

using testdata::ScreenCell;
using testdata::ScreenRun;

// Colour-table indexes past the four defaults.
enum : uint8_t { HeadGrey = 4, LabelAmber = 5, SpanBlue = 6, LineRed = 7 };
// Stored font positions.
enum : uint16_t { PlainFont = 0, TitleFont = 1 };

ScreenRun Run(uint16_t font, const std::string &text, uint16_t number = 1)
{
    ScreenRun run;
    run.font = font;
    run.text = text;
    run.number = number;
    return run;
}

ScreenRun Image(uint16_t index, uint16_t number)
{
    ScreenRun run;
    run.flags = 0x07;  // image, shown, kind 1
    run.font = index;
    run.width = run.height = 16;
    run.number = number;
    return run;
}

// Both language lists get the same runs: a value reads the same in either language.
void Texts(ScreenCell &cell, const std::vector<ScreenRun> &runs)
{
    cell.runs1 = runs;
    cell.runs0 = runs;
}

// A caption: list 0 Ukrainian, list 1 Russian.
void Texts(ScreenCell &cell, const std::vector<ScreenRun> &ukr, const std::vector<ScreenRun> &rus)
{
    cell.runs0 = ukr;
    cell.runs1 = rus;
}

constexpr uint8_t Editable = 0x01, VCentre = 0x08, Compact = 0x40;

void Label(ScreenCell &cell, const std::string &ukr, const std::string &rus)
{
    cell.flags = Compact | VCentre;
    cell.colour = LabelAmber;
    cell.editKind = 0;
    Texts(cell, {Run(PlainFont, ukr)}, {Run(PlainFont, rus)});
}

void Value(ScreenCell &cell, uint8_t kind, const std::string &text)
{
    cell.flags = Editable | Compact | VCentre;
    cell.editKind = kind;
    if (!text.empty())
        Texts(cell, {Run(PlainFont, text)});
}

}  // namespace

testdata::GridScreenBuilder DemoScreen()
{
    using namespace DemoRow;
    testdata::GridScreenBuilder b(Count, DemoCol::Count);
    b.fixedRows = 2;
    b.fixedCols = 1;
    b.widths = {30, 130, 170, 120};
    b.heights.assign(Count, 22);
    b.heights[Title] = 28;
    b.colours.push_back(0xD8D8D8);  // head grey
    b.colours.push_back(0xD8F0FF);  // label amber
    b.colours.push_back(0xFFE8D0);  // span blue
    b.colours.push_back(0x2020C0);  // a red line
    testdata::ScreenFont plain;
    plain.name = "Arial";
    plain.size = 9;
    plain.height = -12;
    testdata::ScreenFont title = plain;
    title.name = "Times New Roman";
    title.size = 12;
    title.height = -16;
    title.style = 0x02;  // bold
    title.colour = 0x800000;
    b.fonts = {plain, title};

    for (auto &cell : b.cells)
        cell.flags = Compact;
    // The title across the whole table, in the fixed rows.
    b.Span(Title, 0, Title, DemoCol::Count - 1);
    ScreenCell &head = b.Cell(Title, 0);
    head.colour = HeadGrey;
    head.flags = Compact | VCentre;
    head.editKind = 0;
    Texts(head, {Run(TitleFont, "Відомість показників")}, {Run(TitleFont, "Ведомость показателей")});
    const char *heads[][2] = {
        {"№", "№"}, {"Показник", "Показатель"}, {"Значення", "Значение"}, {"Примітка", "Примечание"}};
    for (int c = 0; c < DemoCol::Count; ++c) {
        ScreenCell &cell = b.Cell(Heads, c);
        cell.colour = HeadGrey;
        cell.flags = Compact | VCentre;
        cell.editKind = 0;
        Texts(cell, {Run(PlainFont, heads[c][0])}, {Run(PlainFont, heads[c][1])});
    }
    for (int r = Heads + 1; r < Count; ++r) {
        ScreenCell &cell = b.Cell(r, DemoCol::Numbers);
        cell.colour = HeadGrey;
        cell.flags = Compact | VCentre;
        cell.editKind = 0;
        Texts(cell, {Run(PlainFont, std::to_string(r - Heads))});
    }

    Label(b.Cell(Number, 1), "Кількість", "Количество");
    Value(b.Cell(Number, 2), 1, "12");
    Label(b.Cell(Signed, 1), "Залишок", "Остаток");
    Value(b.Cell(Signed, 2), 2, "-3,5");
    Label(b.Cell(Decimal, 1), "Коефіцієнт", "Коэффициент");
    Value(b.Cell(Decimal, 2), 3, "1,25");
    Label(b.Cell(RichText, 1), "Опис", "Описание");
    Value(b.Cell(RichText, 2), 4, "Короткий опис");
    Label(b.Cell(LongText, 1), "Примітка", "Примечание");
    Value(b.Cell(LongText, 2), 4, "");  // no runs until something is typed
    Label(b.Cell(Fraction, 1), "Частка", "Доля");
    Value(b.Cell(Fraction, 2), 5, "");  // made a fraction cell when loaded
    Label(b.Cell(DemoRow::Date, 1), "Дата", "Дата");
    Value(b.Cell(DemoRow::Date, 2), 6, "15.03.2024");
    Label(b.Cell(List, 1), "Одиниця", "Единица");
    // A list: the value, then its choices (hidden runs).
    Value(b.Cell(List, 2), 8, "шт.");
    {
        std::vector<ScreenRun> runs{Run(PlainFont, "шт.", 1)};
        const char *choices[] = {"шт.", "кг", "м"};
        for (uint16_t i = 0; i < 3; ++i) {
            ScreenRun choice = Run(PlainFont, choices[i], static_cast<uint16_t>(i + 2));
            choice.flags = 0x04;  // kind 1, not shown
            runs.push_back(choice);
        }
        Texts(b.Cell(List, 2), runs);
    }
    Label(b.Cell(Buttons, 1), "Дія", "Действие");
    Value(b.Cell(Buttons, 2), 9, "");
    Texts(b.Cell(Buttons, 2), {Run(PlainFont, "Обчислити", 1), Run(PlainFont, "Скинути", 2)},
          {Run(PlainFont, "Вычислить", 1), Run(PlainFont, "Сбросить", 2)});
    // Notes: editable text beside the numbers, nothing beside the rest.
    for (int r = Number; r <= Decimal; ++r)
        Value(b.Cell(r, DemoCol::Notes), 4, "");
    for (int r = RichText; r <= Buttons; ++r)
        Label(b.Cell(r, DemoCol::Notes), "", "");

    // Three rows by three columns: an image, two fonts, a red bottom line, light blue.
    b.Span(Span, 1, SpanEnd, DemoCol::Count - 1);
    ScreenCell &span = b.Cell(Span, 1);
    span.colour = SpanBlue;
    span.bottomLine = LineRed;
    span.flags = Editable | Compact | VCentre;
    span.editKind = 4;
    Texts(span,
          {Image(43, 1), Run(TitleFont, " Об'єднана клітинка ", 2), Run(PlainFont, "на три рядки і три стовпці", 3)},
          {Image(43, 1), Run(TitleFont, " Объединённая ячейка ", 2), Run(PlainFont, "на три строки и три столбца", 3)});

    for (int r = FirstPlain; r < Count; ++r) {
        Label(b.Cell(r, 1), "Рядок " + std::to_string(r - Heads), "Строка " + std::to_string(r - Heads));
        Value(b.Cell(r, 2), 1, std::to_string((r - Heads) * 10));
        Value(b.Cell(r, DemoCol::Notes), 4, "");
    }
    return b;
}
