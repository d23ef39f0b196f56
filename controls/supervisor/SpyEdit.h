#pragma once
// The data-entry supervisor: it watches the input controls of one form for a data-entry screen. The
// owner names each control of interest by a numeric id (control-id table) and says what kind of value
// each id holds (field-descriptor table); the form's handlers then pass their events here. The
// supervisor keeps the text a field held when it was entered, filters the keys typed into it, decides
// on Enter whether the value really changed, lets the owner accept or reject the change, puts the old
// text back after a rejection, and keeps a word of state flags the owner reads when the form closes.
//
// Controls of the framework's kinds are recognised by class; any other control is served by the
// owner's control callback through a request record (SSpy_CBIterator).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/windows/Controls.h"

class TComponent;
class TForm;
class TEdit;
class TMemo;
class TWinControl;
class TPopupMenu;
class TCanvas;
class TComboBox;
class TScreen;
class TSubClass;

// ---- tables ---------------------------------------------------------------------------------------

// A row of the control-id table: an id and the component's name. The table ends with a row whose id
// is 0.
struct SpyControlIdRow {
    uint32_t id;
    const char *name;
};

// The field-descriptor table is packed: rows of 14 bytes with no padding, ended by a row whose id is 0.
// Rows are read and written through SpyFieldDescriptor; the supervisor writes only the value word.
constexpr int SpyDescriptorRowSize = 14;

struct SpyFieldDescriptor {
    uint32_t id = 0;
    uint32_t type = 0;   // SpyFieldInteger, SpyFieldShortDecimal, SpyFieldLongDecimal; other: text
    uint32_t value = 0;  // decimal fields: the number of decimals (a negative one by its magnitude)
    uint8_t spare = 0;   // the owner's; the supervisor leaves it alone
    uint8_t flags = 0;   // SpyFieldSigned, SpyFieldDecimalsFollowText
};

constexpr uint32_t SpyFieldInteger = 8;               // up to 9 characters
constexpr uint32_t SpyFieldShortDecimal = 9;          // up to 6 digits in all
constexpr uint32_t SpyFieldLongDecimal = 10;          // up to 9 digits before and 9 after the separator
constexpr uint8_t SpyFieldSigned = 0x02;              // a leading sign may be typed
constexpr uint8_t SpyFieldDecimalsFollowText = 0x20;  // the decimals are those of the text typed

SpyFieldDescriptor ReadDescriptorRow(const uint8_t *row);
void WriteDescriptorRow(uint8_t *row, const SpyFieldDescriptor &descriptor);
// A packed table of these rows, with its end row.
std::vector<uint8_t> PackDescriptorTable(std::initializer_list<SpyFieldDescriptor> rows);
// The row of an id in a packed table (null when the table is null or the id absent or 0).
uint8_t *FindDescriptorRow(uint8_t *table, uint32_t id);
// The value word of an id's row; 0 when absent.
uint32_t GetDescriptorValue(uint8_t *table, uint32_t id);
// Sets the value word of an existing row; false when there is none.
bool SetDescriptorValue(uint8_t *table, uint32_t id, uint32_t value);

// What a number field keeps of a typed key (0 refuses it): `caret` is the selection start in the text
// (-1 unknown: digits are not limited), `selectionLength` what the key replaces. "." becomes the
// separator in a decimal field; a sign goes only into an empty field that allows one; a separator is
// refused when the text keeps one already. Limits: an integer field 9 characters; a short decimal 6
// digits in all; a long decimal 9 before and 9 after the separator.
char FilterNumberKey(const AnsiString &text, int caret, int selectionLength, char key, uint32_t type, uint8_t flags,
                     char separator);

// The number of decimals a decimal text shows: the characters after the first "," (at most 9 of them),
// trailing zeros beyond the second dropped; at least 2. Reads no further than `length` bytes.
int32_t DecimalsOfText(const char *text, int length);

// ---- texts of the name-based, clipboard and text operations -----------------------------------

