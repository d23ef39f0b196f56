#include "framework/windows/Controls.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "framework/windows/Forms.h"

namespace {
bool SameName(const AnsiString &a, const char *b)
{
    return std::equal(a.begin(), a.end(), b, b + std::char_traits<char>::length(b),
                      [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) == y; });
}
}  // namespace

void TSizeConstraints::Apply(int &width, int &height) const
{
    if (maxWidth_ > 0)
        width = std::min(width, maxWidth_);
    if (maxHeight_ > 0)
        height = std::min(height, maxHeight_);
    width = std::max(width, minWidth_);
    height = std::max(height, minHeight_);
}

void TSizeConstraints::Change(int &field, int v)
{
    v = std::max(0, v);
    if (field == v)
        return;
    field = v;
    // The control takes the new limits at once.
    int width = control_->width_, height = control_->height_;
    Apply(width, height);
    if (width != control_->width_ || height != control_->height_)
        control_->SetBounds(control_->left_, control_->top_, width, height);
}

TControl::TControl(TComponent *owner)
    : TComponent(owner), constraints_(std::make_unique<TSizeConstraints>(this)), font_(std::make_unique<TFont>())
{
    font_->OnChange = [this](TObject *) { FontChanged(); };
}

TControl::~TControl()
{
    font_->OnChange = nullptr;
    if (parent_)
        parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl *parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw Exception("A control cannot be its own parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    bool sized = width != width_ || height != height_;
    if (sized) {
        if (!CanResize(width, height)) {
            width = width_;
            height = height_;
        }
        constraints_->Apply(width, height);
        sized = width != width_ || height != height_;
    }
    if (left == left_ && top == top_ && !sized)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    // A window reports its new size itself (WM_SIZE); without one the control is told here.
    auto *windowed = dynamic_cast<TWinControl *>(this);
    if (sized && !(windowed && windowed->HandleAllocated()))
        Resize();
    RequestParentAlign();
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_)
        return;
    align_ = align;
    RequestParentAlign();
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    VisibleChanged();
    RequestParentAlign();
}

bool TControl::Showing() const
{
    if (!visible_)
        return false;
    return parent_ ? parent_->Showing() : true;
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::SetText(const AnsiString &text)
{
    if (text == GetText())
        return;
    text_ = text;
    TextChanged();
}

void TControl::SetParentFont(bool parentFont)
{
    parentFont_ = parentFont;
    ParentFontChanged();
}

void TControl::FontChanged()
{
    if (!settingParentFont_)
        parentFont_ = false;
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_)
        return;
    settingParentFont_ = true;
    font_->Assign(*parent_->Font());
    settingParentFont_ = false;
}

void TControl::SetColor(TColor color)
{
    if (!settingParentColor_)
        parentColor_ = false;
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::SetParentColor(bool parentColor)
{
    parentColor_ = parentColor;
    ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_)
        return;
    settingParentColor_ = true;
    SetColor(parent_->Color());
    settingParentColor_ = false;
}

TPoint TControl::ClientToScreen(const TPoint &point) const
{
    TPoint p = Point(point.X + left_, point.Y + top_);
    return parent_ ? parent_->ClientToScreen(p) : p;
}

TPoint TControl::ScreenToClient(const TPoint &point) const
{
    TPoint p = parent_ ? parent_->ScreenToClient(point) : point;
    return Point(p.X - left_, p.Y - top_);
}

TStringProperty TControl::StringProperty(const AnsiString &name)
{
    if (SameName(name, "caption") || SameName(name, "text"))
        return {[this] { return GetText(); }, [this](const AnsiString &v) { SetText(v); }};
    if (SameName(name, "hint"))
        return {[this] { return GetHint(); }, [this](const AnsiString &v) { SetHint(v); }};
    return TComponent::StringProperty(name);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (!handled)
        handled = wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

TForm *TControl::GetParentForm() const
{
    const TControl *c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TForm *>(const_cast<TControl *>(c));
}

void TControl::ScaleBy(int m, int d)
{
    if (!parentFont_ || !parent_)
        font_->SetHeight(MulDivRound(font_->Height(), m, d));
    int l = MulDivRound(left_, m, d), t = MulDivRound(top_, m, d);
    SetBounds(l, t, MulDivRound(left_ + width_, m, d) - l, MulDivRound(top_ + height_, m, d) - t);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::RequestParentAlign()
{
    if (parent_)
        parent_->AlignControls();
}
