// The data-entry supervisor on the form: classifying and attaching controls, the current field's text
// and focus, the close query and the memo's text.
#include <windows.h>

#include <memory>

#include "controls/supervisor/SpyEdit.h"
#include "framework/windows/Buttons.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/Subclass.h"

void TSpyEdit_Bs::FocusIfPossible(TWinControl *control)
{
    if (control && control->CanFocus())
        control->SetFocus();
}

void TSpyEdit_Bs::WatchPastes(TWinControl *field)
{
    if (pasteHook_ && pasteHook_->Control() == field)
        return;
    pasteHook_.reset();
    if (!field)
        return;
    pasteHook_ = std::make_shared<TSubClass>();
    pasteHook_->Hook(field, [this](TMessage &m) { FieldMessage(m); });
}

void TSpyEdit_Bs::FieldMessage(TMessage &m)
{
    // The hook goes with the field's window: the message is passed on before anything else.
    std::shared_ptr<TSubClass> hook = pasteHook_;
    if (m.Msg == WM_PASTE && !pasting_ && currentDescriptor_ && currentKind_ != SpyKind::None) {
        PasteIntoField();
        m.Result = 0;
        return;
    }
    hook->CallOldProc(m);
}

void TSpyEdit_Bs::BindForm(TForm *form, const SpyControlIdRow *ids, uint8_t *descriptors)
{
    WatchPastes(nullptr);
    currentEdit_ = nullptr;
    currentMemo_ = nullptr;
    currentKind_ = SpyKind::None;
    form_ = form;
    ids_ = ids;
    descriptors_ = descriptors;
    FocusHome();
}

bool TSpyEdit_Bs::ClassifyControl(SSpy_CBIterator *request)
{
    request->kind = SpyKind::None;
    if (!form_ || request->index >= static_cast<uint32_t>(form_->ComponentCount()))
        return false;
    TComponent *component = form_->Components(static_cast<int>(request->index));
    auto found = [&](uint8_t kind, const AnsiString &name) {
        request->kind = kind;
        request->name = name;
        request->component = component;
        return true;
    };
    if (dynamic_cast<TEdit *>(component))
        return found(SpyKind::Edit, component->Name());
    if (dynamic_cast<TMemo *>(component))
        return found(SpyKind::Memo, component->Name());
    if (ControlCallback) {
        SSpy_CBIterator asked;
        asked.request = SpyRequest::Classify;
        asked.component = component;
        if (ControlCallback(&asked))
            return found(asked.kind, asked.name);
    }
    switch (request->operation) {
    case SpyOperation::Clear:
    case SpyOperation::SetPopupMenu:
    case SpyOperation::AttachCurrent:
    case SpyOperation::AttachSecond:
        return false;  // the operations on text look only for edits, memos and the callback's controls
    default: break;
    }
    if (dynamic_cast<TComboBox *>(component))
        return found(SpyKind::ComboBox, component->Name());
    if (dynamic_cast<TMenuItem *>(component))
        return found(SpyKind::MenuItem, component->Name());
    if (dynamic_cast<TButton *>(component))
        return found(SpyKind::Button, component->Name());
    if (dynamic_cast<TSpeedButton *>(component))
        return found(SpyKind::SpeedButton, component->Name());
    if (dynamic_cast<TRadioButton *>(component))
        return found(SpyKind::RadioButton, component->Name());
    if (dynamic_cast<TCheckBox *>(component))
        return found(SpyKind::CheckBox, component->Name());
    if ((request->operation == SpyOperation::SetEditable || request->operation == SpyOperation::SetVisible) &&
        dynamic_cast<TLabel *>(component))
        return found(SpyKind::Label, component->Name());
    return false;
}