// The text a Show operation writes for a number: "0" or nothing (by `showZero`) for a value whose
// magnitude is below 1e-10 or that rounds to nothing at the decimals; otherwise DoubleToText of the
// value with the decimals and the zeros for whole numbers.
AnsiString RealShowText(double value, int decimals, int zeros, bool showZero);
// "0" or nothing (by `showZero`) for 0; otherwise the value's decimal digits.
AnsiString IntegerShowText(int32_t value, bool showZero);
// Nothing for 0; otherwise dd.mm.yyyy of a packed date (years 2000-2127).
AnsiString DateShowText(uint16_t packed);
// Whether the text is a number a field of the number type (SpyFieldInteger, a decimal) holds: digits
// with a leading sign or none, a decimal one separator at most.
bool IsNumberFieldText(const AnsiString &text, uint32_t type, char separator);
// What a field of the kind (and, for an edit, the field type) takes of a clipboard text, or nothing:
// an integer field a valid integer; a decimal field a valid decimal, its first "." made the separator
// first; a memo, a text edit or the callback's control a text with no control character other than
// CR, LF and the copy, paste and cut characters.
AnsiString PasteTextForField(const AnsiString &text, uint8_t kind, uint32_t type, char separator);
// A memo's selection as one line: each CR or LF becomes a blank, and a CR or LF right after one that
// did is dropped, so a line break gives one blank.
AnsiString LineBreaksToBlanks(std::string_view text);

// ---- kinds, requests, flags -----------------------------------------------------------------------

// What a component is to the supervisor. A descendant of a class takes its kind.
namespace SpyKind {
constexpr uint8_t None = 0, Edit = 1, Memo = 2, MenuItem = 3, ComboBox = 4, Button = 5, SpeedButton = 6, Label = 7,
                  CheckBox = 8, Callback = 9, RadioButton = 10;
}

// Request codes of SSpy_CBIterator.
namespace SpyRequest {
constexpr uint8_t Notice = 1,  // before attaching: the search is about to begin
    Classify = 3,              // say what kind the component is
    Perform = 4,               // perform the operation
    ShowText = 7,              // show the text
    ReadText = 8,              // give the control's text
    IsFocused = 10;            // answer whether the control has the focus
}

// Operations of SSpy_CBIterator.
namespace SpyOperation {
constexpr uint8_t Clear = 1, SetPopupMenu = 2, SetEditable = 3, SetVisible = 4, AttachCurrent = 5, AttachSecond = 6,
                  WriteText = 7, Focus = 8, Paste = 10;
}

// Bits of the state word.
namespace SpyFlag {
constexpr uint32_t Modified = 0x4;            // the current field was typed into
constexpr uint32_t Changed = 0x8;             // the owner's own change mark; counts in HasChanges
constexpr uint32_t OwnerMarkA = 0x40;         // kept for the owner
constexpr uint32_t Accepted = 0x80;           // a value was accepted on Enter
constexpr uint32_t Escaped = 0x200;           // Esc was pressed
constexpr uint32_t CloseConfirmed = 0x400;    // closing with the changes was confirmed
constexpr uint32_t AskAtClose = 0x80000;      // ask before closing
constexpr uint32_t ChangePending = 0x100000;  // the owner's pending change; counts in HasChanges
constexpr uint32_t FieldEntered = 0x400000;   // the current field's text was loaded
constexpr uint32_t OwnerMarkB = 0x10000000;   // kept for the owner
constexpr uint32_t ExitKey = 0x20000000;      // F12 or Ctrl+F12 was pressed
constexpr uint32_t OwnerMarkC = 0x40000000;   // kept for the owner
constexpr uint32_t Error = 0x80000000;        // an error code is set
}  // namespace SpyFlag

// One request from the supervisor to the owner's control callback (or to the name-based operations).
struct SSpy_CBIterator {
    uint8_t request = 0;    // SpyRequest
    uint8_t operation = 0;  // SpyOperation
    uint8_t kind = 0;       // SpyKind; written by classification
    uint8_t spare = 0;
    bool visible = false;   // for SetVisible
    bool editable = false;  // for SetEditable
    uint32_t index = 0;     // the form's component to classify
    TComponent *component = nullptr;
    AnsiString name;      // the component's Name
    AnsiString text;      // read or to be written
    uint32_t colour = 0;  // for SetEditable and ShowText
    TPopupMenu *popupMenu = nullptr;
};

