#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/memory/ClearOwnedList.h"
#include "base/files/ZJPEG.h"
#include "tests/support/JpegBuilder.h"

using testdata::JpegBuilder;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The items' kinds and lengths; every item must start where the one before it ended.
std::vector<std::pair<int, std::uint32_t>> Items(const TZJPEG &jpeg)
{
    std::vector<std::pair<int, std::uint32_t>> items;
    std::uint32_t next = 0;
    for (int i = 0; i < jpeg.Count(); ++i) {
        const TZJPEGItem *item = jpeg.Item(i);
        EXPECT_EQ(item->flag, 0);
        EXPECT_EQ(item->offset, next) << "item " << i;
        next = item->offset + item->length;
        items.emplace_back(item->kind, item->length);
    }
    return items;
}

using KindLengths = std::vector<std::pair<int, std::uint32_t>>;

}  // namespace

TEST(TZJPEG, AFileSplitsIntoItsSegmentsAndWritesBackByteForByte)
{
    JpegBuilder b;
    b.Marker(0xD8).Jfif(2, 3).Dqt().Sof0(16, 8).Dht().Sos();
    b.Entropy(70000, 97).Marker(0xD0).Entropy(100, 13).Marker(0xD1).Entropy(50).Raw({0xFF}).Marker(0xD9);
    const Bytes file = b.Build();
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.SplitBuffer(file.data(), file.size()), 0);
    EXPECT_EQ(jpeg.SourceSize(), file.size());
    // The JFIF segment's length already counts its 2 x 3 thumbnail: 2 + 16 + 18 bytes.
    const KindLengths expected = {{TZJPEG::jkSOI, 2},      {TZJPEG::jkAPP0, 36},    {TZJPEG::jkDQT, 69},
                                  {TZJPEG::jkSOF0, 13},    {TZJPEG::jkDHT, 23},     {TZJPEG::jkSOS, 10},
                                  {TZJPEG::jkData, 61440}, {TZJPEG::jkData, 8560},  {TZJPEG::jkRST0, 2},
                                  {TZJPEG::jkData, 100},   {TZJPEG::jkRST0 + 1, 2}, {TZJPEG::jkData, 51},
                                  {TZJPEG::jkEOI, 2}};
    EXPECT_EQ(Items(jpeg), expected);
    EXPECT_EQ(jpeg.WriteAll(file), file);
}

TEST(TZJPEG, ADataRunEndsAtEveryMarkerAndAtTheEndOfTheData)
{
    // Without EOI the last bytes stay in the list; unknown markers take their length field, a
    // stuffed FF 00 and fill bytes FF stay in the data.
    JpegBuilder b;
    b.Marker(0xD8).Entropy(10).Raw({0xFF, 0x00, 0xFF, 0xFF}).Segment(0xE5, {1, 2, 3}).Marker(0x01).Entropy(5);
    b.Segment(0xFE, {'x'}).Raw({0xFF});
    const Bytes file = b.Build();
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.Split(file.data(), file.size()), 0);
    const KindLengths expected = {{TZJPEG::jkSOI, 2},  {TZJPEG::jkData, 14}, {TZJPEG::jkOther, 7}, {TZJPEG::jkTEM, 2},
                                  {TZJPEG::jkData, 5}, {TZJPEG::jkCOM, 5},   {TZJPEG::jkData, 1}};
    EXPECT_EQ(Items(jpeg), expected);
    EXPECT_EQ(jpeg.WriteAll(file), file);
    // Anything after EOI is listed as well.
    const Bytes after = JpegBuilder().Marker(0xD8).Marker(0xD9).Entropy(3).Build();
    ASSERT_EQ(jpeg.Split(after.data(), after.size()), 0);
    EXPECT_EQ(Items(jpeg), (KindLengths{{TZJPEG::jkSOI, 2}, {TZJPEG::jkEOI, 2}, {TZJPEG::jkData, 3}}));
}

