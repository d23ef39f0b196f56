// The supervisor's key filters and the Enter check: what a field lets in, whether Enter brings a real
// change, and putting the old text back when the owner rejects it.
#include <cmath>
#include <cstdlib>

#include "base/keys/KeyCodes.h"
#include "base/numbers/NumberText.h"
#include "controls/supervisor/SpyEdit.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"

namespace {
constexpr uint16_t KeyBackspace = 8, KeyEnter = 13, KeyEscape = 27, KeyDelete = 46, KeyF12 = 123;
constexpr uint32_t CodeCtrlC = 579, CodeCtrlV = 598, CodeCtrlF12 = 635, CodeCtrlInsert = 557, CodeShiftInsert = 1069;
// Overflow of an integer field's text.
constexpr int32_t ErrorIntegerOverflow = 302;
}  // namespace

char TSpyEdit_Bs::KeyPressFilter(char key)
{
    if (!currentDescriptor_ || currentKind_ == SpyKind::None)
        return 0;
    const auto code = static_cast<unsigned char>(key);
    char kept = key;
    if (code != KeyBackspace) {
        const SpyFieldDescriptor d = ReadDescriptorRow(currentDescriptor_);
        checkedId_ = d.id;
        switch (currentKind_) {
        case SpyKind::Edit:
            if (d.type == SpyFieldInteger || d.type == SpyFieldShortDecimal || d.type == SpyFieldLongDecimal)
                kept = NumericKeyFilter(key);
            else if (code < 32)
                kept = 0;
            break;
        case SpyKind::Memo:
        case SpyKind::Callback:
            // Copy, paste and cut pass; Enter and Tab do not make lines of their own.
            if (code < 32 && code != 3 && code != 22 && code != 24)
                kept = 0;
            break;
        default: break;
        }
    }
    if (kept)
        SetModified(true);
    return kept;
}

char TSpyEdit_Bs::NumericKeyFilter(char key)
{
    ReadCurrentText();
    int selection = currentKind_ == SpyKind::Edit && currentEdit_ ? currentEdit_->SelLength() : 0;
    const SpyFieldDescriptor d = currentDescriptor_ ? ReadDescriptorRow(currentDescriptor_) : SpyFieldDescriptor();
    return FilterNumberKey(currentText_, caret_, selection, key, d.type, d.flags, DecimalSeparator);
}

uint16_t TSpyEdit_Bs::KeyDownFilter(uint16_t key, TShiftState shift, bool closeForm)
{
    if (mode_ == 1 && key == KeyDelete) {
        HandleKey(key);
        return key;
    }
    return ShortcutFilter(KeyToCode(key, shift), closeForm) ? key : 0;
}

uint32_t TSpyEdit_Bs::ShortcutFilter(uint32_t code, bool closeForm)
{
    switch (code) {
    case CodeCtrlC:
    case CodeCtrlV: return code;
    case KeyEnter:
        if (mode_ == 1) {
            if (currentKind_ == SpyKind::Edit) {
                HandleKey(KeyEnter);
                // Accepted or restored, the field is left for the home control.
                if (HomeControl) {
                    currentDescriptor_ = nullptr;
                    currentKind_ = SpyKind::None;
                    FocusIfPossible(HomeControl);
                }
            }
        } else if (mode_ == 2) {
            if (OnEnter)
                SetModified(OnEnter());
        }
        return code;
    case KeyEscape:
    case KeyF12:
    case CodeCtrlF12:
        flags_ |= code == KeyEscape ? SpyFlag::Escaped : SpyFlag::ExitKey;
        if (closeForm && form_)
            form_->Close();
        return code;
    case CodeCtrlInsert:
    case CodeShiftInsert: return 0;
    default: return code;
    }
}

void TSpyEdit_Bs::HandleKey(uint16_t key)
{
    if (key == KeyBackspace || key == KeyDelete) {
        SetModified(true);
        return;
    }
    if (key == KeyEnter && Modified()) {
        if (!IsValueChanged()) {
            SetModified(false);
        } else {
            const int32_t error = OnField ? OnField(FieldEventCheck) : 0;
            if (error != 0) {
                RejectEntry(error);
            } else {
                if (OnField)
                    OnField(FieldEventAccepted);
                flags_ |= SpyFlag::Accepted;
                SetModified(false);
                checkedRow_ = nullptr;
            }
        }
    }
    if (OnAfterKey)
        OnAfterKey();
}

