// The data-entry supervisor's operations on controls of its form named by their component names:
// clearing, popup menus, editable or read-only, visible, enabling by the focus, showing values, tags.
#include <cmath>

#include "base/text/TextPrims.h"
#include "controls/supervisor/SpyEdit.h"
#include "framework/windows/Buttons.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"

namespace {
constexpr TColor MarkColour = clGreen;

// Calls `apply` with each non-empty name of a "#"-separated list.
template <class Apply>
void ForEachName(std::string_view names, Apply apply)
{
    while (!names.empty()) {
        const size_t hash = names.find('#');
        const std::string_view name = names.substr(0, hash);
        if (!name.empty())
            apply(name);
        if (hash == std::string_view::npos)
            break;
        names.remove_prefix(hash + 1);
    }
}

// An edit's or a memo's text open to typing or read-only, then its colour.
void SetBoxEditable(TCustomEdit *box, bool editable, TColor colour)
{
    if (!box)
        return;
    box->SetTabStop(editable);
    box->SetReadOnly(!editable);
    box->SetColor(colour);
}
}  // namespace

void TSpyEdit_Bs::SetEditable(TEdit *edit, bool editable, TColor colour) { SetBoxEditable(edit, editable, colour); }

void TSpyEdit_Bs::SetReadOnly(TMemo *memo, bool editable, TColor colour) { SetBoxEditable(memo, editable, colour); }

void TSpyEdit_Bs::SetComboEditable(TComboBox *combo, bool editable, TColor colour)
{
    if (!combo)
        return;
    combo->SetTabStop(editable);
    combo->SetEnabled(editable);
    combo->SetColor(colour);
}

bool TSpyEdit_Bs::ApplyDescriptor(SSpy_CBIterator *request)
{
    if (!request || request->kind == SpyKind::None || request->kind > SpyKind::RadioButton)
        return false;
    TComponent *component = request->component;
    // dynamic_cast throughout: a callback may claim a kind for a component of another class.
    auto *menuItem = dynamic_cast<TMenuItem *>(component);
    auto *control = dynamic_cast<TControl *>(component);
    switch (request->kind) {
    case SpyKind::Edit:
    case SpyKind::Memo: {
        auto *box = dynamic_cast<TCustomEdit *>(component);
        if (!box)
            return true;
        switch (request->operation) {
        case SpyOperation::Clear: box->Clear(); break;
        case SpyOperation::SetPopupMenu: box->SetPopupMenu(request->popupMenu); break;
        case SpyOperation::SetEditable:
            if (request->kind == SpyKind::Edit)
                SetEditable(dynamic_cast<TEdit *>(box), request->editable, request->colour);
            else
                SetReadOnly(dynamic_cast<TMemo *>(box), request->editable, request->colour);
            break;
        case SpyOperation::SetVisible: box->SetVisible(request->visible); break;
        default: break;
        }
        return true;
    }
    case SpyKind::Callback:
        if (ControlCallback)
            ControlCallback(request);
        return true;
    default: break;
    }
    if (request->operation == SpyOperation::SetVisible) {
        if (menuItem)
            menuItem->SetVisible(request->visible);
        else if (control)
            control->SetVisible(request->visible);
    } else if (request->operation == SpyOperation::SetEditable) {
        switch (request->kind) {
        case SpyKind::ComboBox:
            SetComboEditable(dynamic_cast<TComboBox *>(component), request->editable, request->colour);
            break;
        case SpyKind::MenuItem:
        case SpyKind::Button:
        case SpyKind::SpeedButton:
        case SpyKind::CheckBox:
        case SpyKind::RadioButton:
            if (menuItem)
                menuItem->SetEnabled(request->editable);
            else if (control)
                control->SetEnabled(request->editable);
            break;
        default: break;  // a label is only shown or hidden
        }
    }
    return true;
}

void TSpyEdit_Bs::ApplyByNames(uint8_t operation, std::string_view names, bool flag, TPopupMenu *popupMenu)
{
    if (names.empty() || !form_)
        return;
    SSpy_CBIterator request;
    request.operation = operation;
    request.visible = flag;
    request.editable = flag;
    request.popupMenu = popupMenu;
    if (operation == SpyOperation::SetEditable)
        request.colour = flag ? clWindow : clBtnFace;
    ForEachName(names, [&](std::string_view name) {
        request.request = SpyRequest::Classify;
        for (int i = 0; i < form_->ComponentCount(); ++i) {
            request.index = static_cast<uint32_t>(i);
            if (ClassifyControl(&request) && request.name == name) {
                request.request = SpyRequest::Perform;
                ApplyDescriptor(&request);
                return;
            }
        }
    });
}

