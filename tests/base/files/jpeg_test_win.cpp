#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files/FLBase.h"
#include "base/files/ZJPEG.h"
#include "framework/runtime/SysUtils.h"
#include "tests/base/files/FileBoxes.h"
#include "tests/support/JpegBuilder.h"
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