TEST(TZJPEG, ASegmentThatRunsPastTheEndIsCut)
{
    const Bytes dqt = JpegBuilder().Marker(0xD8).Dqt().Build();
    for (std::size_t cut : {std::size_t(4), std::size_t(5), std::size_t(20)}) {
        SCOPED_TRACE(cut);
        const Bytes file(dqt.begin(), dqt.begin() + 2 + cut);
        TZJPEG jpeg;
        ASSERT_EQ(jpeg.Split(file.data(), file.size()), 0);
        EXPECT_EQ(Items(jpeg), (KindLengths{{TZJPEG::jkSOI, 2}, {TZJPEG::jkDQT, static_cast<std::uint32_t>(cut)}}));
        EXPECT_EQ(jpeg.WriteAll(file), file);
    }
    // A marker with no room for its length field at the end, and a lone FF.
    for (const Bytes &file :
         {Bytes{0xFF, 0xD8, 0xFF, 0xC4}, Bytes{0xFF, 0xD8, 0xFF, 0xC4, 0x00}, Bytes{0xFF, 0xD8, 0xFF}}) {
        TZJPEG jpeg;
        ASSERT_EQ(jpeg.Split(file.data(), file.size()), 0);
        ASSERT_EQ(jpeg.Count(), 2);
        EXPECT_EQ(jpeg.Item(1)->length, file.size() - 2);
        EXPECT_EQ(jpeg.WriteAll(file), file);
    }
    // Writing items against a shorter source copies only what lies in it.
    const Bytes file = JpegBuilder().Marker(0xD8).Dqt().Build();
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.Split(file.data(), file.size()), 0);
    const Bytes shorter(file.begin(), file.begin() + 10);
    EXPECT_EQ(jpeg.WriteAll(shorter), shorter);
    Bytes out;
    EXPECT_EQ(TZJPEG::AppendSegment(out, *jpeg.Item(1), std::span<const std::uint8_t>(file.data(), 1)), 0u);
    EXPECT_TRUE(out.empty());
}

TEST(TZJPEG, DataThatDoesNotBeginWithSOIGivesOneAndAnEmptyList)
{
    TZJPEG jpeg;
    const Bytes good = testdata::SmallJpeg(100);
    ASSERT_EQ(jpeg.Split(good.data(), good.size()), 0);
    ASSERT_GT(jpeg.Count(), 0);
    for (const Bytes &bad :
         {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD9, 0xFF, 0xD8}, Bytes{0x00, 0xFF, 0xD8}, Bytes{0xFF, 0x00}}) {
        EXPECT_EQ(jpeg.SplitBuffer(bad.data(), bad.size()), 1);
        EXPECT_EQ(jpeg.Count(), 0);
    }
    EXPECT_EQ(jpeg.Split(nullptr, 10), 1);
    TList copies;
    EXPECT_EQ(jpeg.CopyItems(good.data(), 1, &copies), 0);
    EXPECT_EQ(copies.Count(), 0);
}

TEST(TZJPEG, InsertedSegmentsAreWrittenWithTheirMarkerAndLength)
{
    const Bytes file = JpegBuilder().Marker(0xD8).Sos().Entropy(20).Marker(0xD9).Build();
    TZJPEG jpeg;
    ASSERT_EQ(jpeg.Split(file.data(), file.size()), 0);
    const std::string comment = "Комментарий";
    const auto *text = reinterpret_cast<const std::uint8_t *>(comment.data());
    jpeg.InsertData(1, TZJPEG::jkCOM, text, static_cast<std::uint32_t>(comment.size()));
    jpeg.InsertData(1, TZJPEG::jkCOM, nullptr, 5);  // nothing without data
    jpeg.InsertData(1, TZJPEG::jkCOM, text, 0);
    // A kind without marker bytes is listed but writes nothing.
    jpeg.InsertData(99, TZJPEG::jkAPP15, text, 2);
    ASSERT_EQ(jpeg.Count(), 6);
    EXPECT_EQ(jpeg.Item(1)->flag, 1);
    EXPECT_EQ(jpeg.Item(1)->offset, TZJPEGItem::OwnData);
    EXPECT_EQ(jpeg.Item(5)->kind, TZJPEG::jkAPP15);

    Bytes expected(file.begin(), file.begin() + 2);
    expected.insert(expected.end(), {0xFF, 0xFE, 0x00, static_cast<std::uint8_t>(comment.size() + 2)});
    expected.insert(expected.end(), comment.begin(), comment.end());
    expected.insert(expected.end(), file.begin() + 2, file.end());
    EXPECT_EQ(jpeg.WriteAll(file), expected);

    std::uint8_t buffer[32] = {};
    EXPECT_EQ(TZJPEG::BuildSegment(buffer, sizeof buffer, TZJPEG::jkCOM, 3, text), 7u);
    EXPECT_EQ(Bytes(buffer, buffer + 7), Bytes({0xFF, 0xFE, 0x00, 0x05, text[0], text[1], text[2]}));
    EXPECT_EQ(TZJPEG::BuildSegment(buffer, sizeof buffer, TZJPEG::jkAPP15, 3, text), 0u);
    EXPECT_EQ(TZJPEG::BuildSegment(buffer, 6, TZJPEG::jkCOM, 3, text), 0u);
    EXPECT_EQ(TZJPEG::BuildSegment(buffer, sizeof buffer, TZJPEG::jkDQT, 0, nullptr), 4u);
    EXPECT_EQ(Bytes(buffer, buffer + 4), Bytes({0xFF, 0xDB, 0x00, 0x02}));
}

