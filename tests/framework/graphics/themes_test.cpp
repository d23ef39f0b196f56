// Themed and classic drawing of elements, through the recording theme library and the recording canvas.
#include <gtest/gtest.h>

#include "framework/graphics/RecordingCanvas.h"
#include "framework/graphics/Themes.h"

namespace {
// Puts a recording library in place for one test.
struct StandIn {
    explicit StandIn(bool active) : library(active) { SetThemeLibrary(&library); }
    ~StandIn() { SetThemeLibrary(nullptr); }
    TRecordingThemeLibrary library;
};

const TRect kBox = Rect(10, 20, 110, 45);
}  // namespace

TEST(Themes, ElementsCarryTheLibrarysPartAndStateNumbers)
{
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 1, 1}), PushButtonElement(tsNormal));
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 1, 5}), PushButtonElement(tsDefaulted));
    // Check boxes: four states for each of unchecked, checked and mixed; "defaulted" counts as normal.
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 3, 1}), CheckBoxElement(tcUnchecked, tsNormal));
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 3, 7}), CheckBoxElement(tcChecked, tsPressed));
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 3, 12}), CheckBoxElement(tcMixed, tsDisabled));
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 3, 5}), CheckBoxElement(tcChecked, tsDefaulted));
    EXPECT_EQ((TThemeElement{TThemeClass::ComboBox, 4, 3}), ComboBoxFrameElement(tfsFocused));
    EXPECT_EQ((TThemeElement{TThemeClass::ComboBox, 1, 2}), ComboDropButtonElement(tsHot));
    EXPECT_EQ((TThemeElement{TThemeClass::Window, 23, 3}), CaptionButtonElement(tcbHelp, tsPressed));
    EXPECT_EQ((TThemeElement{TThemeClass::Window, 18, 1}), CaptionButtonElement(tcbClose, tsNormal));
    EXPECT_EQ((TThemeElement{TThemeClass::Window, 15, 4}), CaptionButtonElement(tcbMinimize, tsDisabled));
    EXPECT_STREQ("COMBOBOX", ThemeClassName(TThemeClass::ComboBox));
}

TEST(Themes, ActiveStylesDrawTheElementThroughTheLibraryAndCloseWhatTheyOpen)
{
    StandIn themes(true);
    EXPECT_TRUE(ThemesActive());
    TRecordingCanvas canvas;
    DrawElement(canvas, PushButtonElement(tsHot), kBox);
    DrawElement(canvas, CaptionButtonElement(tcbHelp, tsPressed), Rect(0, 0, 16, 14));
    auto draws = themes.library.CallsOf("DrawBackground");
    ASSERT_EQ(2u, draws.size());
    EXPECT_EQ(TThemeClass::Button, draws[0].Class);
    EXPECT_EQ(1, draws[0].Part);
    EXPECT_EQ(tsHot, draws[0].State);
    EXPECT_EQ(kBox, draws[0].Rect);
    EXPECT_EQ(TThemeClass::Window, draws[1].Class);
    EXPECT_EQ(23, draws[1].Part);
    EXPECT_EQ(2u, themes.library.CallsOf("Open").size());
    EXPECT_EQ(0, themes.library.OpenCount());
    // Nothing was drawn the classic way.
    EXPECT_TRUE(canvas.Calls().empty());

    themes.library.SetContentInset(4);
    EXPECT_EQ(Rect(14, 24, 106, 41), ElementContentRect(canvas, PushButtonElement(tsNormal), kBox));
    canvas.Font()->SetHeight(-10);
    TRect text = ElementTextExtent(canvas, PushButtonElement(tsNormal), "Сохранить", dtLeft, kBox);
    EXPECT_EQ(Rect(10, 20, 10 + 9 * 5, 30), text);
    auto measured = themes.library.CallsOf("TextExtent");
    ASSERT_EQ(1u, measured.size());
    EXPECT_EQ("Сохранить", measured[0].Text);
    EXPECT_EQ(0, themes.library.OpenCount());
}

