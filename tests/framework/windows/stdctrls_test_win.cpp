// The standard controls' properties against their windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/windows/ComCtrls.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/FormHost.h"

using Host = FormHost;

TEST(StdCtrls, ListBoxItemsReachTheWindowAndItemIndexScrolls)
{
    Host host;
    auto *list = host.Add<TListBox>();
    list->SetBounds(0, 0, 200, 60);
    list->Items()->Add("первая");  // before the window exists
    host.form->Show();
    for (int i = 1; i < 50; ++i)
        list->Items()->Add("строка " + std::to_string(i));
    HWND h = list->Handle();
    EXPECT_EQ(50, SendMessageW(h, LB_GETCOUNT, 0, 0));
    wchar_t buffer[64];
    SendMessageW(h, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ("первая", WideToCp1251(buffer));
    list->SetItemIndex(49);
    EXPECT_EQ(49, list->ItemIndex());
    EXPECT_GT(list->TopIndex(), 0);  // the last line was scrolled into view
    list->Items()->SetString(49, "последняя");
    SendMessageW(h, LB_GETTEXT, 49, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ("последняя", WideToCp1251(buffer));
    EXPECT_EQ(49, SendMessageW(h, LB_GETCURSEL, 0, 0));
    list->Items()->Delete(0);
    EXPECT_EQ(48, list->ItemIndex());
    list->Clear();
    EXPECT_EQ(-1, list->ItemIndex());
    EXPECT_EQ(0, SendMessageW(h, LB_GETCOUNT, 0, 0));
    EXPECT_THROW(list->Items()->Delete(0), EListError);
}

// A shown list takes lines inside one update without drawing each (a line added to a shown list
// otherwise repaints it and its scroll bar at once) and without losing the keyboard; at the end of the
// outermost update it is drawn whole with every line, the last one in view.
TEST(StdCtrls, ListBoxLinesAddedInOneUpdateAreDrawnOnceAtItsEndAndTheKeyboardStays)
{
    Host host;
    auto *list = host.Add<TListBox>();
    list->SetBounds(0, 0, 200, 60);
    host.form->Show();
    list->SetFocus();
    HWND h = list->Handle();
    ASSERT_EQ(h, GetFocus());
    UpdateWindow(h);
    ASSERT_FALSE(GetUpdateRect(h, nullptr, FALSE));

    list->Items()->BeginUpdate();
    list->Items()->BeginUpdate();
    for (int i = 0; i < 40; ++i)
        list->Items()->Add("строка " + std::to_string(i));
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    list->Items()->EndUpdate();  // the inner end: still nothing drawn
    list->Items()->Add("последняя");
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    list->SetItemIndex(40);
    EXPECT_EQ(h, GetFocus());
    EXPECT_TRUE(IsWindowVisible(h));
    list->Items()->EndUpdate();

    EXPECT_TRUE(GetUpdateRect(h, nullptr, FALSE));  // drawn at the next paint, whole
    EXPECT_EQ(h, GetFocus());
    EXPECT_EQ(41, SendMessageW(h, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(40, SendMessageW(h, LB_GETCURSEL, 0, 0));
    EXPECT_GT(list->TopIndex(), 0);
    UpdateWindow(h);
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
}

// A list whose window is made while an update lasts waits for its end as well.
TEST(StdCtrls, ListBoxMadeDuringAnUpdateIsDrawnAtItsEnd)
{
    Host host;
    auto *list = host.Add<TListBox>();
    list->SetBounds(0, 0, 200, 60);
    list->Items()->BeginUpdate();
    list->Items()->Add("перша");
    host.form->Show();
    HWND h = list->Handle();
    UpdateWindow(h);
    list->Items()->Add("друга");
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    list->Items()->EndUpdate();
    EXPECT_TRUE(GetUpdateRect(h, nullptr, FALSE));
    EXPECT_EQ(2, SendMessageW(h, LB_GETCOUNT, 0, 0));
}

TEST(StdCtrls, MemoLinesAreItsText)
{
    Host host;
    auto *memo = host.Add<TMemo>();
    memo->SetReadOnly(true);
    memo->SetBorderStyle(bsNone);
    memo->SetAlignment(taCenter);
    memo->Lines()->Add("Текущее обновление");
    memo->Lines()->Add("");
    memo->Lines()->Add("Продолжить?");
    host.form->Show();
    EXPECT_EQ(3, memo->Lines()->Count());
    EXPECT_EQ("Текущее обновление\r\n\r\nПродолжить?\r\n", memo->Text());
    LONG style = GetWindowLongW(memo->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_CENTER);
    EXPECT_FALSE(GetWindowLongW(memo->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    memo->Lines()->SetString(1, "вставка");
    EXPECT_EQ("вставка", memo->Lines()->Strings(1));
    memo->Lines()->Clear();
    EXPECT_EQ(0, memo->Lines()->Count());
}

TEST(StdCtrls, EditTextSelectionAndChangeEvent)
{
    Host host;
    auto *edit = host.Add<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject *) { ++changes; };
    host.form->Show();
    edit->SetText("Папка обновления");
    EXPECT_EQ(1, changes);
    edit->SetSelStart(6);
    edit->SetSelLength(10);
    EXPECT_EQ("обновления", edit->SelText());
    edit->SetSelText("копии");
    EXPECT_EQ("Папка копии", edit->Text());
    edit->SetMaxLength(5);
    EXPECT_EQ(5, SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0));
    edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST(StdCtrls, CheckBoxStatesAndClicks)
{
    Host host;
    auto *check = host.Add<TCheckBox>();
    int clicks = 0;
    check->OnClick = [&](TObject *) { ++clicks; };
    host.form->Show();
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(BST_CHECKED, SendMessageW(check->Handle(), BM_GETCHECK, 0, 0));
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(cbUnchecked, check->State());
    check->SetAllowGrayed(true);
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(cbGrayed, check->State());
    EXPECT_EQ(BST_INDETERMINATE, SendMessageW(check->Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(4, clicks);
    check->SetAllowGrayed(false);
    EXPECT_EQ(cbUnchecked, check->State());
}

TEST(StdCtrls, RadioButtonsOfOneParentExcludeEachOther)
{
    Host host;
    auto *a = host.Add<TRadioButton>();
    auto *b = host.Add<TRadioButton>();
    a->SetChecked(true);
    host.form->Show();
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(a->Handle(), BM_GETCHECK, 0, 0));
}

TEST(StdCtrls, ComboBoxDropDownList)
{
    Host host;
    auto *combo = host.Add<TComboBox>();
    combo->Items()->Add("Русский");
    combo->Items()->Add("Українська");
    combo->SetItemIndex(1);
    host.form->Show();
    EXPECT_EQ(1, SendMessageW(combo->Handle(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("Українська", combo->Text());
    combo->SetItemIndex(5);
    EXPECT_EQ(-1, combo->ItemIndex());
}

TEST(StdCtrls, ProgressBarKeepsItsPositionInRange)
{
    Host host;
    auto *bar = host.Add<TProgressBar>();
    host.form->Show();
    bar->SetMax(200);
    bar->SetPosition(250);
    EXPECT_EQ(200, bar->Position());
    EXPECT_EQ(200, SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0));
    bar->SetPosition(0);
    bar->SetStep(30);
    bar->StepIt();
    bar->StepIt();
    EXPECT_EQ(60, SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0));
    EXPECT_EQ(200, SendMessageW(bar->Handle(), PBM_GETRANGE, FALSE, 0));
}

TEST(StdCtrls, LabelAutoSizeFollowsTextAndFont)
{
    Host host;
    auto *label = host.Add<TLabel>();
    host.form->Show();
    label->SetCaption("Протокол");
    int w = label->Width(), h = label->Height();
    EXPECT_GT(w, 20);
    EXPECT_GT(h, 5);
    label->Font()->SetSize(16);
    EXPECT_GT(label->Width(), w);
    EXPECT_GT(label->Height(), h);
    label->SetWordWrap(true);
    label->SetWidth(60);
    label->SetCaption("Данное обновление возможно только как копия существующего ПК ЦМТ");
    EXPECT_EQ(60, label->Width());
    EXPECT_GT(label->Height(), 3 * h);
}

TEST(StdCtrls, TimerFiresFromTheMessageLoop)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject *) {
        if (++ticks == 2)
            timer.SetEnabled(false);
    };
    DWORD start = GetTickCount();
    while (timer.Enabled() && GetTickCount() - start < 5000)
        Application->HandleMessage();
    EXPECT_EQ(2, ticks);
}

TEST(StdCtrls, ParentFontFollowsUntilChanged)
{
    Host host;
    auto *panel = host.Add<TPanel>();
    auto *button = new TButton(host.form);
    button->SetParent(panel);
    host.form->Font()->SetHeight(-15);
    EXPECT_EQ(-15, button->Font()->Height());
    button->Font()->SetStyle(fsBold);
    host.form->Font()->SetHeight(-20);
    EXPECT_EQ(-15, button->Font()->Height());
    EXPECT_EQ(-20, panel->Font()->Height());
}

TEST(StdCtrls, FormScalesBoundsAndFonts)
{
    Host host;
    auto *button = host.Add<TButton>();
    button->SetBounds(10, 20, 75, 25);
    host.form->Font()->SetHeight(-11);
    host.form->ScaleBy(120, 96);
    EXPECT_EQ(Bounds(13, 25, 93, 31), button->BoundsRect());  // 12.5 -> 13, 106.25 -> 106
    EXPECT_EQ(-14, host.form->Font()->Height());
    EXPECT_EQ(-14, button->Font()->Height());
}
