#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "base/messages/BsMssg.h"
#include "base/files/FLBase.h"
#include "base/text/LangText.h"
#include "base/messages/TZExcept.h"
#include "framework/runtime/SysUtils.h"
#include "tests/base/files/FileBoxes.h"
#include "tests/support/TempFolder.h"

namespace {

// Runs a statement that must throw TZExcept and returns it.
TZExcept CatchTZExcept(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const TZExcept &e) {
        return e;
    }
    ADD_FAILURE() << "no TZExcept was thrown";
    return TZExcept(0xFFFFFFFFu, "");
}

AnsiString ReadBack(TFLBase &f, std::uint32_t count)
{
    std::string buffer(count, '\0');
    buffer.resize(f.Read(buffer.data(), count));
    return buffer;
}

}  // namespace

TEST(TFLBase, WritesReadsAndPositions)
{
    TempFolder tmp;
    const AnsiString name = tmp / "данные.dat";
    TSFile f;
    ASSERT_TRUE(f.OpenReplace(name));
    EXPECT_EQ(f.Mode(), TFLBase::fmWriteReplace);
    EXPECT_EQ(f.EffectiveMode(), 1);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Write("head", 0), 4u);
    EXPECT_EQ(f.WriteLine(AnsiString("строка")), 8u);
    EXPECT_EQ(f.WriteLine("", 0), 2u);
    EXPECT_EQ(f.WriteAt(0, "H", 1), 1u);
    EXPECT_EQ(f.WriteAt(-1, "!", 1), 1u);
    EXPECT_TRUE(f.Flush());
    f.Close();
    EXPECT_EQ(f.Mode(), TFLBase::fmClosed);
    EXPECT_EQ(f.GetName(), "");
    EXPECT_EQ(ReadWholeFile(name), "Headстрока\r\n\r\n!");

    ASSERT_TRUE(f.Open(name, TFLBase::fmRead));
    EXPECT_TRUE(f.Existed());
    EXPECT_EQ(f.GetName(), name);
    EXPECT_EQ(f.Size(), 15u);
    EXPECT_EQ(ReadBack(f, 4), "Head");
    EXPECT_FALSE(f.AtEnd());
    EXPECT_EQ(f.Tell(), 4);
    char two[2];
    EXPECT_EQ(f.ReadAt(12, two, 2), 2u);
    EXPECT_EQ(std::string(two, 2), "\r\n");
    EXPECT_EQ(f.Seek(0, 2), 15);
    EXPECT_TRUE(f.AtEnd());
    EXPECT_EQ(f.Read(two, 2), 0u);
    EXPECT_TRUE(f.AtEnd());
    f.Rewind();
    EXPECT_EQ(f.Tell(), 0);
    EXPECT_FALSE(f.HasError());
}

TEST(TFLBase, AClosedFileDoesNothing)
{
    TFLBase f;
    char b[4];
    EXPECT_EQ(f.Read(b, 4), 0u);
    EXPECT_EQ(f.Write("abcd", 4), 0u);
    EXPECT_EQ(f.Seek(3, 0), 0);
    EXPECT_EQ(f.Size(), 0u);
    EXPECT_FALSE(f.Flush());
    EXPECT_FALSE(f.HasError());
}

TEST(TFLBase, AppendCreatesAMissingFileAndAddsAtTheEndOfAnExistingOne)
{
    TempFolder tmp;
    const AnsiString name = tmp / "log.txt";
    TSFile f;
    ASSERT_TRUE(f.Open(name, TFLBase::fmAppend));
    EXPECT_FALSE(f.Existed());
    EXPECT_EQ(f.Tell(), 0);
    f.WriteLine("one", 0);
    f.Close();
    ASSERT_TRUE(f.Open(name, TFLBase::fmAppend));
    EXPECT_TRUE(f.Existed());
    EXPECT_EQ(f.Tell(), 5);
    f.WriteLine("two", 0);
    f.Close();
    EXPECT_EQ(ReadWholeFile(name), "one\r\ntwo\r\n");
}