// ---- the supervisor -------------------------------------------------------------------------------

class TSpyEdit_Bs {
public:
    // Event 2: check the value about to be accepted (0 accepts, anything else is an error code);
    // event 7: the value was accepted.
    using TFieldEvent = std::function<int32_t(uint8_t event)>;
    using TControlCallback = std::function<bool(SSpy_CBIterator *request)>;
    // The owner's message and question functions get an empty text and the message's number.
    using TMessageFunction = void (*)(const AnsiString &text, int number);
    using TQuestionFunction = bool (*)(const AnsiString &text, int number);

    static constexpr uint8_t FieldEventCheck = 2, FieldEventAccepted = 7;

    TSpyEdit_Bs() = default;
    TSpyEdit_Bs(const TSpyEdit_Bs &) = delete;
    TSpyEdit_Bs &operator=(const TSpyEdit_Bs &) = delete;

    // 1 (the default): Enter on an edit checks it and hands the focus to the home control, Delete is
    // counted as a change; 2: Enter asks the Enter handler; other modes: Enter does nothing.
    uint8_t Mode() const { return mode_; }
    void SetMode(uint8_t mode) { mode_ = mode; }

    // Forgets the current controls, takes the form and the two tables (null tables find nothing) and
    // gives the home control the focus.
    void BindForm(TForm *form, const SpyControlIdRow *ids, uint8_t *descriptors);

    // Table searches: make the row of an id (a name) the current id row; the descriptor of an id the
    // current descriptor, its value the field's decimals.
    bool FindControlId(uint32_t id);
    bool FindControlIdByName(const char *name);
    bool FindDescriptor(uint32_t id);

    // Classifies the form's component at the request's index (its kind, name and component into the
    // request); false when it is of no kind the request's operation looks for, or there is no form.
    bool ClassifyControl(SSpy_CBIterator *request);
    // Finds the component of that name and attaches it as the current (AttachCurrent) or the second
    // (AttachSecond) control. A read-only edit or memo (TabStop off) cannot become current.
    bool AttachControl(uint8_t operation, const char *name);
    // Makes the control of an id current; resets the error code and the modified flag.
    bool SelectControl(uint32_t id);
    // SelectControl, then LoadCurrentText; true when the field can be edited. When it cannot, the home
    // control gets the focus.
    bool EnterField(uint32_t id);
    // The current control's text becomes the current and the entry text; the control gets the focus.
    bool LoadCurrentText();
    // The current control's text (and an edit's caret) into the current text.
    bool ReadCurrentText();
    bool IsCurrentFocused();
    bool IsFocusedAndModified();
    bool IsEditEmpty() const;
    bool IsMemoEmpty() const;
    void FocusCurrent();

    // ---- keys ---------------------------------------------------------------------------------------
    // A typed character: the one to keep, or 0. A kept character marks the field modified.
    char KeyPressFilter(char key);
    // The number field's part of it, after reading the text and the caret.
    char NumericKeyFilter(char key);
    // A key-down: the key to keep, or 0. Delete counts as typing (mode 1); Enter checks the field; Esc
    // and F12 mark the flags and, with `closeForm`, close the form; Ctrl+Insert and Shift+Insert are
    // swallowed.
    uint16_t KeyDownFilter(uint16_t key, TShiftState shift, bool closeForm);
    // The same on a key code (the key plus its modifiers): the code to keep, or 0.
    uint32_t ShortcutFilter(uint32_t code, bool closeForm);
    // Backspace and Delete mark the field modified; Enter on a modified field checks and accepts or
    // rejects it; every key but Backspace and Delete ends with the after-key event.
    void HandleKey(uint16_t key);
    // Whether the current text brings a real change against the entry text (numbers by value, at the
    // field's decimals). An integer that overflows is rejected with 302.
    bool IsValueChanged();
    // Reports the error code (from 1000 on through the second message function) and restores the
    // entry text; a negative code only restores.
    void RejectEntry(int32_t code);
    // Puts the entry text back into the current control and gives it the focus.
    void RestoreText();
    // Checks a modified field as Enter does; true when no error resulted. The error code is reset.
    bool CommitPending();

