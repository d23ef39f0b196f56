#include <gtest/gtest.h>

#include <algorithm>

#include "base/messages/zmsg.h"
#include "framework/windows/Prompt.h"

namespace {
// Records the message boxes shown and answers each with OK.
struct ShownBoxes {
    std::vector<TPrompt> boxes;
    TPromptHandler old = SetPromptHandler([this](const TPrompt &p) -> std::optional<TPromptAnswer> {
        boxes.push_back(p);
        return TPromptAnswer{idOk, {}};
    });
    ~ShownBoxes() { SetPromptHandler(old); }
};
}  // namespace

TEST(ShowMessageNo, ShowsTheErrorTextAndNothingFor999)
{
    ShownBoxes shown;
    ShowMessageNo("a.dat", 1);
    ShowMessageNo("told", 999);
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].Text, MessageText("a.dat", 1));
    EXPECT_EQ(shown.boxes[0].Caption, "     О ш и б к а  !");
}

TEST(ShowWarning, AddsAThousandExceptToZero)
{
    ShownBoxes shown;
    ShowWarning("x|y", 12);
    ShowWarning("as it is|kept", 0);
    ASSERT_EQ(shown.boxes.size(), 2u);
    // The message box shows the layout's "#" line breaks as line ends.
    AnsiString expected = MessageText("x|y", 1012);
    std::replace(expected.begin(), expected.end(), '#', '\n');
    EXPECT_EQ(shown.boxes[0].Text, expected);
    EXPECT_EQ(shown.boxes[1].Text, "as it is|kept");
    EXPECT_EQ(shown.boxes[0].Caption, "     П р е д у п р е ж д е н и е  !");
}
