// Texts, kinds and layout of the run-time message dialog.
#include <gtest/gtest.h>

#include "base/messages/BsMssg.h"

namespace {
const BilingualRow Table[] = {
    {5, "Файл $ не знайдено", "Файл $ не найден"},
    {6, "Без місця", "Без места"},
    {0, nullptr, nullptr},
};
AnsiString TextOf(const TBsMssg &m) { return m.Text() ? AnsiString(m.Text()) : AnsiString("<null>"); }
}  // namespace

TEST(BsMssgText, ParameterTakesThePlaceholderOrFollowsTheText)
{
    TBsMssg m;
    EXPECT_EQ(nullptr, m.Text());
    m.SetText("Файл $ занят", "a.dat");
    EXPECT_EQ("Файл a.dat занят", TextOf(m));
    m.SetText("Нет места:", "C:");
    EXPECT_EQ("Нет места:C:", TextOf(m));
    m.SetText("abcdef", "xyz123", 3, 4);  // lengths cut both
    EXPECT_EQ("abcdxyz", TextOf(m));
    m.SetText("Один", nullptr);
    EXPECT_EQ("Один", TextOf(m));
    m.SetText(nullptr, "только параметр");
    EXPECT_EQ("только параметр", TextOf(m));
    m.SetText("", "");
    EXPECT_EQ(nullptr, m.Text());
    m.SetText(nullptr, nullptr);
    EXPECT_EQ(nullptr, m.Text());
    m.Placeholder = '%';
    m.SetText("a % b $", "X");
    EXPECT_EQ("a X b $", TextOf(m));
}

TEST(BsMssgText, TextByNumberInEachLanguage)
{
    TBsMssg m;
    EXPECT_EQ(1, m.Language());
    m.SetTextByNumber(0, 5, "b.txt", Table, 0);
    EXPECT_EQ(0, m.Language());
    EXPECT_EQ("Файл b.txt не знайдено", TextOf(m));
    m.SetTextByNumber(1, 6, "b.txt", Table, 0);
    EXPECT_EQ("Без местаb.txt", TextOf(m));
    // A number not in the table: the missing-text message with the number, no parameter.
    m.SetTextByNumber(1, 77, "b.txt", Table, 0);
    EXPECT_EQ("Отсутствует текст сообщения.#Номер =77", TextOf(m));
    m.SetTextByNumber(0, 77, "b.txt", Table, 0);
    EXPECT_EQ("Відсутній текст повідомлення.#Номер =77", TextOf(m));
    // A string resource the program does not have.
    m.SetTextByResource(4242, 1);
    EXPECT_EQ("Отсутствует текст сообщения.#Номер ресурса=4242", TextOf(m));
    m.SetTextByResource(4242, 0);
    EXPECT_EQ("Відсутній текст повідомлення.#Номер ресурса=4242", TextOf(m));
    // The terminator itself is no text.
    m.SetTextByNumber(1, 0, nullptr, Table, 0);
    EXPECT_EQ("Отсутствует текст сообщения.#Номер =0", TextOf(m));
}

TEST(BsMssgText, SystemTextAndItsLimit)
{
    EXPECT_EQ("Системное сообщения: #Отказано в доступе.", BsSystemText(1, "Отказано в доступе."));
    EXPECT_EQ("Системное повідомлення: #Access denied.", BsSystemText(0, "Access denied."));
    EXPECT_EQ("Отсутствует текст системного сообщения.", BsSystemText(1, ""));
    EXPECT_EQ("Відсутній текст системного повідомлення.", BsSystemText(0, ""));
    AnsiString longText = BsSystemText(1, AnsiString(5000, 'x'));
    EXPECT_EQ(1023u, longText.size());
    EXPECT_EQ("Системное сообщения: #xxx", longText.substr(0, 25));
}

TEST(BsMssgKinds, TableRowsCaptionsAndButtons)
{
    struct {
        int kind, caption, count;
        uint8_t buttons[3];
        uint32_t colour;
    } expected[] = {
        {0, 0, 1, {0}, 0x80FF80},    {1, 1, 1, {0}, 0x00FFFF},       {2, 2, 1, {0}, 0x8080FF},
        {3, 3, 2, {2, 1}, 0xFFFF80}, {4, 0, 2, {0, 3}, 0x80FF80},    {5, 1, 2, {0, 3}, 0x00FFFF},
        {6, 2, 2, {0, 3}, 0x8080FF}, {7, 3, 3, {2, 3, 1}, 0xFFFF80},
    };
    for (auto &e : expected) {
        const BsMssgKind *row = FindBsMssgKind(e.kind);
        ASSERT_NE(nullptr, row) << e.kind;
        EXPECT_EQ(e.caption, row->Caption);
        ASSERT_EQ(e.count, row->ButtonCount);
        for (int i = 0; i < e.count; ++i)
            EXPECT_EQ(e.buttons[i], row->Buttons[i]) << e.kind << " " << i;
        EXPECT_EQ(e.colour, row->Color);
    }
    EXPECT_EQ(nullptr, FindBsMssgKind(8));
    EXPECT_EQ(nullptr, FindBsMssgKind(-1));
    EXPECT_EQ(nullptr, FindBsMssgKind(200));

    EXPECT_STREQ("Предупреждение", FindBilingualText(BsMssgCaptions, 1, BsMssgTableEnd, 1));
    EXPECT_STREQ("Вибір", FindBilingualText(BsMssgCaptions, 3, BsMssgTableEnd, 0));
    EXPECT_STREQ("Н"
                 "i",
                 FindBilingualText(BsMssgButtons, BsBtnNo, BsMssgTableEnd, 0));
    EXPECT_STREQ("Да", FindBilingualText(BsMssgButtons, BsBtnYes, BsMssgTableEnd, 0));
    EXPECT_STREQ("Просмотр", FindBilingualText(BsMssgButtons, BsBtnView, BsMssgTableEnd, 1));
    EXPECT_EQ(nullptr, FindBilingualText(BsMssgButtons, 4, BsMssgTableEnd, 1));
}

TEST(BsMssgLayout, ButtonsLabelAndHeight)
{
    const int m = 20, width = 320;
    // No text: no label, buttons at 2m, height 4m + 25.
    BsMssgLayout none = LayoutBsMssg(*FindBsMssgKind(2), width, m, false, 0);
    EXPECT_FALSE(none.HasLabel);
    EXPECT_EQ(2 * m, none.ButtonTop);
    EXPECT_EQ(4 * m + 25, none.FormHeight);
    EXPECT_EQ(width / 2 - 37, none.ButtonLeft[0]);

    BsMssgLayout two = LayoutBsMssg(*FindBsMssgKind(3), width, m, true, 39);
    EXPECT_TRUE(two.HasLabel);
    EXPECT_EQ(m, two.LabelLeft);
    EXPECT_EQ(m, two.LabelTop);
    EXPECT_EQ(width - 2 * m, two.LabelWidth);
    EXPECT_EQ(2 * m + 39 + m, two.ButtonTop);
    EXPECT_EQ(m, two.ButtonLeft[0]);
    EXPECT_EQ(width - m - 75, two.ButtonLeft[1]);
    EXPECT_EQ(two.ButtonTop + 2 * m + 25, two.FormHeight);

    BsMssgLayout three = LayoutBsMssg(*FindBsMssgKind(7), 301, m, true, 13);
    EXPECT_EQ(m, three.ButtonLeft[0]);
    EXPECT_EQ(150 - 37, three.ButtonLeft[1]);
    EXPECT_EQ(301 - m - 75, three.ButtonLeft[2]);
}
