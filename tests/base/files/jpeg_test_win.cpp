#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files/FLBase.h"
#include "base/files/ZJPEG.h"
#include "framework/runtime/SysUtils.h"
#include "tests/base/files/FileBoxes.h"
#include "tests/support/FileSaver.h"
#include "tests/support/JpegBuilder.h"
#include "tests/support/ScopedSmallDrive.h"
#include "tests/support/TempFolder.h"

using Bytes = std::vector<std::uint8_t>;

namespace {
std::string Str(const Bytes &b) { return std::string(b.begin(), b.end()); }
}  // namespace

TEST(TZJPEGFiles, AFileIsSplitAndWrittenBackThroughTheFileClass)
{
    TempFolder tmp;
    const Bytes image = testdata::SmallJpeg(70000, 30000);
    WriteWholeFile(tmp / "картинка.jpg", Str(image));
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.SplitFile(tmp / "картинка.jpg"), 0);
    EXPECT_EQ(jpeg.SourceSize(), image.size());
    const std::string comment = "снимок";
    jpeg.InsertData(1, TZJPEG::jkCOM, reinterpret_cast<const std::uint8_t *>(comment.data()),
                    static_cast<std::uint32_t>(comment.size()));

    TSFile out;
    ASSERT_TRUE(out.OpenReplace(tmp / "копия.jpg"));
    std::uint32_t written = 0;
    for (int i = 0; i < jpeg.Count(); ++i)
        written += TZJPEG::WriteSegment(out, *jpeg.Item(i), image);
    out.Close();
    const std::string copy = ReadWholeFile(tmp / "копия.jpg");
    EXPECT_EQ(written, copy.size());
    EXPECT_EQ(copy, Str(jpeg.WriteAll(image)));
    EXPECT_EQ(copy.substr(2, 4 + comment.size()), std::string("\xFF\xFE\x00\x08", 4) + comment);
    EXPECT_EQ(copy.substr(2 + 4 + comment.size()), Str(image).substr(2));
}

TEST(TZJPEGFiles, ASourceThatCannotBeMappedGivesOne)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "text.jpg", "not a picture");
    TZJPEG jpeg;
    EXPECT_EQ(jpeg.SplitFile(tmp / "text.jpg"), 1);
    EXPECT_EQ(jpeg.Count(), 0);
    FileBoxes boxes;
    EXPECT_EQ(jpeg.SplitFile(tmp / "нет.jpg"), 1);
    EXPECT_EQ(jpeg.Count(), 0);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].Text, "Не найден файл " + tmp / "нет.jpg");
    // Nothing is written for a source that does not split.
    EXPECT_EQ(jpeg.DumpToText(tmp / "text.jpg", tmp / "list.txt"), 1);
    EXPECT_FALSE(FileExists(tmp / "list.txt"));
}

TEST(TZJPEGFiles, TheListIsWrittenAsOneLinePerSegment)
{
    TempFolder tmp;
    const Bytes image = testdata::JpegBuilder()
                            .Marker(0xD8)
                            .Jfif(1, 1)
                            .Sof0(8, 8)
                            .Sos()
                            .Entropy(10)
                            .Marker(0xD7)
                            .Entropy(10)
                            .Segment(0xE4, {1})
                            .Marker(0xD9)
                            .Build();
    WriteWholeFile(tmp / "a.jpg", Str(image));
    WriteWholeFile(tmp / "list.txt", "old text that is replaced");
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.DumpToText(tmp / "a.jpg", tmp / "list.txt"), 0);
    EXPECT_EQ(ReadWholeFile(tmp / "list.txt"), " SOI = $d8 Начало Изображения\r\n"
                                               " APP0 = $e0 JFIF маркеры сегментов приложения\r\n"
                                               " SOF0 = $c0 Начало Кадра (Baseline JPEG)\r\n"
                                               " SOS = $da Начало Сканирования\r\n"
                                               "\r\n"
                                               "*RST7 = $d7\r\n"
                                               "\r\n"
                                               "\r\n"
                                               " EOI = $d9 Конец Изображения\r\n");
    // A text file that cannot be made: its error is shown and the result tells it.
    FileBoxes boxes;
    EXPECT_EQ(jpeg.DumpToText(tmp / "a.jpg", tmp / "нет\\list.txt"), 2);
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

