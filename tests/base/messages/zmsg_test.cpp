#include "base/messages/zmsg.h"

#include <gtest/gtest.h>

#include "base/text/CfgLanguage.h"

namespace {

uint8_t ukrainian() { return 0; }

class MessageTextTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetCfgLanguageReaders(nullptr, nullptr);
        ClearMessageTextProvider();
    }
};

const AnsiString missingPrefix = "Ошибка. Текст сообщения №";
const AnsiString missingSuffix = " отсутствует в ресурсах программы";

}  // namespace

TEST_F(MessageTextTest, NumberZeroKeepsTheArgumentsAsTheyStand) { EXPECT_EQ(MessageText("a|b $ c|", 0), "a|b $ c|"); }

TEST_F(MessageTextTest, BuiltInTextInEitherLanguage)
{
    EXPECT_EQ(MessageText("C:\\a.dat", 1), "Файл C:\\a.dat не существует");
    SetCfgLanguageReaders(nullptr, ukrainian);
    EXPECT_EQ(MessageText("C:\\a.dat", 1), "Файл C:\\a.dat не iснує");
    EXPECT_EQ(MessageText("", 40), " Логічний файл   файлу   вже відкрито");
}

TEST_F(MessageTextTest, PlacesLeftOverBecomeBlanksAndExtraArgumentsAreDropped)
{
    EXPECT_EQ(MessageText("f", 10), "В файле f неверно задан адрес следующей записи  ");
    EXPECT_EQ(MessageText("f|x|y", 1), "Файл f не существует");
}

TEST_F(MessageTextTest, ADollarInsideAnArgumentIsText)
{
    EXPECT_EQ(MessageText("a$b|c", 10), "В файле a$b неверно задан адрес следующей записи c");
}

TEST_F(MessageTextTest, RecordTooLongTextTakesTheReadersArguments)
{
    EXPECT_EQ(MessageText("f.dat|( 20001)|20000|0000ABCD", 11),
              "В файле f.dat длина записи ( ( 20001) ) превышает допустимую 20000  адрес записи &");
}

TEST_F(MessageTextTest, NinetyNineFamilyGivesTheFirstArgument)
{
    EXPECT_EQ(MessageText("whole text|second", 99), "whole text");
    EXPECT_EQ(MessageText("whole text", 1099), "whole text");
    EXPECT_EQ(MessageText("whole text", 2099), "whole text");
}

TEST_F(MessageTextTest, ArgumentsSplitOnlyAtBars)
{
    EXPECT_EQ(MessageText("line one\r\nline two[Win=00000005]", 99), "line one\r\nline two[Win=00000005]");
    // An empty middle piece is an argument, a trailing "|" opens none.
    EXPECT_EQ(MessageText("a||", 10), "В файле a неверно задан адрес следующей записи ");
}

TEST_F(MessageTextTest, NumberWithoutTextGivesTheMissingTextMessage)
{
    EXPECT_EQ(MessageText("A|B", 2001), missingPrefix + "2001" + missingSuffix + "## A B");
    EXPECT_EQ(MessageText("", 714), missingPrefix + "714" + missingSuffix);
}

TEST_F(MessageTextTest, ProviderSuppliesOtherNumbers)
{
    int seenKind = 0;
    bool seenRussian = false;
    MessageTextProvider = [&](uint16_t number, bool russian, int kind, AnsiString &text) {
        seenKind = kind;
        seenRussian = russian;
        if (number == 500)
            text = "Запись $ занята";
    };
    EXPECT_EQ(MessageText("7", 500), "Запись 7 занята");
    EXPECT_EQ(seenKind, 1420);
    EXPECT_TRUE(seenRussian);
    EXPECT_EQ(MessageText("7", 501), missingPrefix + "501" + missingSuffix + "## 7");
    EXPECT_EQ(MessageText("7", 1), "Файл 7 не существует");  // built-in texts never ask it
}

TEST(WindowsError, DescriptionCarriesTheCodeInEightHexDigits)
{
    EXPECT_EQ(WindowsErrorDescription(0x20, "Файл занят"), "Файл занят[Win=00000020]");
    EXPECT_EQ(WindowsErrorDescription(0xC000001D, ""), "[Win=C000001D]");
    EXPECT_EQ(WindowsErrorMessage("C:\\a", 5, "Отказано"), "C:\\a#(Отказано[Win=00000005])");
    EXPECT_EQ(WindowsErrorMessage("", 5, "Отказано"), "Отказано[Win=00000005]");
}

TEST(ZErrorTest, RaiseMessageThrowsArgumentsAndNumber)
{
    try {
        RaiseMessage("a|b", 39);
        FAIL();
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), "a|b");
        EXPECT_EQ(e.HelpContext(), 39);
    }
}
