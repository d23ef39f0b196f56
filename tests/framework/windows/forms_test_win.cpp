// Forms and controls on real windows (run under Wine inside Xvfb).
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/windows/ComCtrls.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Dialogs.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/PageHeap.h"
#include "tests/support/PointerInput.h"

namespace {
AnsiString WindowTextOf(HWND h)
{
    wchar_t buffer[512] = L"";
    int n = GetWindowTextW(h, buffer, 512);
    return WideToCp1251(std::wstring_view(buffer, static_cast<size_t>(n)));
}

// A protocol window like the updater's: a caption label on top, the list filling the rest, a
// progress bar and a button panel at the bottom.
struct ProtocolForm : TForm {
    explicit ProtocolForm(TComponent *owner) : TForm(owner)
    {
        SetCaption("Обновление ЦМТ-5");
        SetPosition(poScreenCenter);
        SetClientWidth(700);
        SetClientHeight(316);
        Label1 = new TLabel(this);
        Label1->SetParent(this);
        Label1->SetAlign(alTop);
        Label1->SetCaption("Протокол");
        PnExit = new TPanel(this);
        PnExit->SetParent(this);
        PnExit->SetAlign(alBottom);
        PnExit->SetHeight(41);
        BtnClose = new TButton(this);
        BtnClose->SetParent(PnExit);
        BtnClose->SetBounds(312, 8, 75, 25);
        BtnClose->SetCaption("Выход");
        PrBar = new TProgressBar(this);
        PrBar->SetParent(this);
        PrBar->SetAlign(alBottom);
        PrBar->SetHeight(16);
        List = new TListBox(this);
        List->SetParent(this);
        List->SetAlign(alClient);
    }
    TLabel *Label1;
    TPanel *PnExit;
    TButton *BtnClose;
    TProgressBar *PrBar;
    TListBox *List;
};
}  // namespace

TEST(Forms, AlignedControlsFillTheClientArea)
{
    auto *form = new ProtocolForm(nullptr);
    form->Show();
    Application->ProcessMessages();
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_EQ(700, form->ClientWidth());
    EXPECT_EQ(316, form->ClientHeight());
    int labelHeight = form->Label1->Height();
    EXPECT_GT(labelHeight, 0);
    EXPECT_EQ(Bounds(0, 316 - 41, 700, 41), form->PnExit->BoundsRect());
    EXPECT_EQ(Bounds(0, 316 - 41 - 16, 700, 16), form->PrBar->BoundsRect());
    EXPECT_EQ(Rect(0, labelHeight, 700, 316 - 57), form->List->BoundsRect());
    // The windows are where the objects say.
    RECT r;
    GetWindowRect(form->List->Handle(), &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT *>(&r), 2);
    EXPECT_EQ(labelHeight, r.top);
    EXPECT_EQ(316 - 57, r.bottom);

    // Hiding the bottom panel gives its room to the list; resizing the form re-lays it out.
    form->PnExit->Hide();
    EXPECT_EQ(316 - 16, form->List->BoundsRect().Bottom);
    form->SetClientHeight(400);
    Application->ProcessMessages();
    EXPECT_EQ(Bounds(0, 400 - 16, 700, 16), form->PrBar->BoundsRect());

    EXPECT_EQ("Обновление ЦМТ-5", WindowTextOf(form->Handle()));
    EXPECT_EQ("Выход", WindowTextOf(form->BtnClose->Handle()));
    form->Free();
}

TEST(Forms, ScreenCenteredAndListedWithTheScreen)
{
    auto *form = new ProtocolForm(nullptr);
    int before = Screen->FormCount();
    form->Show();
    EXPECT_NEAR(Screen->Width() / 2, form->Left() + form->Width() / 2, 1);
    EXPECT_NEAR(Screen->Height() / 2, form->Top() + form->Height() / 2, 1);
    EXPECT_EQ(form, Screen->Forms(before - 1));
    form->Free();
    EXPECT_EQ(before - 1, Screen->FormCount());
    EXPECT_GT(Screen->PixelsPerInch(), 0);
    EXPECT_GT(Screen->WorkArea().Width(), 0);
}

TEST(Forms, CloseQueryCanRefuseAndOnCloseDecides)
{
    auto *form = new ProtocolForm(nullptr);
    bool mayClose = false;
    int closes = 0;
    form->OnCloseQuery = [&](TObject *, bool &canClose) { canClose = mayClose; };
    form->OnClose = [&](TObject *, TCloseAction &action) {
        ++closes;
        action = caHide;
    };
    form->Show();
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(0, closes);
    mayClose = true;
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(1, closes);
    form->Free();
}

