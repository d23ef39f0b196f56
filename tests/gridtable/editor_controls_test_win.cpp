// The in-cell editors' popup menus and number editors on real controls (under Wine inside Xvfb):
// items, tags, captions and shortcuts of both item lists, the menus refusing keys as shortcuts, the
// commands on the editor a menu pops up over, and typing and pasting into number editors.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "base/input/fun_other.h"
#include "controls/RichEditEx.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/editing/CellEditing.h"
#include "gridtable/editing/CellEditorControls.h"
#include "tests/gridtable/EditorKeys.h"
#include "tests/support/ClipboardHeldElsewhere.h"
#include "tests/support/ClipboardTestLock.h"
#include "tests/support/FormHost.h"
#include "tests/support/ScopedCfgLanguage.h"

using gridtest::SendKey;

namespace {

constexpr const char *SingleLineItems = "2|3|0|4|5|6|7|0|8";
constexpr const char *RichItems = "1|3|0|4|5|6|7|0|8";

std::uint8_t messageLanguage = 1;
std::uint8_t ReadMessageLanguage() { return messageLanguage; }

// A form with the two kinds of editor the menus serve; the decimal separator is ",".
struct EditorForm {
    EditorForm()
    {
        savedSeparator = DecimalSeparator;
        DecimalSeparator = ',';
        edit = host.Add<TEdit>();
        edit->SetBounds(8, 8, 160, 22);
        second = host.Add<TEdit>();
        second->SetBounds(8, 40, 160, 22);
        rich = host.Add<TRichEditEx>();
        rich->SetBounds(8, 72, 200, 80);
        host.form->Show();
    }
    ~EditorForm()
    {
        messageLanguage = 1;
        DecimalSeparator = savedSeparator;
        CopyTextToClipboard("");
    }
    // What the menu's popup does before it shows: the served editor and the shortcuts.
    void PopUp(TPopupMenu *menu, TComponent *over)
    {
        menu->SetPopupComponent(over);
        ASSERT_TRUE(menu->OnPopup);
        menu->OnPopup(menu);
    }
    void Click(TPopupMenu *menu, int tag)
    {
        for (int i = 0; i < menu->Items()->Count(); ++i)
            if (menu->Items()->Items(i)->Tag() == tag) {
                menu->Items()->Items(i)->Click();
                return;
            }
        ADD_FAILURE() << "no item of tag " << tag;
    }

    ClipboardTestLock clipboard;
    ScopedCfgLanguageReaders readers{RecordTextLanguageReader(), ReadMessageLanguage};
    FormHost host;
    char savedSeparator;
    TXServePopupMenu serve;
    TEdit *edit, *second;
    TRichEditEx *rich;
};

struct ItemView {
    AnsiString caption;
    int tag;
    AnsiString shortCut;
    bool operator==(const ItemView &) const = default;
};

std::vector<ItemView> Items(const TPopupMenu &menu)
{
    std::vector<ItemView> items;
    for (int i = 0; i < menu.Items()->Count(); ++i) {
        const TMenuItem *item = menu.Items()->Items(i);
        items.push_back({item->Caption(), static_cast<int>(item->Tag()), ShortCutToText(item->ShortCut())});
    }
    return items;
}

void PrintTo(const ItemView &v, std::ostream *os) { *os << v.tag << " " << v.shortCut; }

// The edit as a number editor of the kind, with the key handlers the table gives its number editors.
void MakeNumberEditor(TEdit *edit, int kind)
{
    edit->OnKeyDown = [edit, kind](TObject *, uint16_t &key, TShiftState shift) {
        NumberEditorPasteKey(*edit, kind, key, shift);
    };
    edit->OnKeyPress = [edit, kind](TObject *, char &key) { NumberEditorKeyPress(*edit, kind, key); };
}

}  // namespace

