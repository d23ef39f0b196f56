#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/memory/PackedWord.h"
#include "base/files/PathParts.h"
#include "base/files/TextBase.h"
#include "tests/base/files/FileBoxes.h"
#include "tests/support/RizaFileBuilder.h"
#include "tests/support/TempFolder.h"

using namespace testdata;

namespace {

std::string Str(const Bytes &b) { return std::string(b.begin(), b.end()); }

// A configuration folder holding a text base, set as the process's configuration folder for the
// test's lifetime.
class TextBaseFolder {
public:
    explicit TextBaseFolder(const Bytes &file, bool write = true)
    {
        if (write)
            WriteWholeFile(folder_ / "riza.sfr", Str(file));
        SetPathRecord(ConfigFolderRecord, folder_.Path().c_str());
    }
    ~TextBaseFolder() { ClearPathRecord(ConfigFolderRecord); }
    const TempFolder &Folder() const { return folder_; }

private:
    TempFolder folder_;
};

const RizaText Full{100, 0, TwoLanguageText("Слово", "Слово укр", "хвіст")};
const RizaText NoTailAllowed{101, 2, TwoLanguageText("Да", "Так", "хвіст")};
const RizaText Unclosed{102, 0, B("\x04Слово")};
const RizaText UkrainianFirst{103, 0, B("\x05Слово\x03")};

Bytes Texts() { return RizaFile({Full, NoTailAllowed, Unclosed, UkrainianFirst}); }

}  // namespace

TEST(TBText, GivesTheTextOfALanguage)
{
    TextBaseFolder folder(Texts());
    TBTextEkr screen;
    EXPECT_EQ(screen.Extra, 0u);
    EXPECT_EQ(screen.GetText(100, 1), "Слово");
    EXPECT_EQ(screen.GetText(100, 0), "Слово укр");
    EXPECT_EQ(screen.GetText(100, 2), Str(Full.text));
    EXPECT_EQ(screen.LastFlags(), 0);
    // Empty parts read as the unknown text.
    EXPECT_EQ(screen.GetText(102, 1), "????text");
    EXPECT_EQ(screen.GetText(102, 0), "????text");
    EXPECT_EQ(screen.GetText(103, 0), "????text");
    EXPECT_EQ(screen.GetText(103, 2), "\x05Слово\x03");
    // An unknown number.
    EXPECT_EQ(screen.GetText(999, 1), "????text");
    char buffer[32];
    EXPECT_EQ(screen.GetTextInto(buffer, sizeof buffer, 999, 1), 0u);
    EXPECT_TRUE(screen.FindText(999).empty());
}

TEST(TBText, CopiesNoMoreThanItsBuffersHold)
{
    TextBaseFolder folder(Texts());
    TBTextDoc doc;
    char text[8];
    char tail[3];
    std::fill(std::begin(text), std::end(text), '#');
    EXPECT_EQ(doc.GetTextInto(text, 3, 100, 0), 3u);
    EXPECT_EQ(std::string(text, 4), std::string("Сло#"));

    std::uint32_t parts = doc.GetTextParts(100, 1, text, sizeof text, tail, sizeof tail);
    EXPECT_EQ(PackedLow(parts), 5);
    EXPECT_EQ(PackedHigh(parts), 3);
    EXPECT_EQ(std::string(text, 5), "Слово");
    EXPECT_EQ(std::string(tail, 3), "хві");
    // Without buffers the whole lengths are told.
    parts = doc.GetTextParts(100, 0, nullptr, 0, nullptr, 0);
    EXPECT_EQ(PackedLow(parts), 9);
    EXPECT_EQ(PackedHigh(parts), 5);
    // A record whose flags allow no tail gives none.
    std::fill(std::begin(tail), std::end(tail), '#');
    parts = doc.GetTextParts(101, 0, text, sizeof text, tail, sizeof tail);
    EXPECT_EQ(PackedLow(parts), 3);
    EXPECT_EQ(PackedHigh(parts), 0);
    EXPECT_EQ(doc.LastFlags(), 2);
    EXPECT_EQ(tail[0], '#');
    EXPECT_EQ(doc.GetTextParts(999, 0, text, sizeof text, tail, sizeof tail), 0u);
}