bool TSpyEdit_Bs::IsValueChanged()
{
    checkedType_ = 0;
    checkedId_ = 0;
    if (!currentDescriptor_ || currentKind_ == SpyKind::None)
        return false;
    const SpyFieldDescriptor d = ReadDescriptorRow(currentDescriptor_);
    checkedType_ = static_cast<uint8_t>(d.type);
    checkedId_ = d.id;
    if (!ReadCurrentText())
        return false;
    const bool changed = currentText_ != entryText_;
    newText_ = currentText_;
    oldText_ = entryText_;
    if (currentKind_ != SpyKind::Edit)
        return changed;
    // A number field never accepts a text that is no number, whatever put it there.
    const bool number = d.type == SpyFieldInteger || d.type == SpyFieldShortDecimal || d.type == SpyFieldLongDecimal;
    if (number && !newText_.empty() && !IsNumberFieldText(newText_, d.type, ',')) {
        RejectEntry(-1);
        return false;
    }
    bool oneSided = newText_.empty() != oldText_.empty();

    if (d.type == SpyFieldInteger) {
        bool overflow = false;
        newInteger_ = DigitsToInt(newText_.c_str(), nullptr, 0, 0, &overflow);
        if (overflow) {
            RejectEntry(ErrorIntegerOverflow);
            return false;
        }
        bool ignored = false;
        oldInteger_ = DigitsToInt(oldText_.c_str(), nullptr, 0, 0, &ignored);
        if (!oneSided && newInteger_ == oldInteger_)
            return false;
    } else if (d.type == SpyFieldShortDecimal || d.type == SpyFieldLongDecimal) {
        newNumber_ = TextToDouble(newText_.c_str(), nullptr, ',');
        oldNumber_ = TextToDouble(oldText_.c_str(), nullptr, ',');
        decimals_ = static_cast<int32_t>(d.value);
        if (d.flags & SpyFieldDecimalsFollowText) {
            decimals_ = DecimalsOfText(currentText_.data(), static_cast<int>(currentText_.size()));
            if (decimals_ != static_cast<int32_t>(d.value))
                oneSided = true;
            // The value this field held before, for a rejection to put back.
            valueBeforeCheck_ = d.value;
            checkedRow_ = currentDescriptor_;
            SpyFieldDescriptor updated = d;
            updated.value = static_cast<uint32_t>(decimals_);
            WriteDescriptorRow(currentDescriptor_, updated);
        }
        const int places = std::abs(decimals_);
        newNumber_ = RoundDoubleDecimals(newNumber_, places);
        oldNumber_ = RoundDoubleDecimals(oldNumber_, places);
        if (!oneSided && std::fabs(newNumber_ - oldNumber_) < 1e-10)
            return false;
    }
    return changed;
}

void TSpyEdit_Bs::RejectEntry(int32_t code)
{
    if (currentKind_ == SpyKind::None)
        return;
    if (code < 0) {
        RestoreText();
        return;
    }
    SetErrorCode(code);
    if (code == 0)
        return;
    if (code >= 1000) {
        if (SecondMessageFunction)
            SecondMessageFunction(AnsiString(), code);
    } else if (MessageFunction) {
        MessageFunction(AnsiString(), code);
    }
    RestoreText();
}

void TSpyEdit_Bs::RestoreText()
{
    flags_ &= ~SpyFlag::FieldEntered;
    // A field whose decimals follow its text gets back the decimals it had before the rejected value.
    if (currentDescriptor_ && checkedRow_ == currentDescriptor_ &&
        (ReadDescriptorRow(currentDescriptor_).flags & SpyFieldDecimalsFollowText)) {
        SpyFieldDescriptor d = ReadDescriptorRow(currentDescriptor_);
        d.value = valueBeforeCheck_;
        WriteDescriptorRow(currentDescriptor_, d);
        decimals_ = static_cast<int32_t>(valueBeforeCheck_);
        checkedRow_ = nullptr;
    }
    if (currentKind_ == SpyKind::Edit && currentEdit_) {
        currentEdit_->SetText(entryText_);
        SetModified(false);
        FocusIfPossible(currentEdit_);
    } else if (currentKind_ == SpyKind::Memo && currentMemo_) {
        if (form_)
            AutoSizeText(entryText_, form_->Canvas(), currentMemo_);
        else
            currentMemo_->SetText(entryText_);
        SetModified(false);
        FocusIfPossible(currentMemo_);
    } else {
        SSpy_CBIterator request;
        request.text = entryText_;
        if (AskCurrent(request, SpyRequest::Perform, SpyOperation::WriteText)) {
            SetModified(false);
            AskCurrent(request, SpyRequest::Perform, SpyOperation::Focus);
        }
    }
}

bool TSpyEdit_Bs::CommitPending()
{
    if (Modified())
        HandleKey(KeyEnter);
    const bool clean = errorCode_ == 0;
    errorCode_ = 0;
    return clean;
}
