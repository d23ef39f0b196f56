// Drives the form extender's caption button with real mouse input inside a Wine desktop (where windows
// have their frame and caption) and reports what it saw, one "name values..." line each, into the file
// named by its argument; the test that started it judges the lines. Saves pictures of the caption with
// the button raised and pressed, drawn with the visual styles as the system has them and drawn classic.
//
// captionbutton.exe RESULTFILE
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/ControlsRun.h"
#include "controls/UZFrmExr.h"
#include "framework/windows/Forms.h"
#include "framework/windows/NonClient.h"
#include "framework/graphics/Themes.h"
#include "tests/support/PointerInput.h"
#include "tests/support/WindowPicture.h"

namespace {
std::string report;

void Line(const char *format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    report += buffer;
    report += '\n';
}

// Moves the pointer and waits for the button to reach the state a move there should give it.
void MoveTo(const TPoint &screen, TFormExtender *extender, int expected)
{
    MovePointerUntil(screen, [&] { return extender->State() == expected; });
}

// Presses or releases on the point and waits until the press is taken (the mouse captured) or the
// release is (the capture gone).
void Button(bool down, const TPoint &screen, TFormExtender *extender)
{
    MovePointerTo(screen);
    PressLeftButton(down);
    PumpUntil([&] { return ((extender->State() & cbTracking) != 0) == down; });
}

// The button as drawn now, and again as drawn with the visual styles off.
void SaveBothLooks(TFormExtender *extender, const char *name)
{
    HWND window = extender->Form()->Handle();
    SaveScreenshot(window, name);
    TRecordingThemeLibrary classic(false);
    SetThemeLibrary(&classic);
    extender->DrawButton();
    PumpFor(200);  // what was drawn reaches the screen when the window system gets its turn
    SaveScreenshot(window, AnsiString(name) + "_classic");
    SetThemeLibrary(nullptr);
    extender->DrawButton();
}

intptr_t HitTest(HWND window, const TPoint &screen)
{
    return SendMessageW(window, WM_NCHITTEST, 0, PointToLParam(screen));
}
}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    TControlsRun run;
    TForm *form = new TForm(nullptr);
    form->SetCaption("Кнопка в заголовке");
    form->SetBounds(60, 50, 420, 220);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpFor(300);
    HWND window = form->Handle();
    TRect frame = WindowScreenRect(window);
    Line("window %d %d %d %d", frame.Left, frame.Top, frame.Right, frame.Bottom);
    Line("themes %d", ThemesActive());
    Line("metrics %d %d %d %d", Screen->SystemMetric(smCxFrame), Screen->SystemMetric(smCyFrame),
         Screen->SystemMetric(smCxSize), Screen->SystemMetric(smCySize));

    // Points of the frame by where the button will be, in window coordinates.
    TCaptionMetrics m{Screen->SystemMetric(smCxFrame), Screen->SystemMetric(smCyFrame), Screen->SystemMetric(smCxSize),
                      Screen->SystemMetric(smCySize)};
    TRect place = CaptionButtonRect(frame.Right - frame.Left, m);
    const TPoint probes[] = {
        Point((place.Left + place.Right) / 2, (place.Top + place.Bottom) / 2),
        Point(place.Left, place.Top),
        Point(place.Right - 1, place.Bottom - 1),
        Point(place.Left - 20, (place.Top + place.Bottom) / 2),
        Point(place.Right + 6, (place.Top + place.Bottom) / 2),
        Point(60, 80),
    };
    auto answers = [&] {
        std::string s;
        for (const TPoint &p : probes)
            s += " " + std::to_string(HitTest(window, Point(frame.Left + p.X, frame.Top + p.Y)));
        return s;
    };
    Line("plain%s", answers().c_str());

    auto *extender = new TFormExtender(form);
    int clicks = 0;
    extender->OnClick = [&](TObject *sender) { clicks += sender == extender ? 1 : 1000; };
    PumpFor(200);
    TRect r = extender->ButtonRect();
    Line("button %d %d %d %d", r.Left, r.Top, r.Right, r.Bottom);
    Line("extended%s", answers().c_str());

    const TPoint on = Point(frame.Left + (r.Left + r.Right) / 2, frame.Top + (r.Top + r.Bottom) / 2);
    const TPoint off = Point(frame.Left + r.Left - 60, on.Y);  // on the caption, left of the button
    const TPoint below = Point(on.X, frame.Top + 100);         // in the client area

    // The pointer over the button: hot; away: not.
    const int raised = cbVisible, hot = cbVisible | cbHover, held = cbVisible | cbTracking,
              pressed = cbVisible | cbHover | cbPressed | cbTracking;
    MoveTo(off, extender, raised);
    MoveTo(on, extender, hot);
    Line("hover %d", extender->State());
    SaveBothLooks(extender, "caption_button");
    MoveTo(off, extender, raised);
    Line("away %d", extender->State());

    // Pressed and released on the button.
    MoveTo(on, extender, hot);
    Button(true, on, extender);
    Line("pressed %d %d", extender->State(), MouseCapture() == window);
    SaveBothLooks(extender, "caption_button_pressed");
    Button(false, on, extender);
    Line("click %d %d %d", clicks, extender->State(), MouseCapture() == window);

    // Pressed, dragged off onto the caption and released there.
    clicks = 0;
    MoveTo(on, extender, hot);
    Button(true, on, extender);
    MoveTo(off, extender, held);
    Line("dragged-off %d", extender->State());
    Button(false, off, extender);
    Line("released-off %d %d %d", clicks, extender->State(), MouseCapture() == window);

    // Pressed, dragged off into the client area and back, released on the button.
    clicks = 0;
    MoveTo(on, extender, hot);
    Button(true, on, extender);
    MoveTo(below, extender, held);
    Line("dragged-below %d", extender->State());
    MoveTo(on, extender, pressed);
    Line("dragged-back %d", extender->State());
    Button(false, on, extender);
    Line("released-back %d %d %d", clicks, extender->State(), MouseCapture() == window);

    // Hidden: the frame answers as without the extender, and a press there is no click.
    extender->SetVisible(false);
    PumpFor(200);
    Line("hidden%s", answers().c_str());
    clicks = 0;
    MovePointerTo(on);
    PumpFor(200);
    Line("hidden-hover %d", extender->State());
    SaveScreenshot(window, "caption_button_hidden");

    delete extender;
    form->Free();
    PumpFor(100);

    FILE *f = std::fopen(argv[1], "wb");
    if (!f)
        return 3;
    std::fwrite(report.data(), 1, report.size(), f);
    return std::fclose(f) == 0 ? 0 : 3;
}