// ---- the text list never destroys what a file held ------------------------------------------------

TEST(TZJPEGFiles, ADumpOntoItsOwnPictureIsRefusedHoweverItIsSpelt)
{
    TempFolder tmp;
    const std::string image = Str(testdata::SmallJpeg(70000, 30000));
    const AnsiString picture = tmp / "photo.jpg";
    WriteWholeFile(picture, image);
    AnsiString slashes = picture;
    for (char &c : slashes)
        if (c == '\\')
            c = '/';
    TZJPEG jpeg;
    FileBoxes boxes;
    for (const AnsiString &text : {tmp / "PHOTO.JPG", slashes}) {
        EXPECT_EQ(jpeg.DumpToText(picture, text), 2) << text;
        EXPECT_TRUE(HoldsExactly(ReadWholeFile(picture), image)) << text;
        EXPECT_FALSE(FileExists(picture + "$")) << "nothing was opened for writing";
    }
    // The list is written beside the text file first: that name may not be the picture either.
    const AnsiString besideList = tmp / "list.txt$";
    WriteWholeFile(besideList, image);
    EXPECT_EQ(jpeg.DumpToText(besideList, tmp / "LIST.TXT"), 2);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(besideList), image));
    EXPECT_FALSE(FileExists(tmp / "list.txt"));
    EXPECT_TRUE(boxes.Seen().empty()) << "a refusal is told by its result";
    // A text file of its own is written.
    EXPECT_EQ(jpeg.DumpToText(picture, tmp / "photo.txt"), 0);
    EXPECT_EQ(ReadWholeFile(tmp / "photo.txt").substr(0, 31), " SOI = $d8 Начало Изображения\r\n");
}

namespace {

// A picture of `comments` comment segments: its list has a line for each.
std::string PictureOfComments(int comments)
{
    testdata::JpegBuilder b;
    b.Marker(0xD8);
    for (int i = 0; i < comments; ++i)
        b.Segment(0xFE, {static_cast<std::uint8_t>(i)});
    return Str(b.Marker(0xD9).Build());
}

}  // namespace

TEST(TZJPEGFiles, ADumpOntoAFullDriveLeavesTheOldListByteForByte)
{
    TempFolder tmp;
    ASSERT_TRUE(CreateDir(tmp / "small"));
    TScopedSmallDrive drive(tmp / "small\\", 256);
    if (!drive.Mounted())
        GTEST_SKIP() << drive.Why();
    WriteWholeFile(tmp / "big.jpg", PictureOfComments(3000));
    const AnsiString text = tmp / "small\\list.txt";
    const std::string old = Str(testdata::SmallJpeg(100)) + std::string(17750, 'o');
    WriteWholeFile(text, old);
    ASSERT_TRUE(drive.FillLeaving(8 * 1024));
    TZJPEG jpeg;
    FileBoxes boxes;
    EXPECT_EQ(jpeg.DumpToText(tmp / "big.jpg", text), 2);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].Text.find(text), std::string::npos) << boxes.Seen()[0].Text;
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(text), old));
    EXPECT_FALSE(FileExists(text + "$"));
}

TEST(TZJPEGFiles, ADumpStoppedBeforeItsWriteLeavesTheOldListAndNoTemporaryFile)
{
    TempFolder tmp;
    WriteWholeFile(tmp / "big.jpg", PictureOfComments(3000));
    const AnsiString text = tmp / "list.txt";
    WriteWholeFile(text, "the old list\r\n");
    {
        TFileSaver saver;
        ASSERT_TRUE(saver.StartPaused("jpeg \"" + tmp / "big.jpg" + "\" \"" + text + "\"", tmp.Path()));
        saver.Kill();
    }
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(text), "the old list\r\n"));
    EXPECT_FALSE(FileExists(text + "$"));
    // Let on, the same dump replaces the list whole.
    TFileSaver saver;
    ASSERT_TRUE(saver.StartPaused("jpeg \"" + tmp / "big.jpg" + "\" \"" + text + "\"", tmp.Path()));
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(text), "the old list\r\n"));
    EXPECT_EQ(saver.Finish(), 0u);
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.SplitFile(tmp / "big.jpg"), 0);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(text), TZJPEG::DumpText(jpeg.List())));
}
