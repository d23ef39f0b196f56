#include <gtest/gtest.h>

#include <windows.h>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/TempFolder.h"

TEST(TFileStreamTest, CreateWriteSeekRead)
{
    TempFolder tmp;
    {
        TFileStream f(tmp / "a.bin", fmCreate);
        f.WriteBuffer("0123456789", 10);
        EXPECT_EQ(10, f.Size());
        EXPECT_EQ(10, f.Position());
        EXPECT_EQ(3, f.Seek(3, soFromBeginning));
        EXPECT_EQ(5, f.Seek(2, soFromCurrent));
        EXPECT_EQ(8, f.Seek(-2, soFromEnd));
        char buf[4] = {};
        EXPECT_EQ(2, f.Read(buf, 4));  // a short read returns what there is
        EXPECT_STREQ("89", buf);
        f.SetPosition(9);
        EXPECT_THROW(f.ReadBuffer(buf, 2), EReadError);  // ReadBuffer never returns short
    }
    EXPECT_EQ("0123456789", ReadWholeFile(tmp / "a.bin"));
    // fmCreate empties an existing file.
    {
        TFileStream f(tmp / "a.bin", fmCreate);
    }
    EXPECT_EQ(0, FileSizeOf(tmp / "a.bin"));
}

TEST(TFileStreamTest, SizeTruncatesAndExtends)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "s.bin", "abcdefgh");
    {
        TFileStream f(tmp / "s.bin", fmOpenReadWrite);
        f.SetPosition(6);
        f.SetSize(3);
        EXPECT_EQ(3, f.Size());
        EXPECT_EQ(3, f.Position());  // a position past the new end moves to it
        f.SetSize(5);
        EXPECT_EQ(5, f.Size());
        EXPECT_EQ(3, f.Position());
    }
    EXPECT_EQ(std::string("abc\0\0", 5), ReadWholeFile(tmp / "s.bin"));
}

TEST(TFileStreamTest, WritesReachTheSystemAtOnce)
{
    TempFolder tmp;
    TFileStream f(tmp / "w.bin", fmCreate | fmShareDenyWrite);
    f.WriteBuffer("xyz", 3);
    // Another reader sees the bytes while the stream is still open: nothing waits in a buffer.
    EXPECT_EQ("xyz", ReadWholeFile(tmp / "w.bin"));
}

TEST(TFileStreamTest, ShareModes)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "m.bin", "data");
    {
        TFileStream reader(tmp / "m.bin", fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(tmp / "m.bin", fmOpenWrite | fmShareDenyNone), EFOpenError);
        EXPECT_NO_THROW(TFileStream(tmp / "m.bin", fmOpenRead | fmShareDenyWrite));
    }
    {
        TFileStream only(tmp / "m.bin", fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(TFileStream(tmp / "m.bin", fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream shared(tmp / "m.bin", fmOpenReadWrite | fmShareDenyNone);
        TFileStream other(tmp / "m.bin", fmOpenReadWrite | fmShareDenyNone);
        other.WriteBuffer("D", 1);
        char c;
        shared.ReadBuffer(&c, 1);
        EXPECT_EQ('D', c);
    }
    // A read-only stream refuses to write, naming the file and the system's reason.
    TFileStream ro(tmp / "m.bin", fmOpenRead);
    try {
        ro.WriteBuffer("x", 1);
        FAIL();
    } catch (const EWriteError &e) {
        EXPECT_NE(std::string::npos, e.Message().find("m.bin")) << e.Message();
        EXPECT_NE(std::string::npos, e.Message().find(SysErrorMessage(ERROR_ACCESS_DENIED))) << e.Message();
    }
    EXPECT_EQ("Data", ReadWholeFile(tmp / "m.bin"));
}

TEST(TFileStreamTest, MissingFileNamesTheFileAndTheReason)
{
    TempFolder tmp;
    try {
        TFileStream f(tmp / "нет.bin", fmOpenRead);
        FAIL();
    } catch (const EFOpenError &e) {
        EXPECT_NE(std::string::npos, e.Message().find("нет.bin"));
        EXPECT_EQ(2u, e.OsError());  // file not found
    }
    EXPECT_THROW(TFileStream(tmp / "no\\such\\folder.bin", fmCreate), EFOpenError);
}

TEST(TFileStreamTest, StringListAndMemoryStreamFiles)
{
    TempFolder tmp;
    TStringList l;
    l.Add("Протокол обновления");
    l.Add("ґ");
    l.SaveToFile(tmp / "Протокол.txt");
    EXPECT_EQ(l.Text(), ReadWholeFile(tmp / "Протокол.txt"));
    TStringList back;
    back.LoadFromFile(tmp / "Протокол.txt");
    EXPECT_EQ(2, back.Count());
    EXPECT_EQ("ґ", back[1]);
    EXPECT_THROW(back.LoadFromFile(tmp / "missing.txt"), EFOpenError);

    TMemoryStream m;
    m.LoadFromFile(tmp / "Протокол.txt");
    EXPECT_EQ(static_cast<long long>(l.Text().size()), m.Size());
    m.SaveToFile(tmp / "copy.txt");
    EXPECT_EQ(l.Text(), ReadWholeFile(tmp / "copy.txt"));
}