TEST(EditorMenus, BothItemListsInRussianOrUkrainianByTheMessageLanguage)
{
    EditorForm f;
    TXPopupMenu *single = AttachEditorMenu(f.serve, *f.edit, SingleLineItems);
    TXPopupMenu *rich = AttachEditorMenuTag2(f.serve, *f.rich, RichItems);
    EXPECT_EQ(f.edit->PopupMenu(), single);
    EXPECT_EQ(f.rich->PopupMenu(), rich);
    EXPECT_EQ(single->Tag(), 1);
    EXPECT_EQ(rich->Tag(), 2);
    EXPECT_EQ(single->Owner(), f.edit);

    f.PopUp(single, f.edit);
    const std::vector<ItemView> expectedSingle = {
        {"Применить", 2, "Enter"},     {"Отмена", 3, "Esc"},      {"-", 0, ""},          {"Вырезать", 4, "Ctrl+X"},
        {"Копировать", 5, "Ctrl+C"},   {"Вставить", 6, "Ctrl+V"}, {"Удалить", 7, "Del"}, {"-", 0, ""},
        {"Выделить все", 8, "Ctrl+A"},
    };
    EXPECT_EQ(Items(*single), expectedSingle);
    EXPECT_TRUE(single->Items()->Items(2)->IsLine());

    f.PopUp(rich, f.rich);
    std::vector<ItemView> expectedRich = expectedSingle;
    expectedRich[0] = {"Применить", 1, "Ctrl+Enter"};
    EXPECT_EQ(Items(*rich), expectedRich);

    // The captions are taken when the menu is built.
    messageLanguage = 0;
    TXPopupMenu *ukrainian = AttachEditorMenu(f.serve, *f.second, SingleLineItems);
    f.PopUp(ukrainian, f.second);
    const std::vector<ItemView> expectedUkrainian = {
        {"Застосувати", 2, "Enter"},   {"Відмінити", 3, "Esc"},   {"-", 0, ""},           {"Вирізати", 4, "Ctrl+X"},
        {"Копіювати", 5, "Ctrl+C"},    {"Вставити", 6, "Ctrl+V"}, {"Видалити", 7, "Del"}, {"-", 0, ""},
        {"Виділити все", 8, "Ctrl+A"},
    };
    EXPECT_EQ(Items(*ukrainian), expectedUkrainian);
    EXPECT_EQ(Items(*single)[0].caption, "Применить");
}

