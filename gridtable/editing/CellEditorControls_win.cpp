#include "gridtable/editing/CellEditorControls.h"

#include <algorithm>

#include "base/keys/KeyCodes.h"
#include "base/input/fun_other.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/VirtualKeys.h"
#include "gridtable/editing/CellEditing.h"

namespace {

constexpr char CtrlAChar = 1;
// The paste keys in the key-code scheme.
constexpr uint32_t PasteCtrlV = KeyCodeCtrl + 'V', PasteShiftInsert = KeyCodeShift + 0x2D;

// The editor's key handler with the key; false when it has none or leaves the key to the editor.
bool SendKeyToHandler(TWinControl &editor, uint16_t key, TShiftState shift)
{
    if (!editor.OnKeyDown)
        return false;
    editor.OnKeyDown(&editor, key, shift);
    return key == 0;
}

TXPopupMenu *Attach(TXServePopupMenu &serve, TWinControl &editor, const AnsiString &itemList, int tag)
{
    auto *menu = new TXPopupMenu(&editor);
    menu->SetTag(tag);
    BuildEditorMenu(serve, *menu, itemList);
    editor.SetPopupMenu(menu);
    return menu;
}

}  // namespace

bool TXPopupMenu::IsShortCut(uint16_t, TShiftState) { return false; }

void TXServePopupMenu::EditorMenuShortcuts(TObject *Sender)
{
    auto *menu = dynamic_cast<TPopupMenu *>(Sender);
    if (menu == nullptr)
        return;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        TMenuItem *item = menu->Items()->Items(i);
        item->SetShortCut(EditorMenuShortCut(static_cast<int>(item->Tag())));
    }
    TComponent *component = menu->PopupComponent();
    Edit = dynamic_cast<TEdit *>(component);
    RichEdit = dynamic_cast<TRichEdit *>(component);
}

void TXServePopupMenu::EditorMenuCommand(TObject *Sender)
{
    const auto *item = dynamic_cast<TMenuItem *>(Sender);
    if (item == nullptr)
        return;
    TCustomEdit *editor = Edit != nullptr ? static_cast<TCustomEdit *>(Edit) : RichEdit;
    switch (item->Tag()) {
    case 1:
        if (RichEdit != nullptr)
            SendKeyToHandler(*RichEdit, VK_RETURN, ssCtrl);
        break;
    case 2:
        if (Edit != nullptr && Edit->OnDblClick)
            Edit->OnDblClick(Edit);
        break;
    case 3:
        if (editor != nullptr)
            SendKeyToHandler(*editor, VK_ESCAPE, 0);
        break;
    case 4:
        if (editor != nullptr)
            editor->CutToClipboard();
        break;
    case 5:
        if (editor != nullptr)
            editor->CopyToClipboard();
        break;
    case 6:
        if (editor != nullptr && !SendKeyToHandler(*editor, 'V', ssCtrl))
            editor->PasteFromClipboard();
        break;
    case 7:
        if (editor != nullptr)
            editor->ClearSelection();
        break;
    case 8:
        if (editor != nullptr)
            editor->SelectAll();
        break;
    default: break;
    }
}

void BuildEditorMenu(TXServePopupMenu &serve, TPopupMenu &menu, const AnsiString &itemList)
{
    menu.OnPopup = [&serve](TObject *sender) { serve.EditorMenuShortcuts(sender); };
    const int row = EditorMenuCaptionRow();
    for (int tag : EditorMenuItemTags(itemList)) {
        auto *item = new TMenuItem(&menu);
        item->SetCaption(EditorMenuCaption(row, tag));
        item->SetTag(tag);
        item->OnClick = [&serve](TObject *sender) { serve.EditorMenuCommand(sender); };
        menu.Items()->Add(item);
    }
}

TXPopupMenu *AttachEditorMenu(TXServePopupMenu &serve, TWinControl &editor, const AnsiString &itemList)
{
    return Attach(serve, editor, itemList, 1);
}

TXPopupMenu *AttachEditorMenuTag2(TXServePopupMenu &serve, TWinControl &editor, const AnsiString &itemList)
{
    return Attach(serve, editor, itemList, 2);
}

// ---- number editors --------------------------------------------------------------------------------

void NumberEditorKeyPress(TCustomEdit &edit, int kind, char &key)
{
    if (key == CtrlAChar) {
        edit.SelectAll();
        key = 0;
        return;
    }
    key = FilterNumberEditorKey(kind, key, edit.GetText(), edit.SelStart());
}

void PasteIntoNumberEditor(TCustomEdit &edit, int kind)
{
    AnsiString rest = edit.GetText();
    const int start = std::clamp(edit.SelStart(), 0, static_cast<int>(rest.size()));
    rest.erase(static_cast<size_t>(start), static_cast<size_t>(std::max(edit.SelLength(), 0)));
    const AnsiString text = FilterNumberText(kind, ReadGridClipboardText(), rest, start);
    if (!text.empty())
        edit.SetSelText(text);
}

bool NumberEditorPasteKey(TCustomEdit &edit, int kind, uint16_t &key, TShiftState shift)
{
    const uint32_t code = KeyToCode(key, shift);
    if (code != PasteCtrlV && code != PasteShiftInsert)
        return false;
    PasteIntoNumberEditor(edit, kind);
    key = 0;
    return true;
}

AnsiString ReadGridClipboardText() { return ReadClipboardText(); }