TEST(TFLBase, ANameOf259CharactersOpensAnd260AreRefused)
{
    TempFolder tmp;
    const AnsiString folder = tmp.Path();
    ASSERT_LT(folder.size() + 10, 259u);
    const AnsiString name259 = folder + AnsiString(259 - folder.size(), 'a');
    TSFile f;
    f.SetThrowsErrors(true);
    ASSERT_TRUE(f.OpenReplace(name259));
    EXPECT_EQ(f.GetName(), name259);
    f.Close();
    EXPECT_TRUE(f.ThrowsErrors());  // the owner's choice outlives Close
    const AnsiString name260 = name259 + "b";
    TZExcept e = CatchTZExcept([&] { f.OpenReplace(name260); });
    EXPECT_EQ(e.Code(), 0xE4000033u);
    EXPECT_EQ(f.ErrorCode(), 0xE4000033u);
    EXPECT_FALSE(f.IsOpen());
}

TEST(TFLBase, ErrorsAreThrownWithTheThrowFlag)
{
    TempFolder tmp;
    const AnsiString existing = tmp / "есть.txt";
    WriteWholeFile(existing, "data");
    const AnsiString missing = tmp / "нет.txt";
    const AnsiString unreachable = tmp / "нет\\файл.txt";
    struct Case {
        const char *what;
        std::function<void(TSFile &)> act;
        std::uint32_t code, second;
        AnsiString text;
    } cases[] = {
        {"mode 1", [&](TSFile &f) { f.Open(existing, 1); }, 0xE4000032u, 0, existing},
        {"mode 6", [&](TSFile &f) { f.Open(existing, 6); }, 0xE4000032u, 0, existing},
        {"no name", [&](TSFile &f) { f.Open("", TFLBase::fmRead); }, 0xE4000033u, 0, ""},
        {"missing", [&](TSFile &f) { f.Open(missing, TFLBase::fmRead); }, 0xE4000034u, 0, missing},
        {"missing rw", [&](TSFile &f) { f.Open(missing, TFLBase::fmReadWrite); }, 0xE4000034u, 0, missing},
        {"read in mode 3",
         [&](TSFile &f) {
             f.Open(missing, TFLBase::fmWriteReplace);
             char b[1];
             f.Read(b, 1);
         },
         0xE400003Au, 0, missing},
        {"write in mode 0",
         [&](TSFile &f) {
             f.Open(existing, TFLBase::fmRead);
             f.Write("x", 1);
         },
         0xE400003Bu, 0, existing},
        {"system", [&](TSFile &f) { f.Open(unreachable, TFLBase::fmWriteReplace); }, 0, 3, unreachable},
    };
    for (const Case &c : cases) {
        FileBoxes boxes;
        TSFile f;
        f.SetThrowsErrors(true);
        TZExcept e = CatchTZExcept([&] { c.act(f); });
        EXPECT_EQ(e.Code(), c.code) << c.what;
        EXPECT_EQ(e.SecondCode(), c.second) << c.what;
        EXPECT_EQ(e.Text(), c.text) << c.what;
        EXPECT_EQ(f.ErrorCode(), c.code != 0 ? c.code : c.second) << c.what;
        EXPECT_TRUE(f.HasError()) << c.what;
        EXPECT_TRUE(boxes.Seen().empty()) << c.what;
    }
    EXPECT_EQ(ReadWholeFile(existing), "data");
}

