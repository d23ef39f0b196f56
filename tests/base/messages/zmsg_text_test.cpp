// Message texts: the message language, argument places, the provider and the missing-text message.
#include <gtest/gtest.h>

#include <vector>

#include "base/text/CfgLanguage.h"
#include "base/messages/zmsg.h"

namespace {

std::uint8_t messageLanguage = 1;
std::uint8_t ReadMessageLanguage() { return messageLanguage; }

struct ProviderCall {
    std::uint16_t Number;
    bool Russian;
    int RecordKind;
};

class MessageServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        messageLanguage = 1;
        SetCfgLanguageReaders(nullptr, ReadMessageLanguage);
    }
    void TearDown() override
    {
        ClearMessageTextProvider();
        SetCfgLanguageReaders(nullptr, nullptr);
    }

    // A provider that records its calls and answers with `text`.
    void Provide(const AnsiString &text)
    {
        MessageTextProvider = [this, text](std::uint16_t n, bool russian, int kind, AnsiString &out) {
            calls.push_back({n, russian, kind});
            out = text;
        };
    }

    std::vector<ProviderCall> calls;
};

const AnsiString Missing = "Ошибка. Текст сообщения №";
const AnsiString MissingEnd = " отсутствует в ресурсах программы";

}  // namespace

TEST_F(MessageServiceTest, BuiltInTextsFollowTheMessageLanguageAnyNonZeroByteMeaningRussian)
{
    EXPECT_EQ("Файл C:\\a.txt не существует", MessageText("C:\\a.txt", 1));
    EXPECT_EQ(" Логический файл 3 файла base.sfr уже открыт", MessageText("3|base.sfr", 40));
    messageLanguage = 0;
    EXPECT_EQ("Файл C:\\a.txt не iснує", MessageText("C:\\a.txt", 1));
    EXPECT_EQ(" Логічний файл 3 файлу base.sfr вже відкрито", MessageText("3|base.sfr", 40));
    EXPECT_EQ("Дiлення на нуль", MessageText("", 27));
    for (std::uint8_t marker : {2, 4, 5, 0xFF}) {
        messageLanguage = marker;
        EXPECT_EQ("Деление на ноль", MessageText("", 27)) << int(marker);
    }
}

TEST_F(MessageServiceTest, PlacesLeftOverBecomeBlanksAndExtraArgumentsAreDropped)
{
    EXPECT_EQ("В файле f.dat неверно задан адрес следующей записи  ", MessageText("f.dat", 10));
    EXPECT_EQ("Файл A не существует", MessageText("A|B|C", 1));
    EXPECT_EQ("Недопустимые размеры экрана (  x  )", MessageText("", 13));
    // A trailing "|" adds no argument; an inner empty piece is an empty argument.
    EXPECT_EQ("Недопустимые размеры экрана (640 x  )", MessageText("640|", 13));
    EXPECT_EQ("Недопустимые размеры экрана ( x 480)", MessageText("|480", 13));
}

TEST_F(MessageServiceTest, NinetyNineAndItsOffsetsTakeTheFirstArgumentWhole)
{
    Provide("provider text");
    for (int n : {99, 1099, 2099})
        EXPECT_EQ("first", MessageText("first|second", n)) << n;
    // Only "|" separates: a system text with line breaks and its code stay one argument.
    AnsiString system = "Line one.\r\nLine two.[Win=00000005]";
    EXPECT_EQ("Open failed#(" + system + ")", MessageText("Open failed#(" + system + ")", 99));
    EXPECT_TRUE(calls.empty());
}

TEST_F(MessageServiceTest, TheProviderSuppliesEveryOtherNumberInSixteenBits)
{
    Provide("Запись $ занята, $");
    EXPECT_EQ("Запись 5 занята, ivan", MessageText("5|ivan", 2001));
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(2001, calls[0].Number);
    EXPECT_TRUE(calls[0].Russian);
    EXPECT_EQ(1420, calls[0].RecordKind);

    messageLanguage = 0;
    MessageText("", 41);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(41, calls[1].Number);
    EXPECT_FALSE(calls[1].Russian);

    // Numbers outside 16 bits are not asked for and show the missing-text message.
    EXPECT_EQ(Missing + "70000" + MissingEnd, MessageText("", 70000));
    EXPECT_EQ(Missing + "-5" + MissingEnd, MessageText("", -5));
    EXPECT_EQ(2u, calls.size());
}

TEST_F(MessageServiceTest, ANumberWithoutATextShowsTheMissingTextMessageWithItsArguments)
{
    EXPECT_EQ(Missing + "714" + MissingEnd + "## A B", MessageText("A|B", 714));
    EXPECT_EQ(Missing + "619" + MissingEnd, MessageText("", 619));
    EXPECT_EQ(Missing + "989" + MissingEnd + "## x$y", MessageText("x$y", 989));
    Provide("");
    EXPECT_EQ(Missing + "990" + MissingEnd + "## C", MessageText("C", 990));
}

TEST_F(MessageServiceTest, ProviderTextPassesStraightThroughAndWorksWithoutAProvider)
{
    EXPECT_EQ(MessageText("", 0), ProviderText(714));  // no provider, no string: empty, no crash
    Provide("t");
    EXPECT_EQ("t", ProviderText(300, false, 7));
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(300, calls[0].Number);
    EXPECT_FALSE(calls[0].Russian);
    EXPECT_EQ(7, calls[0].RecordKind);
    EXPECT_EQ("t", ProviderText(301));
    EXPECT_TRUE(calls[1].Russian);
    EXPECT_EQ(1420, calls[1].RecordKind);
}