    void SetErrorCode(int32_t code);
    // Sets the bits and resets the error code.
    void SetStateFlags(uint32_t mask);
    void ClearStateFlags(uint32_t mask) { flags_ &= ~mask; }
    uint32_t Flags() const { return flags_; }

    bool Modified() const { return Has(SpyFlag::Modified); }
    void SetModified(bool on) { Put(SpyFlag::Modified, on); }
    bool Changed() const { return Has(SpyFlag::Changed); }
    void SetChanged(bool on) { Put(SpyFlag::Changed, on); }
    bool OwnerMarkA() const { return Has(SpyFlag::OwnerMarkA); }
    void SetOwnerMarkA(bool on) { Put(SpyFlag::OwnerMarkA, on); }
    bool Escaped() const { return Has(SpyFlag::Escaped); }
    void SetEscaped(bool on) { Put(SpyFlag::Escaped, on); }
    // Confirming also marks Esc as pressed; withdrawing the confirmation leaves that mark.
    bool CloseConfirmed() const { return Has(SpyFlag::CloseConfirmed); }
    void SetCloseConfirmed(bool on);
    bool AskAtClose() const { return Has(SpyFlag::AskAtClose); }
    void SetAskAtClose(bool on) { Put(SpyFlag::AskAtClose, on); }
    bool ChangePending() const { return Has(SpyFlag::ChangePending); }
    void SetChangePending(bool on) { Put(SpyFlag::ChangePending, on); }
    bool OwnerMarkB() const { return Has(SpyFlag::OwnerMarkB); }
    void SetOwnerMarkB(bool on) { Put(SpyFlag::OwnerMarkB, on); }
    bool ExitKey() const { return Has(SpyFlag::ExitKey); }
    void SetExitKey(bool on) { Put(SpyFlag::ExitKey, on); }
    bool OwnerMarkC() const { return Has(SpyFlag::OwnerMarkC); }
    void SetOwnerMarkC(bool on) { Put(SpyFlag::OwnerMarkC, on); }

    // Accepted on Enter; else not with an error; else any change the flags record.
    bool HasChanges() const;
    // Shows a message number (from 1000 on through the second message function, less 1000) and clears
    // the modified, Esc, confirmation and ask-at-close flags. Returns 0.
    int32_t ShowMessageCode(int32_t code);
    // Turns the flags into the form's modal result at a close query: true (modal result 1) when closing
    // with the changes was confirmed, when the close check refuses, canClose becomes false. Nothing
    // happens after the exit key.
    bool CloseQueryCheck(bool &canClose);

    // The memo's lines joined by one blank; its whole text when it has no lines.
    static AnsiString MemoText(TMemo *memo);
    // Fills the memo with the text wrapped to its client width, measured with the memo's font on the
    // canvas; a line breaks before a blank, "." or "," where it can.
    static void AutoSizeText(const AnsiString &text, TCanvas *canvas, TMemo *memo);

    // ---- operations on controls named by their component names ----------------------------------------
    // A names argument holds several component names separated by "#"; empty names are skipped.

    // Applies the request's operation (clear, popup menu, editable, visible) to its classified control;
    // a control of the callback's gets the request itself. False for kind 0 or a kind above 10.
    bool ApplyDescriptor(SSpy_CBIterator *request);
    // Applies an operation to every named component of the form: `flag` is the editable and the
    // visible value, the popup menu the one operation 2 sets. Operation 3 colours edits, memos and
    // combo boxes with the window colour when editable, the button face when not. A name no component
    // carries is skipped.
    void ApplyByNames(uint8_t operation, std::string_view names, bool flag, TPopupMenu *popupMenu);
    void ClearTextByNames(std::string_view names) { ApplyByNames(SpyOperation::Clear, names, false, nullptr); }
    void SetPopupByNames(std::string_view names, TPopupMenu *menu)
    {
        ApplyByNames(SpyOperation::SetPopupMenu, names, false, menu);
    }
    // Edits, memos and combo boxes editable or read-only with their colour; buttons, check and radio
    // boxes and menu items enabled or disabled.
    void SetEditableByNames(std::string_view names, bool editable)
    {
        ApplyByNames(SpyOperation::SetEditable, names, editable, nullptr);
    }
    void SetEnabledByNames(std::string_view names, bool enabled) { SetEditableByNames(names, enabled); }
    void SetVisibleByNames(std::string_view names, bool visible)
    {
        ApplyByNames(SpyOperation::SetVisible, names, visible, nullptr);
    }
    // Enables the named controls (typically save buttons) exactly while the screen's focused control
    // is the current edit or memo and it was typed into; disables them otherwise. Nothing while no
    // control has the focus.
    void UpdateEnabledByFocus(TScreen *screen, std::string_view names);

