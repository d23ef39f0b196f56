// The utilities that meet files: the file-name check, unique and log file names, and the build date
// of an executable (the base tests run with TZ=UTC, so local time is UTC here).
#include <gtest/gtest.h>

#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "tests/support/PeImageWriter.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/ShownMessages.h"
#include "tests/support/TempFolder.h"

namespace {

std::string Bytes(const std::vector<uint8_t> &b) { return std::string(b.begin(), b.end()); }

}  // namespace

TEST(CheckFileNameChars, ChecksTheNameRelativeToTheRootWithoutItsExtension)
{
    MessageTextProvider = [](std::uint16_t n, bool, int, AnsiString &out) {
        out = n == 714 ? "Имя $ содержит символ $" : "";
    };
    TShownMessages shown;
    EXPECT_EQ(CheckFileNameChars("C:\\data\\my_file.t.x", "C:\\data", 1), 1);  // "." in the name part
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(shown.texts[0], "Имя my_file.t содержит символ .");
    EXPECT_EQ(CheckFileNameChars("C:\\data\\my_file.txt", "c:\\DATA\\", 1), 0);  // "_" allowed, extension not checked
    EXPECT_EQ(CheckFileNameChars("C:\\data\\my_file.txt", "C:\\data", 0), 1);    // from 0 on "_" is not
    EXPECT_EQ(CheckFileNameChars("C:\\data\\a$b.txt", "C:\\data", 1), 1);
    ASSERT_EQ(shown.texts.size(), 3u);
    EXPECT_EQ(shown.texts[2], "Имя a$b содержит символ $");                 // the "$" reaches the message unchanged
    EXPECT_EQ(CheckFileNameChars("C:\\data\\a$b.txt", "C:\\data", 25), 0);  // past the list: nothing
    EXPECT_EQ(CheckFileNameChars("C:\\data\\a$b.txt", "C:\\data", 1000), 0);
    EXPECT_EQ(CheckFileNameChars("sub\\name.txt", "", 1), 1);  // relative to the current folder
    EXPECT_EQ(shown.texts.size(), 4u);
    ClearMessageTextProvider();
}

TEST(UniqueFileName, PlainThenNumbered)
{
    TempFolder folder;
    const AnsiString base = folder / "report";
    EXPECT_EQ(UniqueFileName(base, "Log"), base + ".Log");
    WriteWholeFile(base + ".Log", "x");
    EXPECT_EQ(UniqueFileName(base, "Log"), base + "_1.Log");
    CreateDir(base + "_1.Log");  // a folder of that name is taken too
    EXPECT_EQ(UniqueFileName(base, "Log"), base + "_2.Log");
}

TEST(MakeLogFileName, PutsTheNameInTheLogFolderWithoutResolvingItAgain)
{
    TempFolder folder;
    const AnsiString logs = folder / "a#b\\";  // a "#" in the folder must not be taken for an alias
    ASSERT_TRUE(CreateDir(logs));
    TScopedAliases aliases{{"DATA", "C:\\data\\"}, {"LOG", logs}};
    EXPECT_EQ(MakeLogFileName("DATA#base.db", "run", false), logs + "base_db_run.txt");
    EXPECT_EQ(MakeLogFileName("C:\\x\\plain", "", false), logs + "plain.txt");
    EXPECT_EQ(MakeLogFileName("DATA#base.db", "", true), logs + "base_db.Log");
    WriteWholeFile(logs + "base_db.Log", "x");
    EXPECT_EQ(MakeLogFileName("DATA#base.db", "", true), logs + "base_db_1.Log");
}

TEST(ExeBuildDateText, TheStampOfThePeHeaderAsLocalTime)
{
    TempFolder folder;
    TestPeImage image;
    image.TimeStamp = 1780000000;  // 2026-05-28 20:26:40 UTC
    WriteWholeFile(folder / "prog.exe", Bytes(WritePeImage(image)));
    EXPECT_EQ(ExeBuildDateText(folder / "prog.exe"), "ЦМТ Ворнеж\n\n28 мая 2026 20:26:40");

    WriteWholeFile(folder / "short.exe", "MZ");
    EXPECT_EQ(ExeBuildDateText(folder / "short.exe"),
              "ЦМТ Ворнеж\n\nНе удается прочесть файл " + (folder / "short.exe"));
    EXPECT_EQ(ExeBuildDateText(folder / "missing.exe"),
              "ЦМТ Ворнеж\n\nНе удается прочесть файл " + (folder / "missing.exe"));

    const AnsiString own = ExeBuildDateText();  // the test program's own file
    EXPECT_EQ(own.find("Не удается"), AnsiString::npos) << own;
}
