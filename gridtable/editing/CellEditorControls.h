#pragma once
// The in-cell editors' controls: the popup menus (items captioned in the message language, the Tag of
// each the command it runs, the shortcuts they show, the commands on the editor they pop up over),
// the number editors' typing and pasting, and the clipboard's text.
#include <cstdint>

#include "framework/windows/Menus.h"

class TCustomEdit;
class TEdit;
class TRichEdit;
class TWinControl;

// An editor's popup menu: Tag 1 for the single-line editors, 2 for the rich editor. It never takes a
// key as a shortcut: the shortcuts are only shown, and the editors' own key handlers act on the keys.
class TXPopupMenu : public TPopupMenu {
public:
    explicit TXPopupMenu(TComponent *owner) : TPopupMenu(owner) {}
    bool IsShortCut(uint16_t key, TShiftState shift) override;
};

// Held by the table at run time: the editors that the open editor menu serves (either may be null),
// filled each time a menu pops up, and the menus' handlers.
class TXServePopupMenu : public TObject {
public:
    TEdit *Edit = nullptr;
    TRichEdit *RichEdit = nullptr;

    // OnPopup of the menus: every item shows the shortcut of its command, and the editor the menu pops
    // up over becomes the one served.
    void EditorMenuShortcuts(TObject *Sender);
    // OnClick of the items, by the item's Tag: 1 applies the rich editor (as Ctrl+Enter), 2 the
    // single-line editor (as its double click), 3 cancels (the editor's key handler with Esc), 4 cuts,
    // 5 copies, 6 pastes (through the editor's key handler as Ctrl+V, so that number editors filter
    // the text; a paste the handler leaves alone is the plain one), 7 deletes the selection, 8 selects
    // all; 0 does nothing.
    void EditorMenuCommand(TObject *Sender);
};

// Sets the menu's on-popup handler and adds an item for each command of the "|"-separated list, with
// the caption of the message language, the command as its Tag and the command handler.
void BuildEditorMenu(TXServePopupMenu &serve, TPopupMenu &menu, const AnsiString &itemList);
// A menu of Tag 1 (AttachEditorMenu) or 2 (AttachEditorMenuTag2), owned by the editor, built from the
// list and made the editor's popup menu.
TXPopupMenu *AttachEditorMenu(TXServePopupMenu &serve, TWinControl &editor, const AnsiString &itemList);
TXPopupMenu *AttachEditorMenuTag2(TXServePopupMenu &serve, TWinControl &editor, const AnsiString &itemList);

// ---- number editors (edit kinds 1 to 3) ------------------------------------------------------------

// The key-press filter of a number editor of the kind: Ctrl+A selects all; every other character goes
// through FilterNumberEditorKey over the editor's text and caret.
void NumberEditorKeyPress(TCustomEdit &edit, int kind, char &key);
// The clipboard's text filtered for the kind (FilterNumberText over the editor's text without its
// selection) replaces the selection; nothing changes when the filter refuses the text.
void PasteIntoNumberEditor(TCustomEdit &edit, int kind);
// A key down in a number editor: Ctrl+V and Shift+Insert paste as above and the key becomes 0 (the
// editor's own paste never sees them). True when the key was a paste key.
bool NumberEditorPasteKey(TCustomEdit &edit, int kind, uint16_t &key, TShiftState shift);

// The clipboard's text in code page 1251 (its Unicode text converted when it has one); "" when it
// holds no text or cannot be opened.
AnsiString ReadGridClipboardText();
