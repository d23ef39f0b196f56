// The main window's payload step on an updater file: the run state it fills, its protocol lines and
// the caption, and the error box of a damaged updater.
#include <gtest/gtest.h>

#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/windows/PromptScript.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "update/run/uMain.h"

namespace {

class PayloadForm : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeTestFolder("qmt_payload_form"); }
    void TearDown() override { RemoveTestFolder(root_); }

    AnsiString Place(const std::vector<uint8_t> &bytes)
    {
        const AnsiString path = root_ + "обновление.exe";
        TFileStream file(path, fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
        return path;
    }

    std::vector<AnsiString> Lines()
    {
        std::vector<AnsiString> lines;
        for (int i = 0; i < form_.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form_.LsBx_Prot->Items()->Strings(i));
        return lines;
    }

    AnsiString root_;
    TForm1 form_{nullptr};
};

}  // namespace

TEST_F(PayloadForm, FillsTheRunStateFromTheUpdatersFile)
{
    TestPayloadBuilder b;
    b.BaseVersion = "3.1.1.2";
    b.NewVersion = "3.1.1.5";
    b.Builds = {0x11111111, 0x22222222, 1};
    b.TempBytes = 777;
    b.Growth = 4000000000u;
    b.AddSection();
    b.AddFile(ADDREPM, "doc\\x.txt", PatternBytes(500, 1));
    const TestPayload payload = b.Build();
    const AnsiString path = Place(payload.Bytes);

    ASSERT_TRUE(form_.ReadUpdatePayload(path));
    // What the reader found is handed on whole; the reader's own tests check the finding.
    ASSERT_EQ(2u, form_.Items.size());
    EXPECT_EQ(payload.ItemPositions[1], form_.Items[1].Position);
    EXPECT_EQ(777u, form_.TempBytesNeeded);
    EXPECT_EQ(4000000000ull + 65535, form_.Growth);
    EXPECT_EQ("3.1.1", form_.BaseVersionShort);
    EXPECT_EQ(1, form_.Correction);
    EXPECT_EQ((std::vector<uint32_t>{0x11111111, 0x22222222, 1}), form_.AcceptedBuilds);
    EXPECT_EQ("Исправление ЦМТ-5 (3.1.1.X) -> ЦМТ-5 (3.1.1.5) ", form_.Caption());

    const std::vector<AnsiString> lines = Lines();
    ASSERT_EQ(7u, lines.size());
    EXPECT_EQ(" Определение настоящей длины " + path + " ...ОК ", lines[0]);
    EXPECT_EQ(" Информация заголовка окна:  Исправление ЦМТ-5 (3.1.1.X) -> ЦМТ-5 (3.1.1.5)  ...ОК ", lines[2]);
    EXPECT_EQ("Создание списка обновлений " + path, lines[4]);
    EXPECT_EQ(" 1. SECTION №1 (начало нового блока данных)", lines[5]);
    EXPECT_EQ(" 1.1. ADDREPM, файл doc\\x.txt ...ОК ", lines[6]);
}

TEST_F(PayloadForm, ADamagedUpdaterShowsError5001WithItsName)
{
    std::vector<uint8_t> bytes = TestPayloadBuilder{}.Build().Bytes;
    bytes[100] ^= 0x40;
    const AnsiString path = Place(bytes);
    TPromptScript script;
    script.Answer(mrOk);
    EXPECT_FALSE(form_.ReadUpdatePayload(path));
    EXPECT_EQ((std::vector<AnsiString>{"Ошибка № 5001"}), Lines());
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Ошибка!", script.Seen()[0].Caption);
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find(path));
    EXPECT_EQ(0, script.Unanswered());
}

TEST_F(PayloadForm, AMissingUpdaterFileFailsWithTheSystemsReason)
{
    EXPECT_FALSE(form_.ReadUpdatePayload(root_ + "нет.exe"));
    const std::vector<AnsiString> lines = Lines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(0u, lines[0].find("Произошла аварийная ситуация "));
}
