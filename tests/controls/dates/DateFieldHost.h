#pragma once
// What the date field's window tests share: a form shown for a whole suite (hiding a top-level window
// costs the window system seconds) with a date field on it, today being 7 December 2026, and input
// posted to the field's windows. Windows build only.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/UZLangBox.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FormHost.h"
#include "tests/support/PointerInput.h"

class DateFieldHost : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        host = new FormHost;
        host->form->Show();
    }
    static void TearDownTestSuite()
    {
        host->form->Hide();
        delete host;
        host = nullptr;
    }
    void SetUp() override
    {
        ResetLangs();
        field = host->Add<TXDateCombo>();
        field->SetBounds(20, 20, 140, field->Height());
        field->OnChange = [this](TObject *sender) {
            EXPECT_EQ(field, sender);
            ++changes;
        };
        field->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        if (field)
            field->Free();
        ResetLangs();
    }

    static void Pump()
    {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    }
    static void Key(HWND window, WORD key)
    {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        Pump();
    }
    static void Click(HWND window, const TPoint &at)
    {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.X, at.Y));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.X, at.Y));
        Pump();
    }
    static TPoint Centre(const TRect &r) { return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
    void Type(const AnsiString &text) { field->Edit()->SetText(text); }

    // The parts of the field as every lay-out leaves them: the edit fills the field, the button is a
    // square as high as the edit's inside, centred, 2 px in from the inside's right edge, the check box
    // 2 px in from the left and centred, the edit's margins keep clear of both (the date's text 2 px
    // beyond the box).
    static void ExpectLaidOut(TXDateCombo *field)
    {
        const int edge = GetSystemMetrics(SM_CYEDGE);
        TMaskEdit *edit = field->Edit();
        TZButton *button = field->Button();
        EXPECT_EQ(Rect(0, 0, field->Width(), field->Height()), edit->BoundsRect());
        EXPECT_EQ(edit->Height() - 2 * edge, button->Height());
        EXPECT_EQ(button->Height(), button->Width());
        EXPECT_EQ((field->Height() - button->Height()) / 2, button->Top());
        EXPECT_EQ(field->Width() - edge - 2, button->Left() + button->Width());
        EXPECT_EQ(button->Width() + 2, edit->RightMargin());
        if (TCheckBox *box = field->CheckBox()) {
            EXPECT_EQ(edge + 2, box->Left());
            EXPECT_EQ((field->Height() - box->Height()) / 2, box->Top());
            EXPECT_EQ(2 + box->Width() + 2, edit->LeftMargin());
        }
    }

    FakeClock clock{EncodeDate(2026, 12, 7) + EncodeTime(9, 30, 0, 0)};
    TClockOverride clockInForce{clock};
    static inline FormHost *host = nullptr;
    TXDateCombo *field = nullptr;
    int changes = 0;
};
