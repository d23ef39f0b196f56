#include <gtest/gtest.h>

#include "framework/windows/PromptScript.h"

namespace {
TPrompt Of(TPromptKind kind)
{
    TPrompt prompt;
    prompt.Kind = kind;
    return prompt;
}
}  // namespace

TEST(PromptScript, AnswersMessageBoxesInTurnAndRecordsThem)
{
    TPromptScript script;
    script.Answer(idYes).Answer(idNo);
    EXPECT_EQ(idYes, MessageBoxPrompt(nullptr, "Продолжить?", "Внимание!", mbYesNo | mbIconQuestion | mbSystemModal));
    EXPECT_EQ(idNo, MessageBoxPrompt(nullptr, "Ещё раз?", "Внимание!", 0x1024));
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_EQ(TPromptKind::MessageBox, script.Seen()[0].Kind);
    EXPECT_EQ("Продолжить?", script.Seen()[0].Text);
    EXPECT_EQ("Внимание!", script.Seen()[0].Caption);
    EXPECT_EQ(0x1024u, script.Seen()[1].Flags);
    EXPECT_EQ(0u, script.Pending());
    EXPECT_EQ(0, script.Unanswered());
}

TEST(PromptScript, AQuestionNoOneScriptedIsCancelledAndCounted)
{
    TPromptScript script;
    EXPECT_EQ(idCancel, MessageBoxPrompt(nullptr, "?", "Внимание!", mbYesNo));
    EXPECT_EQ(1, script.Unanswered());
    auto file = ScriptedAnswer(TPrompt{TPromptKind::OpenFile, nullptr, "Открыть", "", "", 0, nullptr});
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(0, file->Result);
    EXPECT_EQ(2, script.Unanswered());
}

TEST(PromptScript, FoldersFilesPassThroughAndNesting)
{
    TPromptScript outer;
    outer.Answer(idOk);
    {
        TPromptScript inner;
        inner.AnswerFolder("C:\\Папка\\", "Папка").AnswerFiles({"C:\\a.txt", "C:\\b.txt"}).PassThrough();
        auto folder = ScriptedAnswer(Of(TPromptKind::BrowseFolder));
        ASSERT_TRUE(folder && folder->Result == 1);
        EXPECT_EQ((std::vector<AnsiString>{"C:\\Папка\\", "Папка"}), folder->Paths);
        auto files = ScriptedAnswer(Of(TPromptKind::OpenFile));
        ASSERT_TRUE(files);
        EXPECT_EQ(2u, files->Paths.size());
        EXPECT_FALSE(ScriptedAnswer(Of(TPromptKind::ModalForm)).has_value());
    }
    // The outer script answers again once the inner one is gone.
    EXPECT_EQ(idOk, MessageBoxPrompt(nullptr, "x", "y", mbOk));
    EXPECT_EQ(1u, outer.Seen().size());
}

TEST(PromptScript, WithoutAScriptNothingIsAnsweredForTheSystem)
{
    EXPECT_FALSE(ScriptedAnswer(Of(TPromptKind::MessageBox)).has_value());
}
