// The protocol of a shown main window: its list box takes lines in batches, while every journal line
// is on the disk at once; however the run ends, the window shows every line before it waits for the
// user, the protocol file's path last.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/Prompt.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InstallationBuilder.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/WindowPicture.h"
#include "update/journal/JournalLine.h"
#include "update/payload/PartNfo.h"
#include "update/run/MsgBoxes.h"
#include "update/run/ProductFolder.h"
#include "update/run/uMain.h"
#include "update/variant/uSelKindUpdt.h"
#undef DeleteFile  // the framework's DeleteFile(AnsiString) is meant here

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
        std::vector<AnsiString> expected = {"LogCmd 4 " + AnsiString(JournalStartText), "LogCmd 3 "};
        for (int i = 0; i < 300; ++i) {
            form.Log(ept_Copy, "file" + std::to_string(i), true);
            form.CheckStep(i % 7 != 3, false);
            expected.push_back(ProtocolLine(ept_Copy, "file" + std::to_string(i)) + " " +
                               ProtocolLine(i % 7 != 3 ? ept_Ok : ept_Failed, AnsiString()));
            // Each line, a result that extends a list line included, is a journal line of its own.
            ASSERT_EQ(JournalLineCount(form.JournalPath), size_t(2 + 2 * (i + 1)));
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

namespace {

// A main window's whole run on an installation in `root_`, ended one way or another.
class FinishedRun : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeTestFolder("qmt_finished_protocol"); }
    void TearDown() override
    {
        if (Frm_SelKU)
            Frm_SelKU->Free();
        Frm_SelKU = nullptr;
        RemoveTestFolder(root_);
    }

    void PlaceUpdater(const TestPayloadBuilder &payload = TestPayloadBuilder{})
    {
        std::vector<uint8_t> bytes = payload.Build().Bytes;
        TFileStream file(root_ + "qmtupdt.exe", fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
    }

    // A journal an earlier run left: rollback is offered.
    void LeaveJournal()
    {
        const std::string line =
            "\r\n" + JournalCommandLine("06.12.26 23:10:00.000", ejc_Start, JournalStartText) + "\r\n";
        TFileStream journal(root_ + "qmt_3.1.1.txt", fmCreate);
        journal.WriteBuffer(line.data(), static_cast<long>(line.size()));
    }

    // Runs the window with `prompts` answering, and one more answer (No) for the run's last box;
    // checks the window as the run leaves it to the user: every line of the protocol file, then the
    // file's path, the last line selected and in view. The last box showed every line before it.
    void RunAndCheck(PromptSteps &prompts)
    {
        std::vector<AnsiString> atTheLastBox;
        TForm1 form(nullptr);
        form.SelfPath = root_ + "qmtupdt.exe";
        // The window's controls exist, so its list takes lines as a shown one does, but it is not put on
        // the screen: the test programs share one screen, and a window that took the activation from
        // another program's would close that one's dropped-down calendar or end its button's press.
        form.HandleNeeded();
        ASSERT_TRUE(form.LsBx_Prot->HandleAllocated());
        prompts.Then([&](const TPrompt &) {
            atTheLastBox = BoxLines(form);
            return TPromptAnswer{idNo, {}};
        });
        form.FormActivate(&form);
        EXPECT_TRUE(prompts.steps.empty()) << "the run asked fewer questions than expected";
        EXPECT_EQ(0, prompts.unanswered) << "the run asked more questions than expected";

        const AnsiString file = root_ + "Протокол_qmt_3.1.1" + (correction_ ? ".5" : "") + ".txt";
        TStringList saved;
        saved.LoadFromFile(file);
        std::vector<AnsiString> expected;
        for (int i = 0; i < saved.Count(); ++i)
            expected.push_back(saved.Strings(i));
        expected.push_back("Техническая информация о проведенных действиях сохранена в: ");
        expected.push_back(file);
        EXPECT_EQ(expected, BoxLines(form));
        const int last = form.LsBx_Prot->Items()->Count() - 1;
        EXPECT_EQ(last, form.LsBx_Prot->ItemIndex());
        RECT item{}, client{};
        SendMessageW(form.LsBx_Prot->Handle(), LB_GETITEMRECT, WPARAM(last), LPARAM(&item));
        GetClientRect(form.LsBx_Prot->Handle(), &client);
        EXPECT_TRUE(item.top >= 0 && item.bottom <= client.bottom) << "the last line is out of view";
        // The box's last line may take its step's result afterwards.
        ASSERT_FALSE(atTheLastBox.empty());
        ASSERT_LE(atTheLastBox.size(), expected.size());
        const size_t n = atTheLastBox.size() - 1;
        EXPECT_EQ(std::vector<AnsiString>(atTheLastBox.begin(), atTheLastBox.begin() + n),
                  std::vector<AnsiString>(expected.begin(), expected.begin() + n));
        EXPECT_EQ(0u, expected[n].find(atTheLastBox[n])) << atTheLastBox[n];
    }

    AnsiString root_;
    bool correction_ = false;
    FakeClock clock_;
    TClockOverride useClock_{clock_};
};

}  // namespace

TEST_F(FinishedRun, AfterSuccessTheWindowEndsWithTheProtocolFilesPath)
{
    TestInstallation installed;
    installed.VersionText = "5-3.1.1.2";
    BuildInstallation(root_, installed);
    TestPayloadBuilder correction;
    correction.BaseVersion = "3.1.1.2";
    correction.NewVersion = "3.1.1.5";
    correction.AddSection();
    correction.AddFile(ADDREPL, "DATA\\new.txt", PatternBytes(300, 1));
    PlaceUpdater(correction);
    correction_ = true;
    PromptSteps prompts;  // 3009: the last question, answered No
    RunAndCheck(prompts);
}