bool TSpyEdit_Bs::AttachControl(uint8_t operation, const char *name)
{
    const bool current = operation == SpyOperation::AttachCurrent;
    if (current) {
        currentKind_ = SpyKind::None;
        currentEdit_ = nullptr;
        currentMemo_ = nullptr;
    } else if (operation == SpyOperation::AttachSecond) {
        secondKind_ = SpyKind::None;
        secondEdit_ = nullptr;
        secondMemo_ = nullptr;
    }
    SSpy_CBIterator request;
    request.operation = operation;
    if (ControlCallback) {
        request.request = SpyRequest::Notice;
        ControlCallback(&request);
    }
    request.request = SpyRequest::Classify;
    if (!form_)
        return false;
    const AnsiString wanted = name ? name : "";
    bool found = false;
    for (int i = 0; i < form_->ComponentCount() && !found; ++i) {
        request.index = static_cast<uint32_t>(i);
        found = ClassifyControl(&request) && request.name == wanted;
    }
    if (!found)
        return false;

    // Both kinds take the one found: the Show operations keep the current kind and put it back.
    currentKind_ = request.kind;
    secondKind_ = request.kind;
    switch (request.kind) {
    case SpyKind::Edit:
    case SpyKind::Memo: {
        // dynamic_cast: a callback may claim these kinds for a control of another class.
        TEdit *edit = request.kind == SpyKind::Edit ? dynamic_cast<TEdit *>(request.component) : nullptr;
        TMemo *memo = request.kind == SpyKind::Memo ? dynamic_cast<TMemo *>(request.component) : nullptr;
        TCustomEdit *box = edit ? static_cast<TCustomEdit *>(edit) : memo;
        if (current) {
            // A read-only field (TabStop off) cannot become the current one.
            if (!box || !box->TabStop()) {
                currentKind_ = SpyKind::None;
                return false;
            }
            currentEdit_ = edit;
            currentMemo_ = memo;
        } else {
            secondEdit_ = edit;
            secondMemo_ = memo;
        }
        return true;
    }
    case SpyKind::Callback:
        if (ControlCallback) {
            request.request = SpyRequest::Perform;
            ControlCallback(&request);
        }
        return true;
    default: return true;
    }
}

bool TSpyEdit_Bs::SelectControl(uint32_t id)
{
    currentEdit_ = nullptr;
    currentMemo_ = nullptr;
    currentKind_ = SpyKind::None;
    SetErrorCode(0);
    SetModified(false);
    checkedRow_ = nullptr;
    const bool selected =
        FindControlId(id) && AttachControl(SpyOperation::AttachCurrent, currentId_->name) && FindDescriptor(id);
    if (selected && currentEdit_)
        WatchPastes(currentEdit_);
    else if (selected && currentMemo_)
        WatchPastes(currentMemo_);
    else
        WatchPastes(nullptr);
    return selected;
}

bool TSpyEdit_Bs::EnterField(uint32_t id)
{
    if (!SelectControl(id))
        return false;
    if (LoadCurrentText()) {
        flags_ |= SpyFlag::FieldEntered;
        return true;
    }
    FocusHome();
    return false;
}

bool TSpyEdit_Bs::LoadCurrentText()
{
    switch (currentKind_) {
    case SpyKind::None: return false;
    case SpyKind::Edit:
    case SpyKind::Memo: {
        TCustomEdit *box = currentKind_ == SpyKind::Edit ? static_cast<TCustomEdit *>(currentEdit_)
                                                         : static_cast<TCustomEdit *>(currentMemo_);
        if (!box)
            return false;
        entryText_ = currentKind_ == SpyKind::Edit ? currentEdit_->Text() : MemoText(currentMemo_);
        currentText_ = entryText_;
        if (box->TabStop())
            FocusIfPossible(box);
        return true;
    }
    default: {
        SSpy_CBIterator request;
        if (!AskCurrent(request, SpyRequest::ReadText))
            return false;
        entryText_ = request.text;
        currentText_ = entryText_;
        auto *control = dynamic_cast<TWinControl *>(request.component);
        if (control && control->TabStop())
            FocusCurrent();
        return true;
    }
    }
}

bool TSpyEdit_Bs::ReadCurrentText()
{
    caret_ = -1;
    if (currentKind_ == SpyKind::Edit && currentEdit_) {
        currentText_ = currentEdit_->Text();
        caret_ = currentEdit_->SelStart();
        return true;
    }
    if (currentKind_ == SpyKind::Memo && currentMemo_) {
        currentText_ = MemoText(currentMemo_);
        return true;
    }
    SSpy_CBIterator request;
    if (!AskCurrent(request, SpyRequest::ReadText))
        return false;
    currentText_ = request.text;
    return true;
}

