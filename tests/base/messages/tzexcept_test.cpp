// Codes, second codes, messages and texts of the low layers' exception.
#include <gtest/gtest.h>

#include "base/messages/TZExcept.h"

TEST(TZExcept, OwnErrorKeepsCodeAndTextWithoutMessage)
{
    TZExcept e(OwnErrorCode(0x32), "C:\\data\\a.dat");
    EXPECT_EQ(0xE4000032u, e.Code());
    EXPECT_EQ(0u, e.SecondCode());
    EXPECT_EQ("C:\\data\\a.dat", e.Text());
    EXPECT_EQ("", e.Message());
    EXPECT_EQ(0xE4000032u, static_cast<uint32_t>(e.HelpContext()));
    EXPECT_EQ(0xE4000001u, OwnErrorCode(1));
    EXPECT_EQ(0xE400003Du, OwnErrorCode(61));
}

TEST(TZExcept, FailedSystemCallHasCodeZeroAndTheSystemCodeSecond)
{
    TZExcept e(0, "Файл.txt", 5);
    EXPECT_EQ(0u, e.Code());
    EXPECT_EQ(5u, e.SecondCode());
    EXPECT_EQ(5, e.HelpContext());
    EXPECT_EQ("Файл.txt", e.Text());
    EXPECT_EQ("", e.Message());  // no string resource 0
    // An own code has no string resource either.
    EXPECT_EQ("", TZExcept(OwnErrorCode(8), "", 1).Message());
}

TEST(TZExcept, ReadyMessageIsAlsoTheText)
{
    TZExcept e(AnsiString("Неизвестный тип поля"), OwnErrorCode(8));
    EXPECT_EQ("Неизвестный тип поля", e.Message());
    EXPECT_EQ("Неизвестный тип поля", e.Text());
    EXPECT_EQ(0xE4000008u, e.Code());
    EXPECT_EQ(0u, e.SecondCode());
    EXPECT_EQ(0xE4000008u, static_cast<uint32_t>(e.HelpContext()));
}

TEST(TZExcept, ThrownByValueCaughtAsException)
{
    try {
        throw TZExcept(OwnErrorCode(50), "b.dat");
    } catch (Exception &e) {
        auto *z = dynamic_cast<TZExcept *>(&e);
        ASSERT_NE(nullptr, z);
        EXPECT_EQ(0xE4000032u, z->Code());
        EXPECT_EQ("b.dat", z->Text());
        return;
    }
    FAIL() << "not caught as Exception";
}