TEST(TFLBase, ErrorsAreShownWithoutTheThrowFlag)
{
    TempFolder tmp;
    const AnsiString existing = tmp / "есть.txt";
    WriteWholeFile(existing, "data");
    const AnsiString missing = tmp / "нет.txt";
    const AnsiString unreachable = tmp / "нет\\файл.txt";
    FileBoxes boxes;
    char b[4];

    TSFile f;
    EXPECT_FALSE(f.Open(existing, 1));
    EXPECT_EQ(f.ErrorCode(), 50u);
    EXPECT_FALSE(f.Open("", TFLBase::fmRead));
    EXPECT_EQ(f.ErrorCode(), 51u);
    EXPECT_FALSE(f.Open(missing, TFLBase::fmRead));
    EXPECT_EQ(f.ErrorCode(), 52u);
    ASSERT_TRUE(f.Open(existing, TFLBase::fmRead));
    EXPECT_EQ(f.Write("x", 1), 0u);
    EXPECT_EQ(f.ErrorCode(), 59u);
    EXPECT_EQ(f.WriteLine("x", 1), 0u);  // a line that did not reach the file is a failure
    EXPECT_FALSE(f.Flush());
    ASSERT_TRUE(f.Open(missing, TFLBase::fmWriteReplace));
    EXPECT_EQ(f.Read(b, 4), 0u);
    EXPECT_EQ(f.ErrorCode(), 58u);
    EXPECT_EQ(f.ReportError(53), 53u);
    EXPECT_FALSE(f.Open(unreachable, TFLBase::fmWriteReplace));
    EXPECT_EQ(f.ErrorCode(), 3u);
    EXPECT_TRUE(f.HasError());

    const auto &seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen[0].Text, "Недопустимый режим открытия файла " + existing);
    EXPECT_EQ(seen[1].Text, "Не задано имя файла ");
    EXPECT_EQ(seen[2].Text, "Не найден файл " + missing);
    EXPECT_EQ(seen[3].Text, "Попытка записи для режиме чтения (файл " + existing + ")");
    EXPECT_EQ(seen[4].Text, seen[3].Text);
    EXPECT_EQ(seen[5].Text, seen[3].Text);
    EXPECT_EQ(seen[6].Text, "Попытка чтения для режима записи (файл " + missing + ")");
    EXPECT_EQ(seen[7].Text, "Попытка выполнения операции для закрытого файла (" + missing + ")");
    // The system's text of the error, then the name.
    const AnsiString system = seen[8].Text;
    const AnsiString prefix = "Системное сообщения: #";
    EXPECT_EQ(system.substr(0, prefix.size()), prefix);
    ASSERT_GT(system.size(), prefix.size() + unreachable.size());
    EXPECT_EQ(system.substr(system.size() - unreachable.size()), unreachable);
    for (const auto &box : seen)
        EXPECT_EQ(box.Caption, "Ошибка");
    EXPECT_EQ(ReadWholeFile(existing), "data");
}

TEST(TFLBase, ErrorBoxesSpeakTheLibraryLanguage)
{
    TempFolder tmp;
    const AnsiString missing = tmp / "нема.txt";
    const std::uint8_t saved = LibraryLanguage;
    LibraryLanguage = 0;
    FileBoxes boxes;
    TSFile f;
    EXPECT_FALSE(f.Open(missing, TFLBase::fmRead));
    LibraryLanguage = saved;
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].Text, "Не знайдений файл " + missing);
    EXPECT_EQ(boxes.Seen()[0].Caption, "Помилка");
}

TEST(TFLBase, WritingANewFileOverAnExistingOneAsksFirst)
{
    TempFolder tmp;
    const AnsiString name = tmp / "old.txt";
    WriteWholeFile(name, "keep me");
    TSFile f;
    {
        FileBoxes boxes;
        boxes.Answer(BsBtnNo);
        EXPECT_FALSE(f.Open(name, TFLBase::fmWriteNew));
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].Text, "Файл " + name + " уже существует. #Перекрывать ?");
        EXPECT_EQ(boxes.Seen()[0].Caption, "Выбор");
    }
    EXPECT_EQ(f.ErrorCode(), 0u);
    EXPECT_FALSE(f.HasError());
    EXPECT_EQ(ReadWholeFile(name), "keep me");
    {
        FileBoxes boxes;
        boxes.Answer(BsBtnNo);
        f.SetThrowsErrors(true);
        EXPECT_FALSE(f.Open(name, TFLBase::fmWriteNew));  // refused: no error even when throwing
        f.SetThrowsErrors(false);
    }
    {
        FileBoxes boxes;
        boxes.Answer(BsBtnYes);
        ASSERT_TRUE(f.Open(name, TFLBase::fmWriteNew));
        EXPECT_FALSE(f.Existed());
        f.Write("new", 0);
        f.Close();
    }
    EXPECT_EQ(ReadWholeFile(name), "new");
    FileBoxes none;
    ASSERT_TRUE(f.Open(tmp / "fresh.txt", TFLBase::fmWriteNew));
    EXPECT_TRUE(none.Seen().empty());
}

TEST(TFLBase, AFileLockedByAReaderIsReportedAndKeepsItsContent)
{
    TempFolder tmp;
    const AnsiString name = tmp / "locked.dat";
    WriteWholeFile(name, "content");
    TSFile reader;
    ASSERT_TRUE(reader.Open(name, TFLBase::fmRead));  // a reader lets no one write
    TSFile writer;
    writer.SetThrowsErrors(true);
    TZExcept e = CatchTZExcept([&] { writer.Open(name, TFLBase::fmWriteReplace); });
    EXPECT_EQ(e.Code(), 0u);
    EXPECT_EQ(e.SecondCode(), 32u);  // sharing violation
    EXPECT_FALSE(writer.IsOpen());
    reader.Close();
    EXPECT_EQ(ReadWholeFile(name), "content");
}
