// The controls demonstration shown without a person: starts the demonstration program inside a Wine
// desktop of its own and works it as a user does (the language switched, a question answered, a table
// cell edited), saving a picture of the screen after each step.
//   controls_tour.exe FOLDER
// The pictures go to FOLDER (which must exist) as NN_WHAT.bmp, the program's event log as events.log.
// Each step is told on the standard output. Exit code 0 when every step went as it should, 1 when
// one did not (told on the standard error), 2 for wrong arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "base/messages/MessagePresenter.h"
#include "framework/runtime/Cp1251.h"
#include "tests/e2e/DemoUser.h"
#include "tests/e2e/controls_demo/DemoProduct.h"
#include "tests/support/UpdaterRun.h"

namespace {

class TTour {
public:
    explicit TTour(const AnsiString &folder) : folder_(folder) {}

    // One step: told, and on failure the reason.
    bool Step(bool done, const char *what)
    {
        if (!done)
            std::fprintf(stderr, "controls tour: %s failed: %s\n", what, Utf8(user.Failure()).c_str());
        return done;
    }
    // The screen as it stands, moved from the clicker's screenshots into the tour's folder.
    bool Picture(const AnsiString &name)
    {
        const AnsiString shot = "controls_tour_" + name;
        if (!user.Shot(shot))
            return Step(false, "a picture");
        const std::wstring from = Cp1251ToWide(QMT_SCREENSHOT_DIR "\\" + shot + ".bmp");
        char number[8];
        std::snprintf(number, sizeof number, "%02d_", ++pictures_);
        const std::wstring to = Cp1251ToWide(folder_ + "\\" + number + name + ".bmp");
        if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
            return Step(false, "moving a picture");
        return true;
    }
    bool Press(const AnsiString &caption)
    {
        return Step(user.ClickOn(ByText("Button", caption)), Utf8(caption).c_str());
    }

    bool Run()
    {
        std::printf("The demonstration's form, in Ukrainian.\n");
        if (!Step(user.Start(), "starting the demonstration") || !Picture("form_in_ukrainian"))
            return false;

        std::printf("The language button pressed: every caption, the table's too, in Russian.\n");
        if (!Press("Мова: українська") || !Step(user.Window("Элементы управления").Width() > 0, "the switch") ||
            !Step(user.WaitLog("language btLanguage rus"), "the switch") || !Picture("form_in_russian"))
            return false;

        std::printf("A question asked and answered No.\n");
        if (!Press("Вопрос") || !Step(user.Window(MessageHeader(MsgKindQuestion, true)).Width() > 0, "the question") ||
            !Picture("question_in_russian") || !Press("Нет") ||
            !Step(user.WaitLog("answer btQuestion no"), "the answer"))
            return false;

        std::printf("A number cell of the table edited in place: 12 becomes 42.\n");
        user.Window("");
        const TRect table = user.Client(TControlSpec{"below", "QmtWindow", "Таблица", 0, true});
        const testdata::GridScreenBuilder screen = DemoScreen();
        int x = table.Left, y = table.Top;
        for (int c = 0; c < DemoCol::Values; ++c)
            x += screen.widths[c] + 1;
        for (int r = 0; r < DemoRow::Number; ++r)
            y += screen.heights[r] + 1;
        x += screen.widths[DemoCol::Values] - 6;
        y += screen.heights[DemoRow::Number] / 2;
        if (!Step(table.Width() > 0, "finding the table") || !Step(user.DoubleClick(x, y), "opening the editor") ||
            !Step(user.Popup().Width() > 0, "opening the editor") ||
            !Step(user.Keys({"END", "BACK", "BACK"}) && user.Type("42"), "typing") ||
            !Picture("table_cell_in_its_editor") || !Step(user.Keys({"RETURN"}), "Enter") ||
            !Step(user.WaitLog("edited gtSheet " + std::to_string(DemoRow::Number) + "," +
                               std::to_string(DemoCol::Values) + " 42"),
                  "the edit") ||
            !Picture("table_cell_edited"))
            return false;

        std::printf("The form closed.\n");
        return Step(user.Close() == 0, "closing the demonstration");
    }

    TDemoUser user;

private:
    AnsiString folder_;
    int pictures_ = 0;
};

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2)
        return 2;
    const AnsiString folder = WideToCp1251(argv[1]);
    bool ok;
    std::vector<AnsiString> log;
    {
        TTour tour(folder);
        ok = tour.Run();
        log = tour.user.Log();
    }
    std::fflush(stdout);
    if (FILE *f = _wfopen(Cp1251ToWide(folder + "\\events.log").c_str(), L"wb")) {
        for (const AnsiString &line : log)
            std::fprintf(f, "%s\n", Utf8(line).c_str());
        std::fclose(f);
    }
    return ok ? 0 : 1;
}
