#include "base/messages/BsMssg.h"

#include <cstring>
#include <string>

#include "base/text/TextPrims.h"
#include "base/messages/zmsg.h"

namespace {
// The kind table, ended by the row of kind 8.
constexpr BsMssgKind Kinds[] = {
    {BsKindInfo, 0, 1, {BsBtnClose, 0, 0}, 0x80FF80},
    {BsKindWarning, 1, 1, {BsBtnClose, 0, 0}, 0x00FFFF},
    {BsKindError, 2, 1, {BsBtnClose, 0, 0}, 0x8080FF},
    {BsKindChoice, 3, 2, {BsBtnYes, BsBtnNo, 0}, 0xFFFF80},
    {BsKindInfoView, 0, 2, {BsBtnClose, BsBtnView, 0}, 0x80FF80},
    {BsKindWarningView, 1, 2, {BsBtnClose, BsBtnView, 0}, 0x00FFFF},
    {BsKindErrorView, 2, 2, {BsBtnClose, BsBtnView, 0}, 0x8080FF},
    {BsKindChoiceView, 3, 3, {BsBtnYes, BsBtnView, BsBtnNo}, 0xFFFF80},
    {8, 0, 0, {0, 0, 0}, 0},
};

constexpr size_t SystemTextBuffer = 1024;

int LengthOf(const char *text, int length)
{
    if (!text)
        return 0;
    return length != 0 ? length : static_cast<int>(std::strlen(text));
}
}  // namespace

const BilingualRow BsMssgCaptions[] = {
    {0, "Інформація", "Информация"}, {1, "Попередження", "Предупреждение"}, {2, "Помилка", "Ошибка"},
    {3, "Вибір", "Выбор"},           {BsMssgTableEnd, nullptr, nullptr},
};

const BilingualRow BsMssgButtons[] = {
    {BsBtnClose, "Закрити", "Закрыть"},
    {BsBtnNo, "Нi", "Нет"},  // the Ukrainian text ends in a Latin i
    {BsBtnYes, "Да", "Да"},
    {BsBtnView, "Перегляд", "Просмотр"},
    {BsMssgTableEnd, nullptr, nullptr},
};

const BsMssgKind *FindBsMssgKind(int kind)
{
    for (const BsMssgKind &row : Kinds) {
        if (row.Kind == 8)
            return nullptr;
        if (row.Kind == kind)
            return &row;
    }
    return nullptr;
}

int BsLabelWidth(int formWidth, int m) { return formWidth - 2 * m; }

BsMssgLayout LayoutBsMssg(const BsMssgKind &kind, int formWidth, int m, bool hasText, int labelHeight)
{
    BsMssgLayout layout;
    int y = 2 * m;
    if (hasText) {
        layout.HasLabel = true;
        layout.LabelLeft = m;
        layout.LabelTop = m;
        layout.LabelWidth = BsLabelWidth(formWidth, m);
        y += labelHeight + m;
    }
    layout.ButtonTop = y;
    const int centre = formWidth / 2 - 37, left = m, right = formWidth - m - BsButtonWidth;
    switch (kind.ButtonCount) {
    case 1: layout.ButtonLeft[0] = centre; break;
    case 2: layout.ButtonLeft[0] = left, layout.ButtonLeft[1] = right; break;
    case 3: layout.ButtonLeft[0] = left, layout.ButtonLeft[1] = centre, layout.ButtonLeft[2] = right; break;
    default: break;
    }
    layout.FormHeight = y + 2 * m + BsButtonHeight;
    return layout;
}

AnsiString BsSystemText(uint8_t language, const AnsiString &systemText)
{
    const bool russian = language != 0;
    AnsiString text;
    if (systemText.empty())
        text = russian ? "Отсутствует текст системного сообщения." : "Відсутній текст системного повідомлення.";
    else
        text = AnsiString(russian ? "Системное сообщения: " : "Системное повідомлення: ") + "#" + systemText;
    if (text.size() > SystemTextBuffer - 1)
        text.resize(SystemTextBuffer - 1);
    return text;
}

TBsMssg::TBsMssg() = default;

TBsMssg::~TBsMssg() { delete[] text_; }

void TBsMssg::SetText(const char *text, const char *parameter, int parameterLength, int textLength)
{
    delete[] text_;
    text_ = nullptr;
    const int textBytes = LengthOf(text, textLength);
    const int parameterBytes = LengthOf(parameter, parameterLength);
    const int total = textBytes + parameterBytes;
    if (total == 0)
        return;
    text_ = new char[static_cast<size_t>(total) + 1];
    // The merge reads its lengths exactly, so empty inputs are given as empty texts.
    FillPlaceholder(text_, text ? text : "", parameter ? parameter : "", Placeholder, textBytes, parameterBytes);
}

void TBsMssg::SetTextByNumber(uint8_t language, uint32_t number, const char *parameter, const BilingualRow *table,
                              uint32_t terminator)
{
    language_ = language;
    if (const char *text = FindBilingualText(table, number, terminator, language != 0 ? 1 : 0)) {
        SetText(text, parameter);
        return;
    }
    AnsiString missing =
        AnsiString(language != 0 ? "Отсутствует текст сообщения.#Номер =" : "Відсутній текст повідомлення.#Номер =") +
        std::to_string(number);
    SetText(missing.c_str());
}

void TBsMssg::SetTextByResource(int id, uint8_t language)
{
    AnsiString text = ResourceMessageText(id);
    if (text.empty())
        text = AnsiString(language != 0 ? "Отсутствует текст сообщения.#Номер ресурса="
                                        : "Відсутній текст повідомлення.#Номер ресурса=") +
               std::to_string(id);
    SetText(text.c_str());
}