    // Editable: TabStop on and ReadOnly off; not: TabStop off and ReadOnly on; then the colour.
    static void SetEditable(TEdit *edit, bool editable, TColor colour);
    static void SetReadOnly(TMemo *memo, bool editable, TColor colour);
    // Editable: TabStop and Enabled on; not: both off; then the colour. The style is left alone.
    static void SetComboEditable(TComboBox *combo, bool editable, TColor colour);

    // Show operations: each writes into the named edit (ShowTextByName also into a memo, wrapped, or
    // through the callback into its control) with a font colour, and keeps the current field as it
    // was; a name no edit carries gets nothing. Decimals 99 take the decimals of the name's
    // descriptor; when the name has no row in the control-id table nothing is written. The mark
    // colour (green) goes before the second colour.
    void ShowRealByName(const char *name, int decimals, bool mark, int zeros, bool showZero, bool secondColour,
                        double value);
    void ShowIntegerByName(int32_t value, const char *name, bool showZero, bool secondColour);
    void ShowDateByName(uint16_t packed, const char *name, bool secondColour);
    void ShowTextByName(const AnsiString &text, const char *name);
    // Every windowed control of the container whose name has a row in the table gets the first such
    // row's id as its Tag.
    static void AssignTagsByName(TComponent *container, const SpyControlIdRow *table);

    // ---- the clipboard and text helpers -------------------------------------------------------------
    // The clipboard's text when it suits the current field (PasteTextForField), else nothing.
    AnsiString ClipboardTextForField();
    // Pastes that text into the current field (a number field gets it whole, an edit or memo of text
    // pastes by itself, a callback's control through the callback) and checks it at once as Enter
    // does. Nothing when the text does not suit the field.
    void PasteIntoField();
    // Copies the current field's selection, or its whole text when nothing is selected, to the
    // clipboard; a memo's line breaks become blanks. Nothing for an empty text.
    void CopyFromField();
    // The clipboard's text (its Unicode text in code page 1251 first); empty when there is none.
    static AnsiString PasteText();
    // Puts the text on the clipboard (Unicode and code page 1251 text with the Russian locale); an
    // empty text leaves the clipboard as it was.
    static void CopyText(const AnsiString &text);
    // The text without the CR and LF characters at its end.
    static AnsiString TrimLineEnds(const AnsiString &text);
    // The field of the index in a text of fields separated by `separator`; a field does not go past
    // the end character, a NUL or `length` bytes (0: up to the NUL; a null text is empty), and no
    // field is found beyond the end character. A field that does not exist is empty.
    static AnsiString GetDelimitedField(int index, const char *text, int length, char separator, char endChar);

    // ---- state --------------------------------------------------------------------------------------
    int32_t ErrorCode() const { return errorCode_; }
    TForm *Form() const { return form_; }
    const SpyControlIdRow *ControlIds() const { return ids_; }
    uint8_t *Descriptors() const { return descriptors_; }
    const SpyControlIdRow *CurrentIdRow() const { return currentId_; }
    uint8_t *CurrentDescriptor() const { return currentDescriptor_; }
    TEdit *CurrentEdit() const { return currentEdit_; }
    TMemo *CurrentMemo() const { return currentMemo_; }
    uint8_t CurrentKind() const { return currentKind_; }
    TEdit *SecondEdit() const { return secondEdit_; }
    TMemo *SecondMemo() const { return secondMemo_; }
    uint8_t SecondKind() const { return secondKind_; }
    const AnsiString &CurrentText() const { return currentText_; }
    const AnsiString &EntryText() const { return entryText_; }
    int32_t Caret() const { return caret_; }
    double NewNumber() const { return newNumber_; }
    double OldNumber() const { return oldNumber_; }
    int32_t NewInteger() const { return newInteger_; }
    int32_t OldInteger() const { return oldInteger_; }
    const AnsiString &NewText() const { return newText_; }
    const AnsiString &OldText() const { return oldText_; }
    uint8_t CheckedFieldType() const { return checkedType_; }
    uint32_t CheckedFieldId() const { return checkedId_; }
    int32_t Decimals() const { return decimals_; }
    int32_t PreviousDecimals() const { return previousDecimals_; }

