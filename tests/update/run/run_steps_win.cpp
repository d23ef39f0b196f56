#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"
#include "framework/windows/PromptScript.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "update/run/ProductFolder.h"
#include "update/run/uMain.h"

namespace {

std::vector<AnsiString> ProtocolOf(TForm1 &form)
{
    std::vector<AnsiString> lines;
    for (int i = 0; i < form.LsBx_Prot->Items()->Count(); ++i)
        lines.push_back(form.LsBx_Prot->Items()->Strings(i));
    return lines;
}

class RunSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = MakeTestFolder("qmt_run_steps");
        form_.NewVersion = "3.1.1";
        form_.BaseVersion = form_.BaseVersionShort = "3.1.0";
        form_.AcceptedBuilds = {0x5F000000};
    }
    void TearDown() override { RemoveTestFolder(root_); }

    AnsiString root_;
    TForm1 form_{nullptr};
};

}  // namespace

TEST_F(RunSteps, ProductFolderFromTheUpdatersPlace)
{
    BuildInstallation(root_);
    form_.SelfPath = root_ + "qmtupdt.exe";
    ASSERT_TRUE(form_.InitData());
    EXPECT_EQ(root_, form_.ProductFolder);
    EXPECT_EQ(root_ + "qmt_3.1.1.txt", form_.JournalPath);
    EXPECT_EQ(" Предположительно. Папка исходной ЦМТ: " + root_, ProtocolOf(form_).back());

    TForm1 inExe(nullptr);
    inExe.NewVersion = "3.1.1";
    inExe.SelfPath = root_ + "EXE\\qmtupdt.exe";
    ASSERT_TRUE(inExe.InitData());
    EXPECT_EQ(root_, inExe.ProductFolder);
    EXPECT_EQ(root_ + "qmt_3.1.1.txt", inExe.JournalPath);
}

TEST_F(RunSteps, NoProductFolderOutsideAnInstallation)
{
    ForceDirectories(root_ + "myexe\\");
    form_.SelfPath = root_ + "myexe\\qmtupdt.exe";
    EXPECT_FALSE(form_.InitData());
    EXPECT_EQ(root_ + "myexe\\qmt_3.1.1.txt", form_.JournalPath);
    EXPECT_TRUE(ProtocolOf(form_).empty());

    // A file named "exe" is no executable folder.
    {
        TFileStream file(root_ + "exe", fmCreate);
    }
    form_.SelfPath = root_ + "qmtupdt.exe";
    EXPECT_FALSE(form_.InitData());
}

TEST_F(RunSteps, SecondUpdaterOfTheSameNameIsRefused)
{
    form_.SelfPath = root_ + "qmt_steps_updater.exe";
    ASSERT_TRUE(form_.CheckSeveralCopies());
    TForm1 second(nullptr);
    second.SelfPath = "C:\\elsewhere\\qmt_steps_updater.exe";
    TPromptScript script;
    script.Answer(idOk);
    EXPECT_FALSE(second.CheckSeveralCopies());
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Ошибка!", script.Seen()[0].Caption);
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("(msgid №5005)"));
    EXPECT_EQ("Ошибка № 5005", ProtocolOf(second).back());
}

TEST_F(RunSteps, VersionAndBuildMatch)
{
    BuildInstallation(root_);
    form_.ProductFolder = root_;
    EXPECT_TRUE(form_.CheckVersion());
    EXPECT_EQ("Обновление ЦМТ-5 (3.1.0) -> ЦМТ-5 (3.1.1)", form_.Caption());
    EXPECT_EQ("5-3.1.0", Cfg->VersionText());
}

TEST_F(RunSteps, OtherVersionShowsTheEditionError)
{
    TestInstallation other;
    other.VersionText = "5-3.0.9";
    BuildInstallation(root_, other);
    form_.ProductFolder = root_;
    TPromptScript script;
    script.Answer(idOk);
    EXPECT_FALSE(form_.CheckVersion());
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Обновление предназначено для редакции ЦМТ\nЦМТ 5 3.1.0", script.Seen()[0].Text);
    EXPECT_EQ("Обновление не предназначено для данной редакции ЦМТ.  У Вас установлена ЦМТ-5-3.0.9",
              ProtocolOf(form_).back());
}

TEST_F(RunSteps, BuildNotAcceptedAndBrokenInstallations)
{
    TestInstallation unknownBuild;
    unknownBuild.TimeStamp = 0x12345678;
    BuildInstallation(root_, unknownBuild);
    form_.ProductFolder = root_;
    TPromptScript script;
    EXPECT_FALSE(form_.CheckVersion());
    EXPECT_EQ("Обновление не предназначено для данной редакции ЦМТ. ", ProtocolOf(form_).back());
    EXPECT_TRUE(script.Seen().empty());

    // A configuration file cut before the version: nothing installed to compare with.
    TestInstallation shortCfg;
    shortCfg.CfgLength = 30;
    BuildInstallation(root_, shortCfg);
    script.Answer(idOk);
    EXPECT_FALSE(form_.CheckVersion());
    EXPECT_EQ(1u, script.Seen().size());

    // No executable: the failure names the file.
    DeleteFile(root_ + "EXE\\qmt.exe");
    EXPECT_FALSE(form_.CheckVersion());
    EXPECT_EQ(0u, ProtocolOf(form_).back().find("Произошла аварийная ситуация "));
    EXPECT_NE(AnsiString::npos, ProtocolOf(form_).back().find("qmt.exe"));
}