TEST(TZJPEG, OwnDataLongerThanALengthFieldCountsIsRefused)
{
    const Bytes longest(TZJPEG::MaxSegmentData, 'a');
    const Bytes tooLong(TZJPEG::MaxSegmentData + 1, 'a');
    Bytes buffer(tooLong.size() + 4);
    EXPECT_EQ(TZJPEG::BuildSegment(buffer.data(), buffer.size(), TZJPEG::jkCOM, 65534, tooLong.data()), 0u);
    EXPECT_EQ(TZJPEG::BuildSegment(buffer.data(), buffer.size(), TZJPEG::jkCOM, 65533, longest.data()), 65537u);
    EXPECT_EQ(buffer[2], 0xFF);
    EXPECT_EQ(buffer[3], 0xFF);

    TZJPEG jpeg;
    jpeg.InsertData(0, TZJPEG::jkCOM, tooLong.data(), static_cast<std::uint32_t>(tooLong.size()));
    jpeg.InsertData(1, TZJPEG::jkCOM, longest.data(), static_cast<std::uint32_t>(longest.size()));
    Bytes out;
    EXPECT_EQ(TZJPEG::AppendSegment(out, *jpeg.Item(0), {}), 0u);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(TZJPEG::AppendSegment(out, *jpeg.Item(1), {}), 65537u);
    EXPECT_EQ(out.size(), 65537u);
}

TEST(TZJPEG, CopiesOfTheItemsGoToAnotherList)
{
    const Bytes file = testdata::SmallJpeg(200, 50);
    TZJPEG jpeg;
    TList *copies = new TList;
    const int count = jpeg.CopyItems(file.data(), file.size(), copies);
    ASSERT_GT(count, 0);
    ASSERT_EQ(copies->Count(), count);
    for (int i = 0; i < count; ++i) {
        const auto *copy = static_cast<const TZJPEGItem *>(copies->Items(i));
        EXPECT_NE(copy, jpeg.Item(i));
        EXPECT_EQ(copy->kind, jpeg.Item(i)->kind);
        EXPECT_EQ(copy->offset, jpeg.Item(i)->offset);
        EXPECT_EQ(copy->length, jpeg.Item(i)->length);
    }
    // The restart markers stand alone.
    EXPECT_EQ(static_cast<const TZJPEGItem *>(copies->Items(7))->kind, TZJPEG::jkRST0);
    EXPECT_EQ(static_cast<const TZJPEGItem *>(copies->Items(7))->length, 2u);
    ClearOwnedList<TZJPEGItem>(copies, true);
}

