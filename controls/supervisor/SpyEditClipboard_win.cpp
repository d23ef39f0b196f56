// The data-entry supervisor and the clipboard: a pasted text is checked against the current field and
// then goes through the same Enter check as typed input; a copied text is the field's selection or
// whole text, a memo's line breaks made blanks.
#include "base/input/fun_other.h"
#include "controls/supervisor/SpyEdit.h"
#include "framework/windows/Clipbrd.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"

namespace {
constexpr uint16_t KeyEnter = 13;
}

AnsiString TSpyEdit_Bs::PasteText() { return ReadClipboardText(); }

void TSpyEdit_Bs::CopyText(const AnsiString &text)
{
    if (!text.empty())
        Clipboard()->SetAsText(text);
}

AnsiString TSpyEdit_Bs::ClipboardTextForField()
{
    if (!currentDescriptor_ || currentKind_ == SpyKind::None)
        return AnsiString();
    const SpyFieldDescriptor d = ReadDescriptorRow(currentDescriptor_);
    return PasteTextForField(PasteText(), currentKind_, d.type, DecimalSeparator);
}

void TSpyEdit_Bs::PasteIntoField()
{
    if (!currentDescriptor_ || currentKind_ == SpyKind::None)
        return;
    const AnsiString text = ClipboardTextForField();
    if (text.empty())
        return;
    const uint32_t type = ReadDescriptorRow(currentDescriptor_).type;
    switch (currentKind_) {
    case SpyKind::Edit:
        if (!currentEdit_)
            return;
        if (type == SpyFieldInteger || type == SpyFieldShortDecimal || type == SpyFieldLongDecimal) {
            currentEdit_->SetText(text);  // the checked number, its separator already the locale's
        } else {
            pasting_ = true;
            currentEdit_->PasteFromClipboard();
            pasting_ = false;
        }
        break;
    case SpyKind::Memo:
        if (!currentMemo_)
            return;
        pasting_ = true;
        currentMemo_->PasteFromClipboard();
        pasting_ = false;
        // The memo holds one text wrapped to its width: the pasted line breaks become blanks.
        if (form_)
            AutoSizeText(MemoText(currentMemo_), form_->Canvas(), currentMemo_);
        break;
    default: {
        SSpy_CBIterator request;
        request.text = text;
        if (!AskCurrent(request, SpyRequest::Perform, SpyOperation::Paste))
            return;
        break;
    }
    }
    SetModified(true);
    HandleKey(KeyEnter);
}

void TSpyEdit_Bs::CopyFromField()
{
    if (!currentDescriptor_ || currentKind_ == SpyKind::None)
        return;
    AnsiString text;
    switch (currentKind_) {
    case SpyKind::Edit:
        if (!currentEdit_)
            return;
        text = currentEdit_->SelLength() > 0 ? currentEdit_->SelText() : currentEdit_->Text();
        break;
    case SpyKind::Memo:
        if (!currentMemo_)
            return;
        text = currentMemo_->SelLength() > 0 ? LineBreaksToBlanks(currentMemo_->SelText()) : MemoText(currentMemo_);
        break;
    default: {
        SSpy_CBIterator request;
        AskCurrent(request, SpyRequest::ReadText);
        text = request.text;
        break;
    }
    }
    CopyText(text);
}