bool TSpyEdit_Bs::IsCurrentFocused()
{
    switch (currentKind_) {
    case SpyKind::None: return false;
    case SpyKind::Edit: return currentEdit_ && currentEdit_->Focused();
    case SpyKind::Memo: return currentMemo_ && currentMemo_->Focused();
    default: {
        SSpy_CBIterator request;
        return AskCurrent(request, SpyRequest::IsFocused);
    }
    }
}

bool TSpyEdit_Bs::AskCurrent(SSpy_CBIterator &request, uint8_t code, uint8_t operation)
{
    if (currentKind_ == SpyKind::None || !ControlCallback)
        return false;
    request.request = code;
    request.operation = operation;
    request.kind = currentKind_;
    return ControlCallback(&request);
}

bool TSpyEdit_Bs::IsFocusedAndModified() { return IsCurrentFocused() && Modified(); }

bool TSpyEdit_Bs::IsEditEmpty() const { return !currentEdit_ || currentEdit_->Text().empty(); }

bool TSpyEdit_Bs::IsMemoEmpty() const { return !currentMemo_ || currentMemo_->Text().empty(); }

void TSpyEdit_Bs::FocusCurrent()
{
    if (currentKind_ == SpyKind::Edit && currentEdit_) {
        FocusIfPossible(currentEdit_);
    } else if (currentKind_ == SpyKind::Memo && currentMemo_) {
        FocusIfPossible(currentMemo_);
    } else {
        SSpy_CBIterator request;
        AskCurrent(request, SpyRequest::Perform, SpyOperation::Focus);
    }
}

bool TSpyEdit_Bs::CloseQueryCheck(bool &canClose)
{
    if (Has(SpyFlag::ExitKey))
        return false;
    if (!Has(SpyFlag::Escaped) && Has(SpyFlag::AskAtClose) && QuestionFunction && QuestionFunction(AnsiString(), 6))
        flags_ |= SpyFlag::CloseConfirmed | SpyFlag::Escaped;
    if (Has(SpyFlag::CloseConfirmed)) {
        if (form_)
            form_->SetModalResult(mrOk);
        flags_ &= ~SpyFlag::CloseConfirmed;
        if (OnCloseCheck && !OnCloseCheck())
            canClose = false;
        return true;
    }
    if (form_)
        form_->SetModalResult(mrCancel);
    return false;
}

AnsiString TSpyEdit_Bs::MemoText(TMemo *memo)
{
    if (!memo)
        return AnsiString();
    TStrings *lines = memo->Lines();
    if (lines->Count() == 0)
        return memo->Text();
    AnsiString text = lines->Strings(0);
    for (int i = 1; i < lines->Count(); ++i) {
        text += ' ';
        text += lines->Strings(i);
    }
    return text;
}

void TSpyEdit_Bs::AutoSizeText(const AnsiString &text, TCanvas *canvas, TMemo *memo)
{
    if (!memo)
        return;
    memo->Lines()->Clear();
    memo->SetText(AnsiString());
    if (text.empty() || !canvas)
        return;
    auto saved = std::make_unique<TFont>();
    saved->Assign(*canvas->Font());
    canvas->Font()->Assign(*memo->Font());
    int widths[256];
    canvas->CharWidths(widths);
    canvas->Font()->Assign(*saved);
    const int room = memo->ClientWidth();

    const size_t n = text.size();
    size_t start = 0;
    while (start < n) {
        int sum = 0;
        size_t end = start;  // one past the last character that fits
        while (end < n) {
            int w = widths[static_cast<unsigned char>(text[end])];
            if (sum + w > room)
                break;
            sum += w;
            ++end;
        }
        if (end == n) {
            memo->Lines()->Add(text.substr(start));
            break;
        }
        // Break before the last blank, "." or "," of the line, but never before its first character.
        size_t cut = end;
        for (size_t j = end; j > start + 1;) {
            --j;
            char c = text[j];
            if (c == ' ' || c == '.' || c == ',') {
                cut = j;
                break;
            }
        }
        if (cut == start)
            cut = start + 1;  // not even one character fits: it takes a line of its own
        memo->Lines()->Add(text.substr(start, cut - start));
        start = cut;
    }
    memo->SetSelStart(0);
    memo->SetSelLength(0);
}