    // ---- set by the owner ---------------------------------------------------------------------------
    TWinControl *HomeControl = nullptr;  // takes the focus when a field is left or cannot be entered
    TFieldEvent OnField;
    std::function<void()> OnAfterKey;                  // after every key of HandleKey but Backspace and Delete
    std::function<bool()> OnCloseCheck;                // false refuses closing the form
    std::function<bool()> OnEnter;                     // mode 2: its result becomes the modified flag
    TMessageFunction MessageFunction = nullptr;        // numbers below 1000
    TMessageFunction SecondMessageFunction = nullptr;  // numbers from 1000 on, less 1000
    TQuestionFunction QuestionFunction = nullptr;
    TColor NormalColour = 0;  // font colour of a shown value
    TColor HighlightColour = 0xFF0000;
    TColor SecondColour = 0xFF0000;  // font colour of a shown value in its second state
    TControlCallback ControlCallback;

private:
    bool Has(uint32_t bit) const { return (flags_ & bit) != 0; }
    void Put(uint32_t bit, bool on) { flags_ = on ? flags_ | bit : flags_ & ~bit; }
    // The framework refuses to focus a hidden or disabled window; the supervisor only asks for the
    // focus, so a control that cannot take it is left as it is.
    static void FocusIfPossible(TWinControl *control);
    void FocusHome() { FocusIfPossible(HomeControl); }
    // While an edit or memo is the current field its window procedure is hooked: a paste by the edit's
    // own menu or by a WM_PASTE goes through PasteIntoField, checked as the supervisor's own paste is.
    void WatchPastes(TWinControl *field);
    void FieldMessage(TMessage &message);
    // The first row of the control-id table that carries the name; null when none does.
    const SpyControlIdRow *IdRowOfName(const char *name) const;
    // Sends the request about the current control (its kind filled in) to the control callback; false
    // without a callback or a current control, else the callback's answer.
    bool AskCurrent(SSpy_CBIterator &request, uint8_t code, uint8_t operation = 0);

    uint8_t mode_ = 1;
    int32_t errorCode_ = 0;
    TForm *form_ = nullptr;
    uint32_t flags_ = 0;
    const SpyControlIdRow *ids_ = nullptr;
    uint8_t *descriptors_ = nullptr;
    const SpyControlIdRow *currentId_ = nullptr;
    uint8_t *currentDescriptor_ = nullptr;
    TEdit *currentEdit_ = nullptr;
    TMemo *currentMemo_ = nullptr;
    uint8_t currentKind_ = SpyKind::None;
    TEdit *secondEdit_ = nullptr;
    TMemo *secondMemo_ = nullptr;
    uint8_t secondKind_ = SpyKind::None;
    AnsiString currentText_, entryText_;
    int32_t caret_ = -1;
    double newNumber_ = 0, oldNumber_ = 0;
    int32_t newInteger_ = 0, oldInteger_ = 0;
    AnsiString newText_, oldText_;
    uint8_t checkedType_ = 0;
    uint32_t checkedId_ = 0;
    int32_t decimals_ = 0;
    int32_t previousDecimals_ = 0;
    // The descriptor row whose value the last check rewrote (decimals following the text), and the
    // value it held before; a rejection puts it back.
    uint8_t *checkedRow_ = nullptr;
    uint32_t valueBeforeCheck_ = 0;
    std::shared_ptr<TSubClass> pasteHook_;
    bool pasting_ = false;  // PasteIntoField pastes a text field's text by the edit's own paste
};
