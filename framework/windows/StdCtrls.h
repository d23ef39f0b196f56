#pragma once
// The standard controls: buttons, labels, edits, memos, list and combo boxes, check and radio boxes.
#include <memory>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/windows/Controls.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle { csDropDown, csDropDownList };

// A button style bit for CreateParams (the system's value; its macro stands where <windows.h> came
// first): the caption wraps over several lines.
#ifndef BS_MULTILINE
constexpr unsigned long BS_MULTILINE = 0x2000;
#endif

class TButton : public TWinControl {
public:
    explicit TButton(TComponent *owner);
    // The form's ModalResult becomes the button's (when not mrNone), then OnClick runs.
    void Click() override;
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Enter presses the default button; Esc the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void CommandNotify(unsigned code) override;
    // Shows the button as the default one or not (an owner-drawn button keeps the flag for its
    // drawing instead). An owner-drawn button (BS_OWNERDRAW added in CreateParams) draws itself on
    // CN_DRAWITEM.
    virtual void SetButtonStyle(bool isDefault);

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent *owner);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // Fit the size to the text: without word wrap both width and height, with it only the height.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Let the parent's background show through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

protected:
    void CreateParams(TCreateParams &params) override;
    HBRUSH ControlColor(HDC dc) override;
    void AdjustSize() override;
    void BoundsChanged() override;

private:
    bool wordWrap_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool adjusting_ = false;
};

// The text box behind TEdit and TMemo.
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent *owner);
    AnsiString GetText() const override;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // The most characters the user may type; 0 for no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    // Selection as character offsets of the text.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    AnsiString SelText() const;
    void SetSelText(const AnsiString &text);
    void SelectAll();
    void Clear() { SetText(AnsiString()); }
    // The clipboard: the selection cut or copied, the clipboard's text put in place of the selection,
    // the selection removed.
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection();
    // Room kept free inside the box left and right of the text, in pixels.
    int LeftMargin() const { return leftMargin_; }
    int RightMargin() const { return rightMargin_; }
    void SetMargins(int left, int right);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void CommandNotify(unsigned code) override;
    void TextChanged() override;
    void FontChanged() override;

private:
    void ApplyMargins();
    bool readOnly_ = false;
    int leftMargin_ = -1, rightMargin_ = -1;
    int maxLength_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    int selStart_ = 0, selLength_ = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent *owner);
};

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent *owner);
    ~TMemo() override;
    // The text as lines; changing them changes the memo's text.
    TStrings *Lines() const { return lines_.get(); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

protected:
    void CreateParams(TCreateParams &params) override;

private:
    std::unique_ptr<TStrings> lines_;
    TAlignment alignment_ = taLeftJustify;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
};

// Items of a list or combo box: kept here and mirrored into the control's window.
class TListControlItems;

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent *owner);
    ~TListBox() override;
    TStrings *Items() const;
    // The selected item (-1: none). Setting it scrolls the item into view.
    int ItemIndex() const;
    void SetItemIndex(int index);
    int TopIndex() const;
    void Clear();

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void CommandNotify(unsigned code) override;

private:
    friend class TListControlItems;
    std::unique_ptr<TListControlItems> items_;
    int itemIndex_ = -1;
};

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent *owner);
    ~TComboBox() override;
    TStrings *Items() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    AnsiString GetText() const override;
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count) { dropDownCount_ = count; }
    // Whether the list is dropped down; false closes it.
    bool DroppedDown() const;
    void SetDroppedDown(bool dropped);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;
    void CommandNotify(unsigned code) override;

private:
    friend class TListControlItems;
    std::unique_ptr<TListControlItems> items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDownList;
    int dropDownCount_ = 8;
};

// What a check box and a radio button share: a BUTTON window whose check state is kept while there is
// no window and given to the window when it is made.
class TButtonControl : public TWinControl {
protected:
    explicit TButtonControl(TComponent *owner);
    TCheckBoxState CheckState() const { return state_; }
    // Keeps the state and shows it; false (nothing done) when it is the state already.
    bool ChangeCheckState(TCheckBoxState state);
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;

private:
    TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent *owner);
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return CheckState(); }
    // Setting the state runs OnClick, as a click does.
    void SetState(TCheckBoxState state);
    // Clicking cycles through the grayed state too.
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool allow);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    void CreateParams(TCreateParams &params) override;
    void CommandNotify(unsigned code) override;

private:
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent *owner);
    bool Checked() const { return CheckState() == cbChecked; }
    // Checking a radio button clears the others of the same parent and runs OnClick.
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams &params) override;
    void CommandNotify(unsigned code) override;
};