TEST(Themes, InactiveStylesDrawClassicFrameControlsInTheStatesAsked)
{
    StandIn themes(false);
    EXPECT_FALSE(ThemesActive());
    TRecordingCanvas canvas;
    struct Case {
        TThemeElement element;
        unsigned kind, state;
    } cases[] = {
        {PushButtonElement(tsNormal), DFC_BUTTON, DFCS_BUTTONPUSH},
        {PushButtonElement(tsPressed), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED},
        {PushButtonElement(tsDisabled), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_INACTIVE},
        {PushButtonElement(tsDefaulted), DFC_BUTTON, DFCS_BUTTONPUSH},
        {CheckBoxElement(tcUnchecked, tsNormal), DFC_BUTTON, DFCS_BUTTONCHECK},
        {CheckBoxElement(tcChecked, tsNormal), DFC_BUTTON, DFCS_CHECKED},
        {CheckBoxElement(tcMixed, tsHot), DFC_BUTTON, DFCS_CHECKED | DFCS_BUTTON3STATE},
        {CheckBoxElement(tcUnchecked, tsDisabled), DFC_BUTTON, DFCS_INACTIVE},
        {CheckBoxElement(tcChecked, tsDisabled), DFC_BUTTON, DFCS_CHECKED | DFCS_INACTIVE},
        {CheckBoxElement(tcMixed, tsDisabled), DFC_BUTTON, DFCS_CHECKED | DFCS_BUTTON3STATE | DFCS_INACTIVE},
        {ComboDropButtonElement(tsNormal), DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
        {ComboDropButtonElement(tsPressed), DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_PUSHED},
        {ComboDropButtonElement(tsDisabled), DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE},
        {CaptionButtonElement(tcbHelp, tsNormal), DFC_CAPTION, DFCS_CAPTIONHELP},
        {CaptionButtonElement(tcbHelp, tsPressed), DFC_CAPTION, DFCS_CAPTIONHELP | DFCS_PUSHED},
        {CaptionButtonElement(tcbClose, tsDisabled), DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE},
        {CaptionButtonElement(tcbRestore, tsHot), DFC_CAPTION, DFCS_CAPTIONRESTORE},
    };
    for (const Case &c : cases) {
        canvas.ClearCalls();
        DrawElement(canvas, c.element, kBox);
        ASSERT_EQ(1u, canvas.Calls().size());
        const TCanvasCall &call = canvas.Calls()[0];
        EXPECT_EQ("DrawFrameControl", call.Op);
        EXPECT_EQ(c.kind, call.Kind) << c.element.Part << "/" << c.element.State;
        EXPECT_EQ(c.state, call.Flags) << c.element.Part << "/" << c.element.State;
        EXPECT_EQ(kBox, call.Rect);
    }
    // A combo box's frame is a sunken edge.
    canvas.ClearCalls();
    DrawElement(canvas, ComboBoxFrameElement(tfsFocused), kBox);
    ASSERT_EQ(1u, canvas.CallsOf("DrawEdge").size());
    EXPECT_EQ(EDGE_SUNKEN, canvas.Calls()[0].Kind);
    EXPECT_EQ(BF_RECT, canvas.Calls()[0].Flags);
    // The library was never asked to draw.
    EXPECT_TRUE(themes.library.Calls().empty());

    // Content goes inside the classic frame; text is measured by the canvas.
    EXPECT_EQ(Rect(12, 22, 108, 43), ElementContentRect(canvas, PushButtonElement(tsNormal), kBox));
    EXPECT_EQ(kBox, ElementContentRect(canvas, ComboDropButtonElement(tsNormal), kBox));
    canvas.Font()->SetHeight(-10);
    EXPECT_EQ(Rect(10, 20, 30, 30), ElementTextExtent(canvas, PushButtonElement(tsNormal), "ЩЙоQ", 0, kBox));
    EXPECT_TRUE(themes.library.Calls().empty());
}

TEST(Themes, TheSystemLibraryComesBackWhenTheStandInGoes)
{
    TThemeLibrary *system = &SystemThemeLibrary();
    {
        StandIn themes(true);
        EXPECT_EQ(&themes.library, &ThemeLibrary());
    }
    EXPECT_EQ(system, &ThemeLibrary());
    // Styles on but no theme data for the class: the element is drawn the classic way.
    struct TNoData : TRecordingThemeLibrary {
        TThemeHandle Open(HWND, TThemeClass) override { return nullptr; }
    } noData;
    SetThemeLibrary(&noData);
    TRecordingCanvas canvas;
    DrawElement(canvas, CheckBoxElement(tcChecked, tsNormal), kBox);
    SetThemeLibrary(nullptr);
    EXPECT_EQ(1u, canvas.CallsOf("DrawFrameControl").size());
    EXPECT_TRUE(noData.CallsOf("DrawBackground").empty());
}

TEST(RecordingCanvas, ClassicDrawingIsRecordedAndAdjustsTheRectangle)
{
    TRecordingCanvas canvas;
    TRect r = Rect(0, 0, 50, 20);
    canvas.DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_EQ(Rect(0, 0, 50, 20), r);
    canvas.DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(Rect(2, 2, 48, 18), r);
    r = Rect(0, 0, 50, 20);
    canvas.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(Rect(2, 2, 48, 18), r);
    canvas.DrawEdge(r, BDR_RAISEDINNER, BF_LEFT | BF_BOTTOM | BF_ADJUST);
    EXPECT_EQ(Rect(3, 2, 48, 17), r);
    canvas.DrawFocusRect(Rect(1, 1, 9, 9));
    canvas.SetTextJustification(7, 3);
    auto edges = canvas.CallsOf("DrawEdge");
    ASSERT_EQ(2u, edges.size());
    EXPECT_EQ(EDGE_SUNKEN, edges[0].Kind);
    EXPECT_EQ(BF_RECT | BF_ADJUST, edges[0].Flags);
    EXPECT_EQ(Rect(0, 0, 50, 20), edges[0].Rect);
    EXPECT_EQ(Rect(1, 1, 9, 9), canvas.CallsOf("DrawFocusRect").at(0).Rect);
    auto justification = canvas.CallsOf("SetTextJustification").at(0);
    EXPECT_EQ(7, justification.X);
    EXPECT_EQ(3, justification.Y);
}

TEST(Themes, AGroupBoxFrameIsAnEtchedEdgeWhenClassic)
{
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 4, 1}), GroupBoxElement(true));
    EXPECT_EQ((TThemeElement{TThemeClass::Button, 4, 2}), GroupBoxElement(false));
    {
        StandIn classic(false);
        TRecordingCanvas canvas;
        DrawElement(canvas, GroupBoxElement(false), kBox);
        ASSERT_EQ(1u, canvas.Calls().size());
        EXPECT_EQ("DrawEdge", canvas.Calls()[0].Op);
        EXPECT_EQ(EDGE_ETCHED, canvas.Calls()[0].Kind);
        EXPECT_EQ(BF_RECT, canvas.Calls()[0].Flags);
    }
    StandIn themed(true);
    TRecordingCanvas canvas;
    DrawElement(canvas, GroupBoxElement(true), kBox);
    auto draws = themed.library.CallsOf("DrawBackground");
    ASSERT_EQ(1u, draws.size());
    EXPECT_EQ(4, draws[0].Part);
    EXPECT_TRUE(canvas.Calls().empty());
}
