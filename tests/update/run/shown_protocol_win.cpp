// The protocol of a shown main window: its list box takes lines in batches, while every journal line
// is on the disk at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/windows/Prompt.h"
#include "update/journal/JournalLine.h"
#include "update/run/MsgBoxes.h"
#include "update/run/uMain.h"

namespace {

std::vector<AnsiString> BoxLines(TForm1 &form)
{
    std::vector<AnsiString> lines;
    for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
        lines.push_back(form.LsBx_Prot->Items()->Strings(i));
    return lines;
}

size_t JournalLineCount(const AnsiString &path)
{
    TFileStream reader(path, fmOpenRead | fmShareDenyNone);
    std::string bytes(size_t(reader.Size()), '\0');
    reader.ReadBuffer(bytes.data(), long(bytes.size()));
    return SplitJournalLines(bytes).size();
}

}  // namespace

TEST(ShownProtocol, LinesReachTheJournalAtOnceAndTheBoxInOrderBeforeAMessageBox)
{
    const auto folder = std::filesystem::temp_directory_path() / "qmt_shown_protocol_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        TForm1 form(nullptr);
        form.JournalPath = folder.string() + "\\qmt_3.1.1.txt";
        form.Show();
        ASSERT_TRUE(form.OpenJournal());
        std::vector<AnsiString> expected = {"LogCmd 4 " + AnsiString(JournalStartText)};
        for (int i = 0; i < 300; ++i) {
            form.Log(ept_Copy, "file" + std::to_string(i), true);
            form.CheckStep(i % 7 != 3, false);
            expected.push_back(ProtocolLine(ept_Copy, "file" + std::to_string(i)) + " " +
                               ProtocolLine(i % 7 != 3 ? ept_Ok : ept_Failed, AnsiString()));
            // Each line, a result that extends a list line included, is a journal line of its own.
            ASSERT_EQ(JournalLineCount(form.JournalPath), size_t(1 + 2 * (i + 1)));
        }

        std::vector<AnsiString> atTheBox;
        const TPromptHandler previous = SetPromptHandler([&](const TPrompt &) -> std::optional<TPromptAnswer> {
            atTheBox = BoxLines(form);
            return TPromptAnswer{idNo, {}};
        });
        EXPECT_FALSE(AskYesNo(3009, true));
        SetPromptHandler(previous);
        EXPECT_EQ(atTheBox, expected);  // the box shows every line, in order, with its result
        EXPECT_EQ(form.LsBx_Prot->ItemIndex(), int(expected.size()) - 1);  // the newest selected
        form.CloseJournal();
    }
    std::filesystem::remove_all(folder);
}