TEST(TBText, UsersShareOneMapping)
{
    TextBaseFolder folder(Texts());
    ASSERT_EQ(TMRiza::UseCount(), 0);
    auto *first = new TBTextEkr;
    TBTextDoc second;
    EXPECT_EQ(TMRiza::UseCount(), 2);
    const std::uint8_t *view = first->View();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(second.View(), view);
    delete first;
    EXPECT_EQ(TMRiza::UseCount(), 1);
    // The second keeps the mapping.
    EXPECT_EQ(second.View(), view);
    EXPECT_EQ(second.GetText(100, 1), "Слово");
}

TEST(TBText, TheFirstUsersOfManyThreadsMapTheFileOnce)
{
    TextBaseFolder folder(Texts());
    std::vector<const std::uint8_t *> views(8);
    std::vector<std::string> texts(views.size());
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    std::vector<TBText *> made(views.size());
    for (std::size_t i = 0; i < views.size(); ++i)
        threads.emplace_back([&, i] {
            ++ready;
            while (!go)
                std::this_thread::yield();
            made[i] = new TBText(kTextSection);
            views[i] = made[i]->View();
            texts[i] = made[i]->GetText(100, 0);
        });
    while (ready < static_cast<int>(threads.size()))
        std::this_thread::yield();
    go = true;
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(TMRiza::UseCount(), static_cast<int>(views.size()));
    for (std::size_t i = 0; i < views.size(); ++i) {
        EXPECT_NE(views[i], nullptr);
        EXPECT_EQ(views[i], views[0]);
        EXPECT_EQ(texts[i], "Слово укр");
    }
    for (TBText *t : made)
        delete t;
    EXPECT_EQ(TMRiza::UseCount(), 0);
}

TEST(TBText, AMissingFileShowsItsErrorAndFindsNothing)
{
    TextBaseFolder folder({}, false);
    FileBoxes boxes;
    {
        TBTextEkr screen;
        EXPECT_EQ(screen.View(), nullptr);
        EXPECT_EQ(screen.GetText(100, 1), "????text");
        char buffer[8];
        EXPECT_EQ(screen.GetTextInto(buffer, sizeof buffer, 100, 1), 0u);
        EXPECT_TRUE(screen.IsSectionType8());
        // Further users while the first one lives do not try again.
        TBTextDoc doc;
        EXPECT_EQ(doc.GetText(100, 1), "????text");
    }
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].Text, "Не найден файл " + folder.Folder() / "riza.sfr");
    EXPECT_EQ(TMRiza::UseCount(), 0);
    // Once every user has gone, the next one loads the file that is there now.
    WriteWholeFile(folder.Folder() / "riza.sfr", Str(Texts()));
    TBTextEkr later;
    EXPECT_EQ(later.GetText(100, 1), "Слово");
}

TEST(TBText, DamagedFilesFindNothingPastTheDamage)
{
    // The section's offset lies past the end of the file.
    CompoundFileBuilder offsetPastEnd = RizaFileBuilder(kTextSection + 1, {{kTextSection, {Full}}});
    offsetPastEnd.SetEntry(kTextSection, 0x10000000u, 30);
    // The record's length runs past the end, and a section without its end record.
    Bytes lengthPastEnd = RizaFile({Full});
    const std::size_t record = lengthPastEnd.size() - 8 - 7 - RizaTextData(Full).size();
    lengthPastEnd[record + 6] = 0x7F;
    const Bytes good = RizaFile({Full, NoTailAllowed});
    const Bytes noEnd(good.begin(), good.end() - 8);
    // A record whose text length runs past its data is skipped.
    CompoundFileBuilder badLength = RizaFileBuilder(kTextSection + 1, {});
    badLength.Commit(kTextSection, {RizaTextData(Full, 400), RizaTextData(NoTailAllowed)});

    struct Case {
        const char *what;
        Bytes file;
        const char *text100;
        const char *text101;
    } cases[] = {
        {"offset past the end", offsetPastEnd.Build(), "????text", "????text"},
        {"length past the end", lengthPastEnd, "????text", "????text"},
        {"no end record", noEnd, "Слово", "Да"},
        {"text longer than its record", badLength.Build(), "????text", "Да"},
        {"cut in the table", Bytes(good.begin(), good.begin() + 1000), "????text", "????text"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TextBaseFolder folder(c.file);
        TBTextEkr screen;
        EXPECT_NE(screen.View(), nullptr);
        EXPECT_EQ(screen.GetText(100, 1), c.text100);
        EXPECT_EQ(screen.GetText(101, 1), c.text101);
    }
}
