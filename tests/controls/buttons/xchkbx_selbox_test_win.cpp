// The painted check box and the selection box on real windows, with input through the window system,
// and their drawing on the recording canvas, classic and themed.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/buttons/UZSelBox.h"
#include "controls/buttons/uXChkBx.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/RecordingCanvas.h"
#include "framework/graphics/Themes.h"
#include "tests/support/FormHost.h"
#include "tests/support/WindowPicture.h"

namespace {
void Pump()
{
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

// Input goes through the control's message queue and the window procedure, as the system delivers
// it: posted rather than sent through the screen, so that another test program's window in front
// cannot take it.
void SendKey(TWinControl *control, WORD key, bool up)
{
    PostMessageW(control->Handle(), up ? WM_KEYUP : WM_KEYDOWN, key, up ? static_cast<LPARAM>(0xC0000001u) : 1);
    Pump();
}

void Press(TWinControl *control, WORD key)
{
    SendKey(control, key, false);
    SendKey(control, key, true);
}

void MoveTo(TWinControl *control, int x, int y)
{
    PostMessageW(control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    Pump();
}

void Button(TWinControl *control, bool down, int x, int y)
{
    PostMessageW(control->Handle(), down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    Pump();
}

// A left click at a point of the control's client area, its messages queued together.
void ClickAt(TWinControl *control, int x, int y)
{
    HWND window = control->Handle();
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

bool NeedsPaint(TWinControl *control) { return GetUpdateRect(control->Handle(), nullptr, FALSE) != 0; }

// A shown form at the screen's top left with controls on it, in front and active.
struct ShownForm : FormHost {
    ShownForm()
    {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 420, 260);
        form->Show();
    }
    void Activate()
    {
        SetForegroundWindow(form->Handle());
        Pump();
    }
};

// Puts a recording theme library in place for one test.
struct StandIn {
    explicit StandIn(bool active) : library(active) { SetThemeLibrary(&library); }
    ~StandIn() { SetThemeLibrary(nullptr); }
    TRecordingThemeLibrary library;
};
}  // namespace

// ---- the check box ----------------------------------------------------------------------------------

TEST(XCheckBox, StartsUncheckedWithItsBoxAndTextRectangles)
{
    FormHost host;
    auto *box = host.Add<TXCheckBox>();
    EXPECT_EQ(98, box->Width());
    EXPECT_EQ(18, box->Height());
    EXPECT_TRUE(box->TabStop());
    EXPECT_TRUE(box->ParentColor());
    EXPECT_TRUE(box->ShowBorder());
    EXPECT_FALSE(box->Autosize());
    EXPECT_EQ(cbUnchecked, box->State());
    EXPECT_EQ(Rect(2, 3, 15, 16), box->BoxRect());  // centred on the text's 12 pixels
    EXPECT_EQ(Rect(19, 3, 94, 15), box->TextRect());
    EXPECT_EQ(Rect(16, 2, 96, 16), box->BorderRect());
    box->SetBounds(0, 0, 98, 30);
    EXPECT_EQ(Rect(2, 8, 15, 21), box->BoxRect());
    box->SetWrapping(true);
    EXPECT_EQ(Rect(2, 3, 15, 16), box->BoxRect());
    EXPECT_EQ(Rect(4, 3, 94, 27), box->TextRect());
    // Two-language caption and hint.
    box->CaptionL()->SetLRus("Печать");
    box->CaptionL()->SetLUkr("Друк");
    box->CaptionL()->SetLang(elg_Rus);
    EXPECT_EQ("Печать", box->Caption());
}

TEST(XCheckBox, StateCheckedAndToggleTellOnCheckOnceAGrayedBoxTurnsCheckedSilentlyAndIsRedrawn)
{
    ShownForm f;
    auto *box = f.Add<TXCheckBox>();
    int checks = 0;
    box->OnCheck = [&](TObject *sender) {
        EXPECT_EQ(box, sender);
        ++checks;
    };
    box->SetChecked(true);
    EXPECT_TRUE(box->GetChecked());
    box->SetChecked(true);  // no change, no event
    EXPECT_EQ(1, checks);
    box->Toggle();
    EXPECT_EQ(cbUnchecked, box->State());
    EXPECT_EQ(2, checks);
    box->SetState(cbGrayed);
    EXPECT_EQ(3, checks);
    EXPECT_FALSE(box->Checked());
    Pump();
    UpdateWindow(box->Handle());
    ASSERT_FALSE(NeedsPaint(box));
    box->Toggle();
    EXPECT_EQ(cbChecked, box->State());
    EXPECT_EQ(3, checks);
    EXPECT_TRUE(NeedsPaint(box));
}

TEST(XCheckBox, SpaceTogglesAndAClickTogglesOnlyOnTheBox)
{
    ShownForm f;
    auto *box = f.Add<TXCheckBox>();
    box->SetBounds(20, 20, 200, 24);
    box->SetCaption("Создать резервную копию");
    int checks = 0;
    box->OnCheck = [&](TObject *) { ++checks; };
    f.Activate();

    // A click on the caption focuses the box and leaves it as it was.
    ClickAt(box, 120, 12);
    if (GetForegroundWindow() == f.form->Handle()) {  // another test program may hold the screen's input
        EXPECT_TRUE(box->Focused());
    }
    EXPECT_EQ(cbUnchecked, box->State());
    EXPECT_EQ(0, checks);
    // A click on the box toggles it.
    const TRect r = box->BoxRect();
    ClickAt(box, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(cbChecked, box->State());
    EXPECT_EQ(1, checks);

    Press(box, VK_SPACE);
    Pump();
    EXPECT_EQ(cbUnchecked, box->State());
    EXPECT_EQ(2, checks);
    // Grayed and Space: checked without OnCheck.
    box->SetState(cbGrayed);
    checks = 0;
    Press(box, VK_SPACE);
    Pump();
    EXPECT_EQ(cbChecked, box->State());
    EXPECT_EQ(0, checks);
}

TEST(XCheckBox, AutosizeGrowsTheControlToHoldAWrappedCaptionAndResizeKeepsIt)
{
    ShownForm f;
    auto *box = f.Add<TXCheckBox>();
    box->SetBounds(10, 10, 120, 18);
    box->SetCaption("Резервные копии изменённых файлов: СохранятьВсеПредыдущиеВерсииКаждогоФайла");
    box->SetAutosize(true);
    const int width = box->Width(), height = box->Height();
    EXPECT_GT(width, 120);  // the long word
    EXPECT_GT(height, 18);  // the wrapped lines
    // Measured at the width it took: the first line and the long word, two lines.
    EXPECT_EQ(2 * box->Canvas()->TextHeight("W") + 6, height);
    EXPECT_EQ(width - 4, box->TextRect().Right);
    EXPECT_EQ(height - 3, box->TextRect().Bottom);
    // The size holds the whole caption: measuring again grows nothing.
    box->LayoutText();
    EXPECT_EQ(width, box->Width());
    EXPECT_EQ(height, box->Height());
    // A resize of the window lays the rectangles out again over the grown size.
    box->Perform(WM_SIZE, 0, MAKELPARAM(width, height));
    EXPECT_EQ(width, box->Width());
    EXPECT_EQ(height, box->Height());
    EXPECT_EQ(width - 4, box->TextRect().Right);
    // Painting lays the text out too (the caption changed).
    box->SetCaption(box->Caption() + " и ещё несколько слов для второй строки");
    Pump();
    UpdateWindow(box->Handle());
    EXPECT_GT(box->Height(), height);
}

TEST(XCheckBox, ClassicBoxStatesAreFrameControlsThemedOnesTheCheckBoxElement)
{
    FormHost host;
    auto *box = host.Add<TXCheckBox>();
    box->SetCaption("Печать");
    struct Case {
        TCheckBoxState state;
        bool enabled;
        unsigned classic;
        TThemeElement themed;
    };
    const Case cases[] = {
        {cbUnchecked, true, 0x000, CheckBoxElement(tcUnchecked, tsNormal)},
        {cbChecked, true, 0x400, CheckBoxElement(tcChecked, tsNormal)},
        {cbGrayed, true, 0x408, CheckBoxElement(tcMixed, tsNormal)},
        {cbUnchecked, false, 0x100, CheckBoxElement(tcUnchecked, tsDisabled)},
        {cbChecked, false, 0x500, CheckBoxElement(tcChecked, tsDisabled)},
        {cbGrayed, false, 0x508, CheckBoxElement(tcMixed, tsDisabled)},
    };
    for (const Case &c : cases) {
        box->SetState(c.state);
        box->SetEnabled(c.enabled);
        {
            StandIn classic(false);
            TRecordingCanvas canvas;
            box->PaintOn(canvas);
            auto frames = canvas.CallsOf("DrawFrameControl");
            ASSERT_EQ(1u, frames.size());
            EXPECT_EQ(DFC_BUTTON, frames[0].Kind);
            EXPECT_EQ(c.classic, frames[0].Flags);
            EXPECT_EQ(box->BoxRect(), frames[0].Rect);
            // The border as an etched edge, the caption in grey when disabled.
            auto edges = canvas.CallsOf("DrawEdge");
            ASSERT_EQ(1u, edges.size());
            EXPECT_EQ(EDGE_ETCHED, edges[0].Kind);
            auto texts = canvas.CallsOf("TextOut");
            ASSERT_EQ(1u, texts.size());
            EXPECT_EQ("Печать", texts[0].Text);
            EXPECT_EQ(c.enabled ? clWindowText : clGrayText, texts[0].FontColor);
        }
        StandIn themed(true);
        TRecordingCanvas canvas;
        box->PaintOn(canvas);
        auto draws = themed.library.CallsOf("DrawBackground");
        ASSERT_EQ(2u, draws.size());  // the border, then the box
        EXPECT_EQ(GroupBoxElement(c.enabled).Part, draws[0].Part);
        EXPECT_EQ(c.themed.Part, draws[1].Part);
        EXPECT_EQ(c.themed.State, draws[1].State);
        EXPECT_EQ(box->BoxRect(), draws[1].Rect);
        EXPECT_TRUE(canvas.CallsOf("DrawFrameControl").empty());
    }
    // No border: no edge.
    box->SetShowBorder(false);
    StandIn classic(false);
    TRecordingCanvas canvas;
    box->PaintOn(canvas);
    EXPECT_TRUE(canvas.CallsOf("DrawEdge").empty());
}

TEST(XCheckBox, AFocusedBoxDrawsTheFocusFrameRoundTheBorderWhichTakesInTheBoxUnderAWrappedCaption)
{
    ShownForm f;
    auto *box = f.Add<TXCheckBox>();
    box->SetBounds(10, 10, 120, 60);
    box->SetWrapping(true);
    box->SetCaption("Одна строка");
    // The focus as the window receives it, whichever program holds the screen's input.
    SendMessageW(box->Handle(), WM_SETFOCUS, 0, 0);
    StandIn classic(false);
    TRecordingCanvas canvas;
    box->PaintOn(canvas);
    auto focus = canvas.CallsOf("DrawFocusRect");
    ASSERT_EQ(1u, focus.size());
    EXPECT_EQ(box->BorderRect(), focus[0].Rect);
    EXPECT_EQ(box->BoxRect().Right + 1, box->BorderRect().Left);

    box->SetCaption("Первая строка подписи и вторая строка подписи под флажком");
    canvas.ClearCalls();
    box->PaintOn(canvas);
    EXPECT_EQ(box->BoxRect().Left - 2, box->BorderRect().Left);
    auto texts = canvas.CallsOf("TextOut");
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(box->BoxRect().Right + 4, texts[0].X);  // beside the box
    EXPECT_EQ(box->TextRect().Left, texts[1].X);      // under it

    SendMessageW(box->Handle(), WM_KILLFOCUS, 0, 0);
    canvas.ClearCalls();
    box->PaintOn(canvas);
    EXPECT_TRUE(canvas.CallsOf("DrawFocusRect").empty());
}

// ---- the selection box -------------------------------------------------------------------------------

TEST(ZSelBox, StartsWithItsSizeColoursAndAreas)
{
    StandIn classic(false);
    FormHost host;
    auto *sel = host.Add<TZSelBox>();
    EXPECT_EQ(145, sel->Width());
    EXPECT_EQ(34, sel->Height());
    EXPECT_TRUE(sel->TabStop());
    EXPECT_FALSE(sel->ParentColor());
    EXPECT_EQ(clWindow, sel->Color());
    EXPECT_EQ(clWindowText, sel->Font()->Color());
    EXPECT_EQ(Rect(0, 0, 145, 34), sel->FrameRect());
    EXPECT_EQ(Rect(126, 2, 143, 32), sel->ButtonRect());
    EXPECT_EQ(Rect(4, 2, 126, 32), sel->TextArea());
    sel->SetBounds(0, 0, 200, 24);
    EXPECT_EQ(Rect(181, 2, 198, 22), sel->ButtonRect());
    StandIn themed(true);
    sel->SetBounds(0, 0, 200, 25);
    EXPECT_TRUE(sel->Themed());
    EXPECT_EQ(Rect(182, 1, 199, 24), sel->ButtonRect());
}

TEST(ZSelBox, TheTextIsAlsoTheHintInTwoLanguages)
{
    FormHost host;
    auto *sel = host.Add<TZSelBox>();
    sel->SetText("x");
    EXPECT_EQ("x", sel->Hint());
    sel->HintL()->SetLRus("Выбрать");
    sel->HintL()->SetLUkr("Вибрати");
    sel->HintL()->SetLang(elg_Rus);
    EXPECT_EQ("Выбрать", sel->Hint());
    EXPECT_EQ("x", sel->Text());
}

namespace {
// A shown selection box of 160 x 26 (its button from x 141) that counts its selections.
struct SelBoxForm : ShownForm {
    SelBoxForm() : sel(Add<TZSelBox>())
    {
        sel->SetBounds(20, 20, 160, 26);
        sel->OnSelect = [this](TObject *sender) {
            EXPECT_EQ(sel, sender);
            ++selects;
        };
        Activate();
    }
    TZSelBox *sel;
    int selects = 0;
};
}  // namespace

TEST(ZSelBox, EnterDownAndUpSelectsOnceAndAClickSelectsOnceThroughTheWindowSystem)
{
    SelBoxForm f;
    TZSelBox *sel = f.sel;
    int &selects = f.selects;
    sel->SetText("Файл");
    sel->SetFocus();
    Pump();

    SendKey(sel, VK_RETURN, false);
    Pump();
    EXPECT_TRUE(sel->Pressed());
    EXPECT_EQ(0, selects);
    SendKey(sel, VK_RETURN, true);
    Pump();
    EXPECT_FALSE(sel->Pressed());
    EXPECT_EQ(1, selects);
    // A key that does not press the box selects nothing.
    Press(sel, 'A');
    Pump();
    EXPECT_EQ(1, selects);

    ClickAt(sel, 150, 13);
    EXPECT_EQ(2, selects);
    EXPECT_FALSE(sel->Pressed());
    // Hot while the mouse is over the button (the move handled at once: the pointer of the screen is
    // elsewhere, and the leave the system reports for it clears the hot state too).
    SendMessageW(sel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 13));
    EXPECT_TRUE(sel->Hot());
    SendMessageW(sel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 13));
    EXPECT_FALSE(sel->Hot());
}

TEST(ZSelBox, ADisabledBoxIgnoresKeysAndClicks)
{
    SelBoxForm f;
    TZSelBox *sel = f.sel;
    sel->SetEnabled(false);
    Pump();
    ClickAt(sel, 150, 13);
    Press(sel, VK_RETURN);
    Pump();
    // Straight to its handlers, past the window system that keeps input from a disabled window.
    uint16_t key = VK_RETURN;
    sel->InnerKeyDown(sel, key, 0);
    sel->InnerMouseDown(sel, mbLeft, 0, 150, 13);
    EXPECT_FALSE(sel->Pressed());
    sel->InnerKeyUp(sel, key, 0);
    sel->InnerMouseUp(sel, mbLeft, 0, 150, 13);
    EXPECT_EQ(0, f.selects);
}

TEST(ZSelBox, AnApplicationsMouseDownHandlerReplacesThePressThroughTheWindowSystem)
{
    SelBoxForm f;
    TZSelBox *sel = f.sel;
    int &selects = f.selects;
    int downs = 0;
    sel->OnMouseDown = [&](TObject *, TMouseButton, TShiftState, int, int) { ++downs; };
    ClickAt(sel, 150, 13);
    EXPECT_EQ(1, downs);
    EXPECT_FALSE(sel->Pressed());
    EXPECT_EQ(0, selects);
    // A press released away from the box is taken back.
    sel->OnMouseDown = [sel](TObject *s, TMouseButton b, TShiftState sh, int x, int y) {
        sel->InnerMouseDown(s, b, sh, x, y);
    };
    MoveTo(sel, 150, 13);
    Button(sel, true, 150, 13);
    EXPECT_TRUE(sel->Pressed());
    MoveTo(sel, 300, 150);
    Button(sel, false, 300, 150);
    EXPECT_FALSE(sel->Pressed());
    EXPECT_EQ(0, selects);
}

TEST(ZSelBox, ClassicAndThemedDrawingFollowTheState)
{
    FormHost host;
    auto *sel = host.Add<TZSelBox>();
    sel->SetText("Файл");
    {
        StandIn classic(false);
        TRecordingCanvas canvas;
        sel->PaintOn(canvas);
        auto frames = canvas.CallsOf("DrawFrameControl");
        ASSERT_EQ(1u, frames.size());
        EXPECT_EQ(DFC_SCROLL, frames[0].Kind);
        EXPECT_EQ(DFCS_SCROLLCOMBOBOX, frames[0].Flags);
        EXPECT_EQ(sel->ButtonRect(), frames[0].Rect);
        auto edges = canvas.CallsOf("DrawEdge");
        ASSERT_EQ(1u, edges.size());
        EXPECT_EQ(EDGE_SUNKEN, edges[0].Kind);
        EXPECT_EQ(BF_RECT | BF_ADJUST, edges[0].Flags);
        auto texts = canvas.CallsOf("DrawText");
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ("Файл", texts[0].Text);
        EXPECT_EQ(0xA24u, texts[0].Flags);
        EXPECT_EQ(sel->TextArea(), texts[0].Rect);

        sel->InnerMouseDown(sel, mbLeft, 0, 5, 5);
        canvas.ClearCalls();
        sel->PaintOn(canvas);
        EXPECT_EQ(DFCS_SCROLLCOMBOBOX | DFCS_PUSHED, canvas.CallsOf("DrawFrameControl").at(0).Flags);
        sel->InnerMouseUp(sel, mbLeft, 0, 5, 5);

        sel->SetEnabled(false);
        canvas.ClearCalls();
        sel->PaintOn(canvas);
        EXPECT_EQ(DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE, canvas.CallsOf("DrawFrameControl").at(0).Flags);
        EXPECT_EQ(clGrayText, canvas.CallsOf("DrawText").at(0).FontColor);
        sel->SetEnabled(true);
    }
    StandIn themed(true);
    TRecordingCanvas canvas;
    sel->PaintOn(canvas);
    auto draws = themed.library.CallsOf("DrawBackground");
    ASSERT_EQ(2u, draws.size());
    EXPECT_EQ(ComboBoxFrameElement(tfsNormal).Part, draws[0].Part);
    EXPECT_EQ(tfsNormal, draws[0].State);
    EXPECT_EQ(sel->FrameRect(), draws[0].Rect);
    EXPECT_EQ(ComboDropButtonElement(tsNormal).Part, draws[1].Part);
    EXPECT_EQ(tsNormal, draws[1].State);
    EXPECT_TRUE(canvas.CallsOf("DrawFrameControl").empty());

    sel->InnerMouseDown(sel, mbLeft, 0, 5, 5);
    themed.library.ClearCalls();
    sel->PaintOn(canvas);
    draws = themed.library.CallsOf("DrawBackground");
    EXPECT_EQ(tfsFocused, draws.at(0).State);
    EXPECT_EQ(tsPressed, draws.at(1).State);
    sel->InnerMouseUp(sel, mbLeft, 0, 5, 5);

    sel->SetEnabled(false);
    themed.library.ClearCalls();
    sel->PaintOn(canvas);
    draws = themed.library.CallsOf("DrawBackground");
    EXPECT_EQ(tfsDisabled, draws.at(0).State);
    EXPECT_EQ(tsDisabled, draws.at(1).State);
}

// ---- both on a form -----------------------------------------------------------------------------------

namespace {
void PictureOfBoth(const char *name)
{
    ShownForm f;
    f.form->SetColor(clBtnFace);
    auto place = [&](auto *c, int left, int top, int width, int height) {
        c->SetBounds(left, top, width, height);
        return c;
    };
    auto *on = place(f.Add<TXCheckBox>(), 16, 16, 180, 24);
    on->SetCaption("Создать резервную копию");
    on->SetChecked(true);
    auto *wrapped = place(f.Add<TXCheckBox>(), 16, 50, 180, 70);
    wrapped->SetWrapping(true);
    wrapped->SetCaption("Сохранять копии всех изменённых файлов до конца обновления");
    wrapped->SetState(cbGrayed);
    auto *off = place(f.Add<TXCheckBox>(), 216, 16, 180, 24);
    off->SetCaption("Только изменённые файлы");
    off->SetChecked(true);
    off->SetEnabled(false);
    auto *offWrapped = place(f.Add<TXCheckBox>(), 216, 50, 180, 70);
    offWrapped->SetWrapping(true);
    offWrapped->SetShowBorder(false);
    offWrapped->SetCaption("Без рамки: подпись обтекает флажок и занимает место под ним");
    offWrapped->SetEnabled(false);
    auto *sel = place(f.Add<TZSelBox>(), 16, 140, 180, 26);
    sel->SetText("Папка установки");
    auto *selOff = place(f.Add<TZSelBox>(), 216, 140, 180, 26);
    selOff->SetText("Недоступно");
    selOff->SetEnabled(false);
    auto *focused = place(f.Add<TZSelBox>(), 16, 190, 180, 26);
    focused->SetText("В фокусе");
    f.Activate();
    focused->SetFocus();
    Pump();
    UpdateWindow(f.form->Handle());
    EXPECT_TRUE(SaveScreenshot(f.form->Handle(), name));
}
}  // namespace

TEST(XCheckBoxAndSelBox, PictureOfBothEnabledAndDisabled)
{
    // With the system's visual styles where it has them, and drawn the classic way.
    PictureOfBoth("xcheckbox_selbox");
    StandIn classic(false);
    PictureOfBoth("xcheckbox_selbox_classic");
}