TEST(TZJPEG, KindsAndTheirMarkers)
{
    const std::pair<std::uint8_t, int> kinds[] = {
        {0x01, TZJPEG::jkTEM},
        {0xC0, TZJPEG::jkSOF0},
        {0xC3, 5},
        {0xC4, TZJPEG::jkDHT},
        {0xC5, 7},
        {0xC8, TZJPEG::jkJPG},
        {0xC9, 11},
        {0xCC, TZJPEG::jkDAC},
        {0xCF, 17},
        {0xD0, 18},
        {0xD7, 25},
        {0xD8, TZJPEG::jkSOI},
        {0xD9, TZJPEG::jkEOI},
        {0xDA, 28},
        {0xDB, 29},
        {0xDC, 30},
        {0xDD, 31},
        {0xE0, 32},
        {0xEF, 33},
        {0xFE, 34},
        {0xE1, 35},
        {0xDE, 35},
        {0x02, 35},
        {0xF0, 35},
    };
    for (auto [marker, kind] : kinds)
        EXPECT_EQ(TZJPEG::KindOfMarker(marker), kind) << std::hex << int(marker);
    // The kinds that can be written back, with their marker bytes; no other kind has one.
    const std::pair<int, int> written[] = {{TZJPEG::jkSOI, 0xD8}, {TZJPEG::jkAPP0, 0xE0}, {TZJPEG::jkSOF0, 0xC0},
                                           {TZJPEG::jkDHT, 0xC4}, {TZJPEG::jkRST0, 0xD0}, {TZJPEG::jkEOI, 0xD9},
                                           {TZJPEG::jkSOS, 0xDA}, {TZJPEG::jkDQT, 0xDB},  {TZJPEG::jkDNL, 0xDC},
                                           {TZJPEG::jkDRI, 0xDD}, {TZJPEG::jkCOM, 0xFE}};
    int writable = 0;
    for (int kind = 0; kind < 256; ++kind)
        writable += TZJPEG::MarkerOfKind(static_cast<std::uint8_t>(kind)) >= 0;
    EXPECT_EQ(writable, 11);
    for (auto [kind, marker] : written)
        EXPECT_EQ(TZJPEG::MarkerOfKind(static_cast<std::uint8_t>(kind)), marker);
}

TEST(TZJPEG, TheDescriptionOfEveryKind)
{
    const std::string rst = " RSTn используются для синхронизации, может быть проигнорировано";
    const std::vector<std::string> lines = {
        "",
        "*TEM = $01 обычно вызывает ошибки декодирования, может быть проигнорировано",
        " SOF0 = $c0 Начало Кадра (Baseline JPEG)",
        " SOF1 = $c1 dito",
        " SOF2 = $c2 обычно неподдерживаемый",
        " SOF3 = $c3 обычно неподдерживаемый",
        " DHT  = $c4 Определение Таблицы Хаффмана",
        " SOF5 = $c5 обычно неподдерживаемый",
        " SOF6 = $c6 обычно неподдерживаемый",
        " SOF7 = $c7 обычно неподдерживаемый",
        " JPG  = $c8 неопределенный/зарезервированный (вызывает ошибки декодирования)",
        " SOF9 = $c9 для арифметического кодирования, обычно не поддерживается",
        " SOF10 = $ca обычно неподдерживаемый",
        " SOF11 = $cb обычно неподдерживаемый",
        " DAC = $cc Определение Арифметической Таблицы, обычно не поддерживается",
        " SOF13 = $cd обычно неподдерживаемый",
        " SOF14 = $ce обычно неподдерживаемый",
        " SOF15 = $cf обычно неподдерживаемый",
        "*RST0 = $d0" + rst,
        "*RST1 = $d1" + rst,
        "*RST2 = $d2" + rst,
        "*RST3 = $d3" + rst,
        "*RST4 = $d4" + rst,
        "*RST5 = $d5" + rst,
        "*RST6 = $d6" + rst,
        "*RST7 = $d7",
        " SOI = $d8 Начало Изображения",
        " EOI = $d9 Конец Изображения",
        " SOS = $da Начало Сканирования",
        " DQT = $db Определение Таблицы Квантования",
        " DNL = $dc обычно неподдерживаемый, игнорировать",
        " DRI = $dd Определение Интервала Перезапуска",
        " APP0 = $e0 JFIF маркеры сегментов приложения",
        " APP15 = $ef игнорировать",
        " COM = $fe Комментарий",
        "",
    };
    for (std::size_t kind = 0; kind < lines.size(); ++kind)
        EXPECT_EQ(TZJPEG::Description(static_cast<std::uint8_t>(kind)), lines[kind]) << kind;
    EXPECT_STREQ(TZJPEG::Description(36), "");
    EXPECT_STREQ(TZJPEG::Description(255), "");
}