TEST_F(FinishedRun, AfterAFailureTheWindowEndsWithTheProtocolFilesPath)
{
    TestInstallation older;
    older.VersionText = "5-3.0.9";
    BuildInstallation(root_, older);
    PlaceUpdater();
    PromptSteps prompts;  // 5013
    RunAndCheck(prompts);

    // A missing product executable (5009) and the product left running (5007) end the same way.
    RemoveTestFolder(root_);
    root_ = MakeTestFolder("qmt_finished_protocol");
    BuildInstallation(root_);
    ASSERT_TRUE(DeleteFile(root_ + "EXE\\qmt.exe"));
    PlaceUpdater();
    PromptSteps missing;  // 5009
    RunAndCheck(missing);

    RemoveTestFolder(root_);
    root_ = MakeTestFolder("qmt_finished_protocol");
    BuildInstallation(root_);
    PlaceUpdater();
    TNamedMutex product;
    ASSERT_TRUE(product.Create(ProductMutexName(root_ + "EXE\\qmt.exe")));
    PromptSteps running;
    running.Answer(idNo);  // 3007: stop waiting; then 5007
    RunAndCheck(running);
}

TEST_F(FinishedRun, AfterACancelInTheVariantDialogTheWindowEndsWithTheProtocolFilesPath)
{
    BuildInstallation(root_);
    PlaceUpdater();
    Application->CreateForm(Frm_SelKU);
    Frm_SelKU->SecurityProducts = [] { return AnsiString(); };
    PromptSteps prompts;
    prompts.OnDialog<TFrm_SelKU>([](TFrm_SelKU &dialog) { dialog.Btn_CancelClick(nullptr); });
    RunAndCheck(prompts);
}

TEST_F(FinishedRun, AfterARollbackTheWindowEndsWithTheProtocolFilesPath)
{
    // Rolled back, and the user wants no update now (3003 No).
    BuildInstallation(root_);
    PlaceUpdater();
    LeaveJournal();
    PromptSteps declined;
    declined.Answer(idYes);  // 3001; then 3003
    RunAndCheck(declined);

    // The rollback refused (3001 No, then 5003).
    LeaveJournal();
    PromptSteps refused;
    refused.Answer(idNo);
    RunAndCheck(refused);
}

namespace {

// How the items of a shown list box stand as the box drew them: each item from the top one in view to
// the last is drawn, its background the list's (or the selection's) and text on it. Read from the
// box's own pixels, not the screen, where another test program's window may lie over it.
std::vector<std::string> UndrawnItems(TListBox &box)
{
    std::vector<std::string> undrawn;
    const HWND list = box.Handle();
    for (int i = box.TopIndex(); i < box.Items()->Count(); ++i) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, WPARAM(i), LPARAM(&r));
        InflateRect(&r, -2, -2);  // inside the focus frame of the selected one
        const bool selected = i == box.ItemIndex();
        const uint32_t paper = selected ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_WINDOW);
        const uint32_t ink = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
        auto rgb = [](uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
        size_t onPaper = 0, inInk = 0;
        const std::vector<uint32_t> pixels = ClientPixels(list, r);
        for (uint32_t pixel : pixels) {
            onPaper += pixel == rgb(paper) ? 1 : 0;
            inInk += pixel == rgb(ink) ? 1 : 0;
        }
        if (pixels.empty() || onPaper < pixels.size() / 2 || inInk < 20)
            undrawn.push_back("item " + std::to_string(i) + ": " + std::to_string(onPaper) + " of " +
                              std::to_string(pixels.size()) + " pixels of its background, " + std::to_string(inInk) +
                              " of its text");
    }
    return undrawn;
}

// A test clock whose pauses of a second can look at the screen.
class LookingClock : public FakeClock {
public:
    void Sleep(unsigned milliseconds) override
    {
        FakeClock::Sleep(milliseconds);
        if (milliseconds == 1000 && onSecond)
            onSecond(++seconds);
    }
    std::function<void(int)> onSecond;
    int seconds = 0;
};

}  // namespace

TEST_F(FinishedRun, WhileTheRunWaitsForTheProductItsWindowIsDrawnWithEveryAttemptLine)
{
    BuildInstallation(root_);
    PlaceUpdater();
    TNamedMutex product;  // the product runs
    ASSERT_TRUE(product.Create(ProductMutexName(root_ + "EXE\\qmt.exe")));

    TForm1 form(nullptr);
    form.SelfPath = root_ + "qmtupdt.exe";
    // On the screen without taking the activation from another test program's window, and the run
    // started at once, as its activation starts it, before the window is drawn.
    form.HandleNeeded();
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    LookingClock clock;
    TClockOverride useClock(clock);
    std::vector<std::string> undrawn;
    int lines = 0;
    clock.onSecond = [&](int second) {
        if (second != 5)
            return;
        SaveScreenshot(form.Handle(), "updater_waiting_for_product");
        undrawn = UndrawnItems(*form.LsBx_Prot);
        lines = form.LsBx_Prot->Items()->Count();
    };
    PromptSteps prompts;
    prompts.Answer(idNo).Answer(idOk);  // 3007: stop waiting; 5007
    form.FormActivate(&form);
    EXPECT_EQ(0, prompts.unanswered);

    EXPECT_EQ(std::vector<std::string>{}, undrawn);
    ASSERT_GT(lines, 5);
    EXPECT_NE(AnsiString::npos, form.LsBx_Prot->Items()->Strings(lines - 1).find("Попытка 5 из 10"));
}
