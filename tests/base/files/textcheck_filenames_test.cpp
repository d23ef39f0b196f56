#include <gtest/gtest.h>

#include <string>

#include "base/files/FileErrors.h"
#include "base/files/FileNames.h"
#include "base/text/TextCheck.h"

namespace {
bool Check(const std::string &text, char separator, const char *allowed = nullptr, char stop = 0x1A)
{
    return CheckTextChars(text.data(), static_cast<int>(text.size()), stop, 0, allowed, separator);
}
}  // namespace

TEST(CheckTextChars, LinesOfTextPassAndControlBytesFail)
{
    EXPECT_TRUE(Check("Строка один\r\nline two\n\r\n", 0));
    EXPECT_TRUE(Check("", 0));
    EXPECT_TRUE(CheckTextChars("\x01", -1, 0, 0, nullptr, 0));
    EXPECT_FALSE(Check("ab\x01"
                       "cd",
                       0));
    EXPECT_FALSE(Check(std::string("a\0b", 3), 0));
    // A tab is text only when allowed or when the text is separated.
    EXPECT_FALSE(Check("a\tb", 0));
    EXPECT_TRUE(Check("a\tb", 0, "\t"));
    EXPECT_TRUE(Check("a\tb;c\r\n", ';'));
    // The stop byte always passes.
    EXPECT_TRUE(Check("text\x1A", 0));
    EXPECT_TRUE(Check("a;b\x1A", ';'));
    EXPECT_FALSE(Check("a;b\x02", ';'));
    EXPECT_TRUE(Check("a;b\x02", ';', "\x02"));
}

TEST(FileNameWrappers, PartsOfAPath)
{
    EXPECT_EQ(FileExtOf("C:\\Папка\\файл.txt"), "txt");
    EXPECT_EQ(FileExtOf("C:\\Папка\\файл"), "");
    EXPECT_EQ(FileNameExtOf("C:\\Папка\\файл.txt"), "файл.txt");
    EXPECT_EQ(FileFolderOf("C:\\Папка\\файл.txt"), "C:\\Папка\\");
    EXPECT_EQ(FileFolderOf("файл.txt"), "");
    EXPECT_EQ(FileNameOf("C:\\Папка\\файл.txt"), "файл");
    EXPECT_EQ(ChangeFileExtOf("C:\\a\\b.txt", "bak"), "C:\\a\\b.bak");
    EXPECT_EQ(ChangeFileExtOf("C:\\a\\b", ".bak"), "C:\\a\\b.bak");
    EXPECT_EQ(ChangeFileExtOf("C:\\a\\b.txt", ""), "C:\\a\\b");
    EXPECT_EQ(FileExtOf(""), "");
    EXPECT_EQ(ChangeFileExtOf("", "x"), "");
    // Paths longer than a record holds are taken whole.
    const std::string longName(400, 'n');
    EXPECT_EQ(FileNameExtOf("C:\\" + longName + ".e"), longName + ".e");
}

TEST(FileNameWrappers, TrailingBackslash)
{
    EXPECT_EQ(AddTrailingBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash2("x"), "x\\");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\a\\\\"), "C:\\a\\");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\a"), "C:\\a");
    EXPECT_EQ(RemoveTrailingBackslash(""), "");
}

TEST(FileErrorText, ByNumberOrCodeInEitherLanguage)
{
    EXPECT_EQ(FileErrorText(52, "C:\\a.txt", 1), "Не найден файл C:\\a.txt");
    EXPECT_EQ(FileErrorText(0xE4000034u, "C:\\a.txt", 0), "Не знайдений файл C:\\a.txt");
    EXPECT_EQ(FileErrorText(0xE4000033u, "x", 1), "Не задано имя файла x");
    EXPECT_EQ(FileErrorText(0xE400003Du, "f", 1), "Отсутствует признак конца текстовой строки (файл f)");
    EXPECT_EQ(FileErrorText(1, "f", 1), "Файл f уже существует. #Перекрывать ?");
    EXPECT_EQ(FileErrorText(0xE4000001u, "f", 1), "");  // not a file error
    EXPECT_EQ(FileErrorText(0xE400003Eu, "f", 1), "");
    EXPECT_EQ(FileErrorText(0, "f", 1), "");
    EXPECT_EQ(FileErrorText(49, "f", 1), "");
    EXPECT_EQ(FileErrorText(52, "f", 2), "");
}