TEST(EditorMenus, TheMenuTakesNoKeyAsAShortcutSoTheEditorsHandlersAct)
{
    EditorForm f;
    TXPopupMenu *menu = AttachEditorMenu(f.serve, *f.edit, SingleLineItems);
    f.PopUp(menu, f.edit);
    int doubleClicks = 0;
    std::vector<uint16_t> keys;
    f.edit->OnDblClick = [&](TObject *) { ++doubleClicks; };
    f.edit->OnKeyDown = [&](TObject *, uint16_t &key, TShiftState) { keys.push_back(key); };
    // The item is there with its shortcut, but the menu refuses the key.
    ASSERT_NE(menu->FindItem(ShortCut(VK_RETURN, 0)), nullptr);
    EXPECT_FALSE(menu->IsShortCut(VK_RETURN, 0));
    EXPECT_EQ(doubleClicks, 0);
    // Through the message loop the key reaches the editor's own handler.
    f.edit->SetFocus();
    PostMessageW(f.edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    for (int i = 0; i < 10; ++i)
        Application->ProcessMessages();
    EXPECT_EQ(keys, std::vector<uint16_t>{VK_RETURN});
    EXPECT_EQ(doubleClicks, 0);
}

TEST(EditorMenus, APopupServesTheEditorItOpensOver)
{
    EditorForm f;
    TXPopupMenu *menu = AttachEditorMenu(f.serve, *f.edit, SingleLineItems);
    f.second->SetPopupMenu(menu);  // shared, as the fraction's two parts share theirs
    TXPopupMenu *rich = AttachEditorMenuTag2(f.serve, *f.rich, RichItems);
    f.PopUp(menu, f.second);
    EXPECT_EQ(f.serve.Edit, f.second);
    EXPECT_EQ(f.serve.RichEdit, nullptr);
    f.PopUp(rich, f.rich);
    EXPECT_EQ(f.serve.Edit, nullptr);
    EXPECT_EQ(f.serve.RichEdit, f.rich);
}

TEST(EditorMenus, ApplyAndCancelGoThroughTheEditorsOwnHandlers)
{
    EditorForm f;
    TXPopupMenu *menu = AttachEditorMenu(f.serve, *f.edit, SingleLineItems);
    TXPopupMenu *rich = AttachEditorMenuTag2(f.serve, *f.rich, RichItems);
    struct Key {
        uint16_t key;
        TShiftState shift;
        bool operator==(const Key &) const = default;
    };
    std::vector<Key> editKeys, richKeys;
    int doubleClicks = 0;
    f.edit->OnKeyDown = [&](TObject *, uint16_t &key, TShiftState shift) { editKeys.push_back({key, shift}); };
    f.edit->OnDblClick = [&](TObject *) { ++doubleClicks; };
    f.rich->OnKeyDown = [&](TObject *, uint16_t &key, TShiftState shift) { richKeys.push_back({key, shift}); };

    f.PopUp(menu, f.edit);
    f.Click(menu, 2);
    EXPECT_EQ(doubleClicks, 1);
    f.Click(menu, 3);
    EXPECT_EQ(editKeys, (std::vector<Key>{{VK_ESCAPE, 0}}));

    f.PopUp(rich, f.rich);
    f.Click(rich, 1);
    f.Click(rich, 3);
    EXPECT_EQ(richKeys, (std::vector<Key>{{VK_RETURN, ssCtrl}, {VK_ESCAPE, 0}}));
    EXPECT_EQ(doubleClicks, 1);

    // A separator, and a menu serving no editor, do nothing.
    f.Click(rich, 0);
    f.serve.Edit = nullptr;
    f.serve.RichEdit = nullptr;
    for (int tag = 0; tag < EditorMenuCommandCount; ++tag)
        f.Click(menu, tag == 1 ? 2 : tag);
    EXPECT_EQ(doubleClicks, 1);
}

TEST(EditorMenus, ClipboardAndSelectionCommands)
{
    EditorForm f;
    TXPopupMenu *rich = AttachEditorMenuTag2(f.serve, *f.rich, RichItems);
    f.rich->SetText("строка один");
    f.PopUp(rich, f.rich);
    f.Click(rich, 8);
    EXPECT_EQ(f.rich->SelText(), "строка один");
    f.Click(rich, 5);
    EXPECT_EQ(ReadGridClipboardText(), "строка один");
    f.rich->SetSelStart(0);
    f.rich->SetSelLength(7);
    f.Click(rich, 7);
    EXPECT_EQ(f.rich->GetText(), "один");
    f.rich->SetSelStart(0);
    f.rich->SetSelLength(4);
    f.Click(rich, 4);
    EXPECT_EQ(f.rich->GetText(), "");
    EXPECT_EQ(ReadGridClipboardText(), "один");
    // The rich editor's handler leaves Ctrl+V alone: the plain paste, line breaks and all.
    f.rich->OnKeyDown = [](TObject *, uint16_t &, TShiftState) {};
    CopyTextToClipboard("a.b\r\nc");
    f.Click(rich, 6);
    EXPECT_EQ(f.rich->GetText(), "a.b\r\nc");
}

TEST(NumberEditors, APasteIsFilteredThroughTheMenuAndThePasteKeys)
{
    EditorForm f;
    MakeNumberEditor(f.edit, 1);
    TXPopupMenu *menu = AttachEditorMenu(f.serve, *f.edit, SingleLineItems);
    f.PopUp(menu, f.edit);

    CopyTextToClipboard("1.5");
    f.Click(menu, 6);
    EXPECT_EQ(f.edit->GetText(), "1,5");
    // A second decimal comma refuses the whole paste.
    CopyTextToClipboard("2,3");
    f.edit->SetSelStart(3);
    f.Click(menu, 6);
    EXPECT_EQ(f.edit->GetText(), "1,5");
    // The paste replaces the selection, so the comma it removes does not count.
    f.edit->SelectAll();
    f.Click(menu, 6);
    EXPECT_EQ(f.edit->GetText(), "2,3");

    // Ctrl+V and Shift+Insert as typed: line breaks are stripped, the editor's own paste never runs.
    f.edit->SetText("");
    f.edit->SetFocus();
    CopyTextToClipboard(" 4\r\n2 \r\n");
    SendKey(*f.edit, 'V', ssCtrl, 22);
    EXPECT_EQ(f.edit->GetText(), "42");
    SendKey(*f.edit, VK_INSERT, ssShift);
    EXPECT_EQ(f.edit->GetText(), "4242");
    CopyTextToClipboard("x");
    SendKey(*f.edit, 'V', ssCtrl, 22);
    EXPECT_EQ(f.edit->GetText(), "4242");
}

TEST(NumberEditors, AClipboardHeldByAnotherProgramPastesNothingAndLosesNothing)
{
    EditorForm f;
    MakeNumberEditor(f.edit, 2);
    f.edit->SetText("-12");
    f.edit->SelectAll();
    CopyTextToClipboard("7");
    {
        ClipboardHeldElsewhere held;
        ASSERT_TRUE(held.Opened());
        EXPECT_EQ(ReadGridClipboardText(), "");
        PasteIntoNumberEditor(*f.edit, 2);
        EXPECT_EQ(f.edit->GetText(), "-12");
    }
    PasteIntoNumberEditor(*f.edit, 2);
    EXPECT_EQ(f.edit->GetText(), "7");
}

TEST(NumberEditors, TypedKeysAreFilteredByKindAndCtrlASelectsAll)
{
    EditorForm f;
    MakeNumberEditor(f.edit, 2);
    f.edit->SetFocus();
    SendKey(*f.edit, 'X', 0, 'x');
    SendKey(*f.edit, VK_OEM_MINUS, 0, '-');
    SendKey(*f.edit, '1', 0, '1');
    SendKey(*f.edit, VK_OEM_PERIOD, 0, '.');
    SendKey(*f.edit, '5', 0, '5');
    SendKey(*f.edit, VK_OEM_MINUS, 0, '-');
    EXPECT_EQ(f.edit->GetText(), "-1,5");
    SendKey(*f.edit, 'A', ssCtrl, 1);
    EXPECT_EQ(f.edit->SelText(), "-1,5");
    SendKey(*f.edit, '9', 0, '9');
    EXPECT_EQ(f.edit->GetText(), "9");

    MakeNumberEditor(f.second, 3);
    f.second->SetFocus();
    for (char c : AnsiString("1,2-3"))
        SendKey(*f.second, static_cast<uint16_t>(c), 0, static_cast<wchar_t>(c));
    EXPECT_EQ(f.second->GetText(), "123");
}
