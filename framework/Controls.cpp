#include "framework/Controls.h"

#include "framework/Forms.h"

TControl::TControl(TComponent *owner) : TComponent(owner), font_(std::make_unique<TFont>())
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
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
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
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
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
