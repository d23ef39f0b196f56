#include <gtest/gtest.h>

#include <string>

#include "base/memory/PackedWord.h"
#include "base/files/TextBase.h"
#include "tests/support/RizaFileBuilder.h"

using namespace testdata;

namespace {

std::string SpanText(TRizaData data, std::uint32_t span)
{
    const TRizaData text = TMRizaBs::TextOf(data);
    return std::string(reinterpret_cast<const char *>(text.data()) + PackedHigh(span), PackedLow(span));
}

// A walker over a file image held by the test.
class Walker : public TMRizaBs {
public:
    explicit Walker(const Bytes &file) : file_(file) { SetView(file_.data(), file_.size()); }
    // The text of a number in a section, or "-" when the walk finds none.
    std::string Text(std::uint32_t section, std::uint16_t number)
    {
        SeekRecord(section);
        const TRizaData data = FindRecordById(number);
        return data.empty() ? "-" : SpanText(data, LanguageSpan(data, 2));
    }
    // Every text of a section in walking order, joined by "|".
    std::string All(std::uint32_t section)
    {
        SeekRecord(section);
        std::string all;
        TRizaData data;
        while (NextRecord(data))
            all += (all.empty() ? "" : "|") + SpanText(data, LanguageSpan(data, 2));
        return all;
    }

private:
    Bytes file_;
};

RizaText Text(std::uint16_t number, const std::string &text, std::uint8_t flags = 0)
{
    return {number, flags, B(text)};
}

}  // namespace

TEST(TextBaseSpans, ATwoLanguageTextWithATail)
{
    const Bytes data = RizaTextData(Text(7, "\x04Слово\x05Слово укр\x03хвіст"));
    EXPECT_EQ(SpanText(data, TMRizaBs::LanguageSpan(data, 1)), "Слово");
    EXPECT_EQ(SpanText(data, TMRizaBs::LanguageSpan(data, 0)), "Слово укр");
    EXPECT_EQ(SpanText(data, TMRizaBs::LanguageSpan(data, 2)), "\x04Слово\x05Слово укр\x03хвіст");
    EXPECT_EQ(SpanText(data, TMRizaBs::TailSpan(data)), "хвіст");
    EXPECT_EQ(TMRizaBs::RussianSpan(data), 0x00010005u);  // offset 1, length 5
    EXPECT_EQ(TMRizaBs::TextLength(data), 22);
    EXPECT_TRUE(TMRizaBs::IsTextNumber(data, 7));
    EXPECT_FALSE(TMRizaBs::IsTextNumber(data, 8));

    // The Russian part may close with 0x03 directly: no Ukrainian part then.
    const Bytes russianOnly = RizaTextData(Text(1, "\x04Да\x03"));
    EXPECT_EQ(SpanText(russianOnly, TMRizaBs::RussianSpan(russianOnly)), "Да");
    EXPECT_EQ(TMRizaBs::UkrainianSpan(russianOnly), 0u);
    EXPECT_EQ(PackedLow(TMRizaBs::TailSpan(russianOnly)), 0);
    // A Ukrainian part runs to the text's end without 0x03, and there is no tail.
    const Bytes noClose = RizaTextData(Text(1, "\x04Да\x05Так"));
    EXPECT_EQ(SpanText(noClose, TMRizaBs::UkrainianSpan(noClose)), "Так");
    EXPECT_EQ(TMRizaBs::TailSpan(noClose), 0u);
}

TEST(TextBaseSpans, PartsThatAreNotThereAreEmpty)
{
    // The text ends before the Russian part closes: both language parts are empty.
    const Bytes unclosed = RizaTextData(Text(1, "\x04Слово"));
    EXPECT_EQ(PackedLow(TMRizaBs::RussianSpan(unclosed)), 0);
    EXPECT_EQ(TMRizaBs::UkrainianSpan(unclosed), 0u);
    // A Ukrainian part needs a Russian part before it.
    const Bytes ukrainianFirst = RizaTextData(Text(1, "\x05Слово\x03"));
    EXPECT_EQ(TMRizaBs::RussianSpan(ukrainianFirst), 0u);
    EXPECT_EQ(TMRizaBs::UkrainianSpan(ukrainianFirst), 0u);
    const Bytes emptyRussian = RizaTextData(Text(1, "\x04\x05Слово\x03"));
    EXPECT_EQ(TMRizaBs::UkrainianSpan(emptyRussian), 0u);
    // An empty text and data too short for a text record have no parts at all.
    for (const Bytes &data : {RizaTextData(Text(1, "")), Bytes{1, 0, 0, 9}, Bytes{}}) {
        EXPECT_EQ(TMRizaBs::LanguageSpan(data, 2), 0u);
        EXPECT_EQ(TMRizaBs::RussianSpan(data), 0u);
        EXPECT_EQ(TMRizaBs::TailSpan(data), 0u);
    }
}