void TSpyEdit_Bs::UpdateEnabledByFocus(TScreen *screen, std::string_view names)
{
    if (!screen)
        return;
    TWinControl *active = screen->ActiveControl();
    if (!active)
        return;
    AnsiString current;
    if (currentKind_ == SpyKind::Edit && currentEdit_)
        current = currentEdit_->Name();
    else if (currentKind_ == SpyKind::Memo && currentMemo_)
        current = currentMemo_->Name();
    const bool flag = !current.empty() && current == active->Name() && Modified();
    ApplyByNames(SpyOperation::SetEditable, names, flag, nullptr);
}

namespace {
// Keeps the supervisor's current kind across a Show operation, which attaches the named control as
// the second one (and so changes the current kind too).
class KeepCurrentKind {
public:
    KeepCurrentKind(uint8_t &kind) : kind_(kind), saved_(kind) {}
    ~KeepCurrentKind() { kind_ = saved_; }
    KeepCurrentKind(const KeepCurrentKind &) = delete;
    KeepCurrentKind &operator=(const KeepCurrentKind &) = delete;

private:
    uint8_t &kind_;
    uint8_t saved_;
};
}  // namespace

void TSpyEdit_Bs::ShowRealByName(const char *name, int decimals, bool mark, int zeros, bool showZero, bool secondColour,
                                 double value)
{
    KeepCurrentKind keep(currentKind_);
    if (!AttachControl(SpyOperation::AttachSecond, name))
        return;
    if (std::fabs(value) >= 1e-10 && decimals == 99) {
        // The decimals of the name's field; the current id row stays the current field's.
        const SpyControlIdRow *row = IdRowOfName(name);
        if (!row)
            return;
        decimals = static_cast<int32_t>(GetDescriptorValue(descriptors_, row->id));
    }
    if (secondKind_ != SpyKind::Edit || !secondEdit_)
        return;
    secondEdit_->Font()->SetColor(mark ? MarkColour : secondColour ? SecondColour : NormalColour);
    secondEdit_->SetText(RealShowText(value, decimals, zeros, showZero));
}

void TSpyEdit_Bs::ShowIntegerByName(int32_t value, const char *name, bool showZero, bool secondColour)
{
    KeepCurrentKind keep(currentKind_);
    if (!AttachControl(SpyOperation::AttachSecond, name) || secondKind_ != SpyKind::Edit || !secondEdit_)
        return;
    secondEdit_->Font()->SetColor(secondColour ? SecondColour : NormalColour);
    secondEdit_->SetText(IntegerShowText(value, showZero));
}

void TSpyEdit_Bs::ShowDateByName(uint16_t packed, const char *name, bool secondColour)
{
    KeepCurrentKind keep(currentKind_);
    if (!AttachControl(SpyOperation::AttachSecond, name) || secondKind_ != SpyKind::Edit || !secondEdit_)
        return;
    secondEdit_->Font()->SetColor(secondColour ? SecondColour : NormalColour);
    secondEdit_->SetText(DateShowText(packed));
}

void TSpyEdit_Bs::ShowTextByName(const AnsiString &text, const char *name)
{
    KeepCurrentKind keep(currentKind_);
    if (!AttachControl(SpyOperation::AttachSecond, name))
        return;
    switch (secondKind_) {
    case SpyKind::Edit:
        if (secondEdit_) {
            secondEdit_->Font()->SetColor(NormalColour);
            secondEdit_->SetText(text);
        }
        break;
    case SpyKind::Memo:
        if (secondMemo_) {
            secondMemo_->Font()->SetColor(NormalColour);
            if (form_)
                AutoSizeText(text, form_->Canvas(), secondMemo_);
            else
                secondMemo_->SetText(text);
        }
        break;
    default:
        if (ControlCallback) {
            SSpy_CBIterator request;
            request.request = SpyRequest::ShowText;
            request.kind = secondKind_;
            request.name = name ? name : "";
            request.text = text;
            request.colour = NormalColour;
            ControlCallback(&request);
        }
        break;
    }
}

void TSpyEdit_Bs::AssignTagsByName(TComponent *container, const SpyControlIdRow *table)
{
    if (!container || !table)
        return;
    for (int i = 0; i < container->ComponentCount(); ++i) {
        auto *control = dynamic_cast<TWinControl *>(container->Components(i));
        if (!control)
            continue;
        for (const SpyControlIdRow *row = table; row->id != 0; ++row)
            if (CompareCounted(row->name ? row->name : "", control->Name()) == 0) {
                control->SetTag(static_cast<intptr_t>(row->id));
                break;
            }
    }
}
