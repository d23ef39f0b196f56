// The version check tells the user about a file of another variant and about a file newer than the
// program; the message boxes are answered by a script.
#include <gtest/gtest.h>

#include "framework/windows/Prompt.h"
#include "storage/compound/dwfile.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/MemFiles.h"

using namespace testdata;

namespace {

class CheckFileVersion : public ::testing::Test {
protected:
    ScopedMemFiles mem;
    std::vector<TPrompt> shown;
    TPromptHandler old;
    s_Cfg savedCfg;
    void SetUp() override
    {
        savedCfg = *Cfg;
        old = SetPromptHandler([this](const TPrompt &p) -> std::optional<TPromptAnswer> {
            shown.push_back(p);
            return TPromptAnswer{idOk, {}};
        });
    }
    void TearDown() override
    {
        SetPromptHandler(old);
        *Cfg = savedCfg;
    }
    uint32_t Check(const AnsiString &stamp, const AnsiString &name, bool show, AnsiString *text = nullptr)
    {
        auto b = CompoundFileBuilder::Created(1);
        b.Commit(0, {B(stamp)});
        mem.files.Put("db.dat", b.Build());
        WFile f("db.dat");
        AnsiString got;
        const uint32_t r = f.CheckFileVersion(got, name, show);
        if (text)
            *text = got;
        return r;
    }
};

}  // namespace

TEST_F(CheckFileVersion, SameVersionShowsNothing)
{
    AnsiString text;
    EXPECT_EQ(Check("5-3.1.1", "db.dat", true, &text), 0x401u);
    EXPECT_EQ(text, "5-3.1.1");
    EXPECT_TRUE(shown.empty());
}

TEST_F(CheckFileVersion, AnotherVariantIsShownOnlyWhenAsked)
{
    EXPECT_EQ(Check("5У-3.1.1", "db.dat", false), 0x10u);
    EXPECT_TRUE(shown.empty());
    Check("5У-3.1.1", "db.dat", true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].Text.find("989"), std::string::npos);
    Check("5Д-3.1.1", "", true);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].Text.find("990"), std::string::npos);
}

TEST_F(CheckFileVersion, NewerFileIsWarnedAboutWhenANameIsGivenWhateverShowSays)
{
    Cfg->SetVersionNumbers("3.1.1");
    Cfg->SetByte(CfgField::VersionText, '5');
    Cfg->SetByte(CfgField::VersionText + 1, '-');
    EXPECT_EQ(Check("5-3.2.0", "db.dat", false), 0x420u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].Text.find("1012"), std::string::npos);
    EXPECT_NE(shown[0].Text.find(" db.dat 5-3.2.0 5-3.1.1"), std::string::npos) << shown[0].Text;
    Check("5-3.2.0", "", true);
    EXPECT_EQ(shown.size(), 1u) << "no name, no warning";
    Check("5-3.1.0", "db.dat", true);
    EXPECT_EQ(shown.size(), 1u) << "an older file is no news";
}