TEST(Forms, CloseActionNoneKeepsTheFormAndFreeReleasesIt)
{
    auto *form = new ProtocolForm(nullptr);
    bool destroyed = false;
    TCloseAction next = caNone;
    form->OnClose = [&](TObject *, TCloseAction &action) { action = next; };
    form->OnDestroy = [&](TObject *) { destroyed = true; };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    next = caFree;
    form->Close();
    EXPECT_FALSE(destroyed);  // freed once the messages in hand are handled
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
}

TEST(Forms, ShowModalReturnsTheModalResultOfTheClickedButton)
{
    auto *form = new ProtocolForm(nullptr);
    form->BtnClose->SetModalResult(mrOk);
    int clicks = 0;
    form->BtnClose->OnClick = [&](TObject *) { ++clicks; };
    form->HandleNeeded();
    PostMessageW(form->BtnClose->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(mrOk, form->ShowModal());
    EXPECT_EQ(1, clicks);
    EXPECT_FALSE(form->Visible());
    form->Free();
}

TEST(Forms, ShowModalKeepsRunningWhileCloseQueryRefuses)
{
    auto *form = new ProtocolForm(nullptr);
    auto *yes = new TButton(form);
    yes->SetParent(form->PnExit);
    yes->SetModalResult(mrYes);
    int asked = 0;
    form->OnCloseQuery = [&](TObject *, bool &canClose) { canClose = ++asked > 1; };
    form->HandleNeeded();
    PostMessageW(form->BtnClose->Handle(), WM_CLOSE, 0, 0);  // ignored: not a form
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);            // refused the first time
    PostMessageW(yes->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(mrYes, form->ShowModal());
    EXPECT_EQ(2, asked);
    form->Free();
}

TEST(Forms, AFormFreedInsideItsModalLoopEndsItAndIsReleasedAfterIt)
{
    // Freed while its loop runs (a release handled in the loop, its owner freed by a handler), the form
    // must outlive the loop, which reads it after each message; on pages of their own a read of the
    // freed form faults.
    TPageHeapScope pages;
    for (bool byOwner : {false, true}) {
        SCOPED_TRACE(byOwner ? "owner freed" : "released");
        auto *owner = byOwner ? new TForm(nullptr) : nullptr;
        auto *form = new TForm(owner);
        bool destroyed = false;
        form->OnDestroy = [&](TObject *) { destroyed = true; };
        bool closed = false;
        form->OnClose = [&](TObject *, TCloseAction &) { closed = true; };
        form->HandleNeeded();
        (byOwner ? owner : form)->Release();
        EXPECT_EQ(mrCancel, form->ShowModal());
        EXPECT_FALSE(closed);  // a form freed is not asked to close
        EXPECT_FALSE(destroyed);
        EXPECT_FALSE(form->Visible());
        Application->ProcessMessages();
        EXPECT_TRUE(destroyed);
    }
}

TEST(Forms, EnterPressesTheDefaultButtonAndEscTheCancelButton)
{
    auto *form = new ProtocolForm(nullptr);
    auto *edit = new TEdit(form);
    edit->SetParent(form->PnExit);
    form->BtnClose->SetDefault(true);
    form->BtnClose->SetModalResult(mrOk);
    auto *cancel = new TButton(form);
    cancel->SetParent(form->PnExit);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    form->OnShow = [&](TObject *) { edit->SetFocus(); };
    form->HandleNeeded();
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(mrOk, form->ShowModal());
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(mrCancel, form->ShowModal());
    form->Free();
}

TEST(Forms, KeyPreviewSeesKeysFirstAndCanSwallowThem)
{
    auto *form = new ProtocolForm(nullptr);
    auto *edit = new TEdit(form);
    edit->SetParent(form->PnExit);
    std::vector<AnsiString> seen;
    form->SetKeyPreview(true);
    form->OnKeyPress = [&](TObject *, char &key) {
        seen.push_back(AnsiString("form ") + key);
        if (key == 'x')
            key = 0;
    };
    edit->OnKeyPress = [&](TObject *, char &key) { seen.push_back(AnsiString("edit ") + key); };
    form->Show();
    SendMessageW(edit->Handle(), WM_CHAR, L'ж', 0);
    SendMessageW(edit->Handle(), WM_CHAR, L'x', 0);
    EXPECT_EQ((std::vector<AnsiString>{"form ж", "edit ж", "form x"}), seen);
    EXPECT_EQ("ж", edit->Text());
    form->Free();
}

TEST(Forms, TheScriptAnswersAModalFormWithoutShowingIt)
{
    TPromptScript script;
    script.Answer(mrNo);
    auto *form = new ProtocolForm(nullptr);
    form->SetName("TYesNo1");
    EXPECT_EQ(mrNo, form->ShowModal());
    EXPECT_FALSE(form->HandleAllocated());
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ(TPromptKind::ModalForm, script.Seen()[0].Kind);
    EXPECT_EQ("TYesNo1", script.Seen()[0].Name);
    EXPECT_EQ("Обновление ЦМТ-5", script.Seen()[0].Caption);
    form->Free();
}

TEST(Forms, AnExceptionInAHandlerIsShownByTheApplication)
{
    TPromptScript script;
    script.Answer(idOk);
    auto *form = new ProtocolForm(nullptr);
    form->BtnClose->OnClick = [](TObject *) { throw Exception("Ошибка в обработчике"); };
    form->Show();
    SendMessageW(form->BtnClose->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("Ошибка в обработчике", script.Seen()[0].Text);
    EXPECT_EQ(static_cast<unsigned>(mbIconStop), script.Seen()[0].Flags & 0xF0);
    form->Free();
}

TEST(Forms, OwnershipFreesControlsOnce)
{
    static int freed = 0;
    struct Counted : TButton {
        using TButton::TButton;
        ~Counted() override { ++freed; }
    };
    freed = 0;
    auto *form = new ProtocolForm(nullptr);
    auto *owner = new TComponent(nullptr);
    // Owned by the form and parented by its panel; owned by another component and parented by the
    // form; owned by the form but never parented.
    new Counted(form);
    (new Counted(form))->SetParent(form->PnExit);
    auto *foreign = new Counted(owner);
    foreign->SetParent(form);
    form->Show();
    HWND panel = form->PnExit->Handle();
    form->Free();
    EXPECT_EQ(3, freed);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(0, owner->ComponentCount());
    owner->Free();
    EXPECT_EQ(3, freed);
}

TEST(Forms, ApplicationCreatesTheMainFormAndTerminatesOnItsClose)
{
    ProtocolForm *form = nullptr;
    bool created = false;
    TForm *oldMain = Application->MainForm();
    Application->SetMainForm(nullptr);
    struct Created : ProtocolForm {
        explicit Created(TComponent *owner) : ProtocolForm(owner) {}
    };
    Created *main = nullptr;
    Application->CreateForm(main);
    form = main;
    form->OnCreate = [&](TObject *) { created = true; };  // set after AfterConstruction: not run again
    EXPECT_EQ(form, Application->MainForm());
    EXPECT_EQ(Application, form->Owner());
    EXPECT_FALSE(created);
    form->Show();
    form->Close();
    EXPECT_TRUE(Application->Terminated());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    form->Free();
    Application->SetMainForm(oldMain);
    EXPECT_NE(AnsiString::npos, Application->ExeName().find("test_framework"));
}

TEST(Forms, AnActivatedFormGivesTheKeyboardToItsFirstControlThatCanTakeItOrBackToTheLastThroughTheWindowSystem)
{
    auto *form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto edit = [form](int top) {
        auto *e = new TEdit(form);
        e->SetParent(form);
        e->SetTop(top);
        return e;
    };
    TEdit *disabled = edit(10), *hidden = edit(40), *first = edit(70), *last = edit(100);
    disabled->SetEnabled(false);
    hidden->SetVisible(false);
    auto *other = new TForm(nullptr);
    other->SetBounds(320, 0, 200, 100);
    TEdit *otherEdit = new TEdit(other);
    otherEdit->SetParent(other);
    form->Show();
    EXPECT_TRUE(PumpUntil([&] { return first->Focused(); }, 2000)) << "the first control that can take the keyboard";
    last->SetFocus();
    other->Show();
    EXPECT_TRUE(PumpUntil([&] { return otherEdit->Focused(); }, 2000));
    form->BringToFront();
    EXPECT_TRUE(PumpUntil([&] { return last->Focused(); }, 2000)) << "the control that had it when the form was left";
    // One that can no longer take it gives way to the first that can.
    other->BringToFront();
    ASSERT_TRUE(PumpUntil([&] { return otherEdit->Focused(); }, 2000));
    last->SetEnabled(false);
    form->BringToFront();
    EXPECT_TRUE(PumpUntil([&] { return first->Focused(); }, 2000));
    other->Free();
    form->Free();
}