TEST(TextBaseSpans, ATextLengthPastTheDataMakesNoTextRecord)
{
    const Bytes data = RizaTextData(Text(3, "\x04Слово\x03"), 200);
    EXPECT_FALSE(TMRizaBs::IsTextRecord(data));
    EXPECT_TRUE(TMRizaBs::TextOf(data).empty());
    EXPECT_EQ(TMRizaBs::TextLength(data), 0);
    EXPECT_FALSE(TMRizaBs::HasTail(data));
    char buffer[8] = {};
    EXPECT_EQ(TMRizaBs::CopySpan(data, 0x00000007u, buffer, sizeof buffer), 0u);
}

TEST(TextBaseSpans, CopyingStopsAtTheBuffersCapacity)
{
    const Bytes data = RizaTextData(Text(3, "\x04Слово\x03"));
    char buffer[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(TMRizaBs::CopySpan(data, TMRizaBs::RussianSpan(data), buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 4), std::string("Сло#"));
    EXPECT_EQ(TMRizaBs::CopySpan(data, TMRizaBs::RussianSpan(data), nullptr, 8), 0u);
    // A span that lies outside the text copies only what lies inside.
    EXPECT_EQ(TMRizaBs::CopySpan(data, 0x00050010u, buffer, sizeof buffer), 2u);
    EXPECT_EQ(TMRizaBs::CopySpan(data, 0x00400010u, buffer, sizeof buffer), 0u);
}

TEST(TextBaseWalk, TextsAreFoundInTheirOwnSection)
{
    const Bytes file = RizaFile(5, {{1, {Text(10, "один"), Text(11, "два")}}, {3, {Text(10, "три")}}});
    Walker w(file);
    EXPECT_EQ(w.SectionCount(), 5u);
    EXPECT_EQ(w.Text(1, 10), "один");
    EXPECT_EQ(w.Text(1, 11), "два");
    EXPECT_EQ(w.Text(3, 10), "три");
    EXPECT_EQ(w.Text(3, 11), "-");
    EXPECT_EQ(w.Text(2, 10), "-");
    EXPECT_EQ(w.Text(5, 10), "-");
    EXPECT_EQ(w.Section(), -1);
    EXPECT_EQ(w.RecordOffset(), 0u);
    EXPECT_EQ(w.All(1), "один|два");

    // Rewind(0) starts the current section again; a found record leaves the walk behind it.
    ASSERT_TRUE(w.SeekRecord(1));
    EXPECT_FALSE(w.FindRecordById(11).empty());
    EXPECT_TRUE(w.FindRecordById(10).empty());
    w.Rewind(0);
    EXPECT_FALSE(w.FindRecordById(10).empty());
}

TEST(TextBaseWalk, AnEmptySectionIsTheOneOfType8)
{
    const Bytes file = RizaFile(3, {{1, {Text(10, "один")}}});
    Walker w(file);
    EXPECT_TRUE(w.IsSectionType8());  // no section yet
    ASSERT_TRUE(w.SeekRecord(0));
    EXPECT_TRUE(w.IsSectionType8());
    ASSERT_TRUE(w.SeekRecord(1));
    EXPECT_FALSE(w.IsSectionType8());
    Walker none(Bytes{});
    EXPECT_FALSE(none.SeekRecord(0));
    EXPECT_TRUE(none.IsSectionType8());
}

TEST(TextBaseWalk, DeletedRecordsAreSkippedAndLinksFollowed)
{
    // A section edited in place: its second text deleted, a new one appended behind the section and
    // linked in after the first; the end record is reached through the new record's link.
    CompoundFileBuilder file = RizaFileBuilder(2, {});
    const std::uint32_t first = file.Record(RizaTextData(Text(1, "первый")));
    const std::uint32_t old = file.Record(RizaTextData(Text(2, "старый")));
    const std::uint32_t end = file.EndRecord();
    const std::uint32_t added = file.Record(RizaTextData(Text(2, "новый")), 0, end);
    file.SetLink(first, added);
    file.SetFlags(old, kDeleted);
    file.SetEntry(1, first, 0);
    // A deleted record that keeps its link is stepped over through it.
    const std::uint32_t gone = file.Record(RizaTextData(Text(3, "удалён")), kDeleted, end);
    file.SetLink(added, gone);
    Walker w(file.Build());
    EXPECT_EQ(w.All(1), "первый|новый");
    EXPECT_EQ(w.Text(1, 2), "новый");
    EXPECT_EQ(w.Text(1, 3), "-");
}

TEST(TextBaseWalk, RecordsThatHoldNoTextArePassedOver)
{
    // A record too short for a text and one whose text length runs past its data lie before a
    // good text of the same number: the lookup skips both.
    CompoundFileBuilder b = RizaFileBuilder(2, {});
    b.Commit(1, {Bytes{5, 0, 0}, RizaTextData(Text(5, "длинный"), 300), RizaTextData(Text(5, "верный"))});
    Walker w(b.Build());
    EXPECT_EQ(w.Text(1, 5), "верный");
}

TEST(TextBaseWalk, DamagedFilesEndTheSectionAtTheDamage)
{
    const std::vector<RizaText> texts = {Text(1, "перед"), Text(2, "после")};
    const Bytes good = RizaFile(2, {{1, texts}});
    Walker check(good);
    ASSERT_EQ(check.All(1), "перед|после");

    // The section's first record lies past the end of the file.
    CompoundFileBuilder offsetPastEnd = RizaFileBuilder(2, {{1, texts}});
    offsetPastEnd.SetEntry(1, 0x7FFFFFF0u, 20);
    EXPECT_EQ(Walker(offsetPastEnd.Build()).All(1), "");

    // The second record's length runs past the end of the file: the first text is still found.
    Bytes lengthPastEnd = good;
    const std::size_t second = good.size() - 8 - (7 + RizaTextData(texts[1]).size());
    lengthPastEnd[second + 5] = 0xFF;
    lengthPastEnd[second + 6] = 0x7F;
    Walker a(lengthPastEnd);
    EXPECT_EQ(a.All(1), "перед");
    EXPECT_EQ(a.Text(1, 2), "-");

    // The section lacks its end record: the walk stops at the end of the file.
    const Bytes noEnd(good.begin(), good.end() - 8);
    EXPECT_EQ(Walker(noEnd).All(1), "перед|после");
    EXPECT_EQ(Walker(Bytes(noEnd.begin(), noEnd.end() - 3)).All(1), "перед");

    // A record of length 0, or one longer than a compound file's record may be, ends the section.
    Bytes empty = good;
    empty[second + 5] = 0;
    empty[second + 6] = 0;
    EXPECT_EQ(Walker(empty).All(1), "перед");
    const RizaText huge = Text(3, std::string(TMRizaBs::MaxRecordLength - 4, 'x'));
    EXPECT_EQ(Walker(RizaFile(2, {{1, {texts[0], huge, texts[1]}}})).All(1), "перед");

    // A section count beyond the table: the entries outside the file are no sections.
    Bytes bigCount = good;
    bigCount[4] = 0xFF;
    bigCount[5] = 0xFF;
    bigCount[6] = 0xFF;
    bigCount[7] = 0xFF;
    Walker c(bigCount);
    EXPECT_EQ(c.All(1), "перед|после");
    EXPECT_FALSE(c.SeekRecord(0x20000000u));
    EXPECT_FALSE(c.SeekRecord(0xFFFFFFF0u));

    // A file cut inside its header or table.
    EXPECT_EQ(Walker(Bytes(good.begin(), good.begin() + 6)).SectionCount(), 0u);
    EXPECT_EQ(Walker(Bytes(good.begin(), good.begin() + 20)).All(1), "");
}

TEST(TextBaseWalk, AChainThatLoopsEnds)
{
    CompoundFileBuilder b = RizaFileBuilder(2, {});
    const std::uint32_t first = b.Record(RizaTextData(Text(1, "раз")));
    const std::uint32_t second = b.Record(RizaTextData(Text(2, "два")), 0, first);
    b.SetEntry(1, first, 0);
    (void)second;
    Walker w(b.Build());
    EXPECT_EQ(w.Text(1, 3), "-");
    // A loop of deleted records alone ends as well.
    b.SetFlags(first, kDeleted);
    b.SetFlags(second, kDeleted);
    Walker d(b.Build());
    EXPECT_EQ(d.All(1), "");
}