TEST_F(RunSteps, ProductExecutableAndItsMutexName)
{
    TestInstallation mixedCase;
    mixedCase.ExeFolderName = "Exe";
    mixedCase.ExeName = "QMT.exe";
    BuildInstallation(root_, mixedCase);
    form_.ProductFolder = root_;
    ASSERT_TRUE(form_.FindProductExe(false, false));
    EXPECT_EQ(ProductMutexName(root_ + "Exe\\QMT.exe"), form_.MutexName[0]);
    EXPECT_EQ("...ОК ", ProtocolOf(form_).back());
}

TEST_F(RunSteps, MissingProductExecutable)
{
    form_.ProductFolder = root_;
    TPromptScript script;
    script.Answer(idOk);
    EXPECT_FALSE(form_.FindProductExe(false, false));
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("Не найдена Программа ЦМТ."));
    EXPECT_EQ("Ошибка № 5009 ...Были ошибки ", ProtocolOf(form_).back());

    ForceDirectories(root_ + "exe\\");  // the folder without the program
    EXPECT_FALSE(form_.FindProductExe(false, true));
    EXPECT_EQ(1u, script.Seen().size());  // silent: no box

    form_.CopyFolder = root_ + "copy\\";
    EXPECT_TRUE(form_.FindProductExe(true, false));  // no copy folder: nothing to look for
    ForceDirectories(form_.CopyFolder);
    EXPECT_FALSE(form_.FindProductExe(true, false));
    EXPECT_EQ(1u, script.Seen().size());
    EXPECT_EQ(" Поиск исполняемого файла ЦМТ ...Были ошибки ", ProtocolOf(form_).back());
}

TEST_F(RunSteps, WaitingForTheProductToClose)
{
    FakeClock clock;
    TClockOverride useClock(clock);
    form_.MutexName[0] = "QMT_TEST_PRODUCT_MUTEX";
    form_.SelfPath = "C:\\P\\qmtupdt.exe";
    {
        TNamedMutex product;  // the product runs
        ASSERT_TRUE(product.Create(form_.MutexName[0]));
        TPromptScript script;
        script.Answer(idYes).Answer(idNo).Answer(idOk);
        EXPECT_TRUE(form_.WaitProductClosed(0));
        ASSERT_EQ(3u, script.Seen().size());
        EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("\nC:\\P\\qmtupdt.exe\nвручную."));
        EXPECT_NE(AnsiString::npos, script.Seen()[0].Text.find("(msgid №3007)"));
        EXPECT_EQ(0u, script.Seen()[2].Text.find("Возможно выполняется приложение ЦМТ-5."));
        std::vector<AnsiString> lines = ProtocolOf(form_);
        ASSERT_EQ(21u, lines.size());
        EXPECT_EQ(" Программа ЦМТ либо еще одно обновление обнаружены в памяти. Ожидаем 1 секунду. Попытка 1 из 10",
                  lines[0]);
        EXPECT_NE(AnsiString::npos, lines[19].find("Попытка 10 из 10"));
        EXPECT_EQ("Ошибка № 5007", lines[20]);
        std::vector<unsigned> round = {300, 300, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000};
        std::vector<unsigned> expected = round;
        expected.insert(expected.end(), round.begin(), round.end());
        EXPECT_EQ(expected, clock.sleeps);
        EXPECT_FALSE(form_.ProductMutex[0].Held());
    }
    // The product has closed: the mutex is taken at the first attempt and kept.
    clock.sleeps.clear();
    EXPECT_FALSE(form_.WaitProductClosed(0));
    EXPECT_TRUE(form_.ProductMutex[0].Held());
    EXPECT_EQ((std::vector<unsigned>{300, 300}), clock.sleeps);
    EXPECT_TRUE(form_.AcquireProductMutex(0));
}

namespace {

bool WaitFor(const std::function<bool()> &done)
{
    for (int i = 0; i < 400; ++i) {
        if (done())
            return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

TEST_F(RunSteps, StartsTheProductInItsFolder)
{
    BuildInstallation(root_);
    ASSERT_TRUE(CopyFile(QMT_HELPER_DIR "\\standin_product.exe", root_ + "EXE\\qmt.exe", false));
    AnsiString previousFolder = GetCurrentDir();
    form_.ProductFolder = root_;
    form_.StartProduct();
    EXPECT_EQ(ExcludeTrailingBackslash(root_), GetCurrentDir());
    SetCurrentDir(previousFolder);

    ASSERT_TRUE(WaitFor([&] { return FileExists(root_ + "started.txt"); }));
    form_.MutexName[0] = ProductMutexName(root_ + "EXE\\qmt.exe");
    EXPECT_FALSE(form_.AcquireProductMutex(0));  // the product holds its mutex
    {
        TFileStream quit(root_ + "EXE\\quit", fmCreate);
    }
    ASSERT_TRUE(WaitFor([&] { return form_.AcquireProductMutex(0); }));
    form_.ProductMutex[0].Close();

    TFileStream started(root_ + "started.txt", fmOpenRead);
    std::wstring folder(static_cast<size_t>(started.Size()) / 2, L'\0');
    started.ReadBuffer(folder.data(), static_cast<long>(folder.size() * 2));
    EXPECT_EQ(ExcludeTrailingBackslash(root_), WideToCp1251(folder));
}

TEST_F(RunSteps, ProductThatCannotStart)
{
    form_.ProductFolder = root_;
    AnsiString previousFolder = GetCurrentDir();
    TPromptScript script;
    script.Answer(idOk);
    form_.StartProduct();
    SetCurrentDir(previousFolder);
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Не удается запустить программу ЦМТ-5.\n(msgid №5017)", script.Seen()[0].Text);
}
