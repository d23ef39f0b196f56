#pragma once
// In-cell editing of the grid table: the borderless form that opens exactly over the edited cell with
// the panel of the cell's edit kind, the record the application presets an editor with, and the value
// that decides whether a cell is edited again. Windows build only (the editors' placement is
// CellEditorLayout.h and builds everywhere).
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/Graphics.h"
#include "gridtable/editing/CellEditorLayout.h"

class TComboBox;
class TEdit;
class TPanel;
class TRichEditEx;
class TShape;
class TXDateCombo;
class TZButton;
class TZText;

// Made afresh for each double click with these defaults and handed to OnBeforeDblClick, whose handler
// may change it; gone when the double click ends.
struct SDataForOut {
    std::uint8_t RunNumber = 1;  // the run whose text the rich editor starts with
    std::uint8_t Spare1 = 0;
    std::uint8_t UsePresetText = 0;  // nonzero: a number editor starts with PresetText instead of run 1
    // 1 keeps the rich editor over the cell, 0 stretches it from the cell's top to the table's bottom,
    // any other value makes it cover the cell's row and the next one (the previous one in the last row).
    std::uint8_t RichExtent = 1;
    std::uint8_t Spare2[3] = {0, 0, 0};
    TColor NumberFontColour = 0;  // the number editors' font colour
    std::uint32_t Value = 0;
    AnsiString PresetText;
};

// What OnAfterCellEdit leaves after an editing round.
enum EXSGEditValue : int {
    exsgStop = 0,
    exsgEditAgain = 1,
    exsgEditAgainAfterBefore = 2,  // edit again, telling OnBeforeCellEdit first
};

// The editor form. Every control is sky blue and hidden until the form is shown in its mode; the
// panels and the two text editors fill the form. The table that owns the form attaches the editors'
// key, double-click and menu handlers and the buttons' clicks.
class TFEditForm : public TForm {
public:
    explicit TFEditForm(TComponent *owner);

    // The edit kind of the cell being edited; it chooses the control shown.
    std::uint8_t EditMode = EditKindNone;
    // The number format whose keys the number editor takes (NumberEditorFormat of the kind).
    int NumberFormat = 0;

    TRichEditEx *pRE;             // rich text (kind 4)
    TEdit *pNumEdit;              // a number (kinds 1-3)
    TPanel *pFractionPanel;       // the fraction (kind 5): the three below
    TEdit *pEditUp;               // numerator
    TEdit *pEditDown;             // denominator
    TShape *pShape;               // the fraction bar, 1 pixel high
    TPanel *pCB_Dt_Panel;         // the date and the list (kinds 6, 8): the five below
    TXDateCombo *pData;           // the date
    TZText *pCB_Dt_Head;          // their heading
    TZButton *pBtnSave;           // accept (Tag 1)
    TZButton *pBtnCancel;         // cancel (Tag 2)
    TComboBox *pCBList;           // the list
    TPanel *pBtnPanel;            // two buttons (kind 9): the three below
    TZText *BP_Text;              // its heading
    TZButton *BP_Btn1, *BP_Btn2;  // Tags 0 and 1 once the table has made its editor

    // ---- preparing the editor of a mode: rectangles on the screen; each sets the form's bounds ------
    // Kinds 1-3 over the cell.
    void PrepareNumberEditor(const TRect &cell, const AnsiString &text, TColor colour, int format);
    // Kind 4 over its rectangle, the caret at the end of the text.
    void PrepareRichEditor(const TRect &bounds, const AnsiString &text);
    // Kind 5 over the cell: numerator and denominator (trimmed) about the bar in the middle.
    void PrepareFractionEditor(const TRect &cell, int textHeight, const AnsiString &up, const AnsiString &down);
    // Kinds 6 and 8 over the cell, moved up to stay above clientBottom: the heading, the date (its
    // "dd.mm.yyyy" text) or the list, the two buttons.
    void PrepareDateEditor(const TRect &cell, int clientTop, int clientBottom, const AnsiString &heading,
                           const AnsiString &date);
    void PrepareListEditor(const TRect &cell, int clientTop, int clientBottom, const AnsiString &heading,
                           const TListCellItems &items);
    // Kind 9 over the cell, placed as the pickers are.
    void PrepareButtonEditor(const TRect &cell, int clientTop, int clientBottom);

    // Shows the form modally in EditMode through the prompt seam: the mode's control is shown before
    // (so that a scripted answer finds it) and hidden again after. Returns the modal result.
    int ShowEditor();

    // The control of EditMode made visible, and focused when the form is on the screen.
    void FormShow(TObject *Sender);
    // The control of EditMode hidden again.
    void FormClose(TObject *Sender, TCloseAction &Action);

    // The panel or editor that EditMode shows (null for 0, 7 and unknown kinds).
    TWinControl *ModeControl() const;
    // The control of EditMode that takes the focus.
    TWinControl *ModeFocusControl() const;

private:
    void ShowModeControl(bool show);
    void PlacePicker(const TRect &cell, int clientTop, int clientBottom, const AnsiString &heading, TWinControl *field);
};
