#include "controls/buttons/UZButton.h"

#include "controls/UDataModule.h"
#include "framework/windows/Forms.h"
#include "framework/graphics/ImgList.h"

namespace {
// The window style of an owner-drawn button: it sends its parent a draw-item message for each drawing.
constexpr unsigned long OwnerDrawButton = 0x0B;

void DrawSharedGlyph(TCanvas &canvas, int x, int y, EImgLs16x16 glyph, bool enabled)
{
    if (DM_Misc && DM_Misc->_ImgLs16x16)
        DM_Misc->_ImgLs16x16->Draw(canvas, x, y, glyph, enabled);
}
}  // namespace

TZButton::TZButton(TComponent *owner) : TWithLangBoxes<TButton>(owner), canvas_(std::make_unique<TDCCanvas>())
{
    SetBounds(Left(), Top(), 98, 25);
}

TZButton::~TZButton() = default;

template <class T>
void TZButton::Change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TZButton::SetDefText(int kind)
{
    const EZBtnPDT k = kind >= 0 && kind < EZBtnPDT_End ? static_cast<EZBtnPDT>(kind) : EZBtnPDT_None;
    Change(defText_, k);
    if (k == EZBtnPDT_None)
        return;
    CaptionL()->SetLUkr(ZBtnPDTCaptionUkr[k]);
    CaptionL()->SetLRus(ZBtnPDTCaptionRus[k]);
    Change(imageNo_, ZBtnPDTGlyph[k]);
}

void TZButton::SetImageNo(int glyph)
{
    if (defText_ != EZBtnPDT_None)
        return;
    Change(imageNo_, glyph >= 0 && glyph < eil16x16_End ? static_cast<EImgLs16x16>(glyph) : eil16x16_End);
}

void TZButton::SetLayout(int layout)
{
    Change(layout_, layout >= 0 && layout <= blGlyphBottom ? static_cast<TButtonLayout>(layout) : blGlyphBottom);
}

void TZButton::SetMargin(int margin)
{
    if (margin >= -1)
        Change(margin_, margin);
}

void TZButton::SetSpacing(int spacing) { Change(spacing_, spacing < 0 ? 0 : spacing); }

void TZButton::SetAlignH(TAlignment alignment) { Change(alignH_, alignment); }

void TZButton::SetMultiline(bool multiline) { Change(multiline_, multiline); }

void TZButton::CreateParams(TCreateParams &params)
{
    TWithLangBoxes<TButton>::CreateParams(params);
    params.Style |= OwnerDrawButton;
}

// The window keeps its owner-drawn style; the flag only changes the drawing.
void TZButton::SetButtonStyle(bool isDefault) { Change(isDefault_, isDefault); }

void TZButton::EnabledChanged()
{
    // A disabled button gives the focus back to its form, which no longer takes it as its active
    // control.
    if (!Enabled() && Parent() && HandleAllocated() && Focused())
        if (TForm *form = GetParentForm(); form && form->CanFocus())
            form->SetFocus();
    TWithLangBoxes<TButton>::EnabledChanged();
}

void TZButton::WndProc(TMessage &m)
{
    switch (m.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const TDrawItemStruct *>(m.LParam), false);
        m.Result = 1;
        return;
    case CM_MOUSEENTER: Change(hot_, true); break;
    case CM_MOUSELEAVE: Change(hot_, false); break;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button takes a double click as a notification, not as a press: the second
        // press of a double click becomes a press again, so that it clicks as the first one did.
        m.Msg = WM_LBUTTONDOWN;
        break;
    }
    TWithLangBoxes<TButton>::WndProc(m);
}

void TZButton::PaintWindow(HDC dc)
{
    TDrawItemStruct item{};
    item.hDC = dc;
    item.rcItem = ClientRect();
    item.itemState = (Focused() ? ODS_FOCUS : 0u) | (Enabled() ? 0u : ODS_DISABLED);
    DrawItem(item, true);
}

void TZButton::DrawItem(const TDrawItemStruct &item, bool designing)
{
    canvas_->SetHandle(item.hDC);
    canvas_->Font()->Assign(*Font());
    canvas_->Brush()->SetColor(Color());
    canvas_->Brush()->SetStyle(bsSolid);
    pressed_ = (item.itemState & ODS_SELECTED) != 0;

    TZBtnPaint p;
    p.Client = ClientRect();
    p.Caption = Caption();
    p.Disabled = (item.itemState & ODS_DISABLED) != 0;
    p.Pressed = pressed_;
    p.Focused = (item.itemState & ODS_FOCUS) != 0;
    p.Default = isDefault_;
    p.Hot = hot_;
    p.Designing = designing;
    p.FontColor = Font()->Color();
    p.ImageNo = imageNo_;
    p.Layout = layout_;
    p.Margin = margin_;
    p.Spacing = spacing_;
    p.AlignH = alignH_;
    p.Multiline = multiline_;
    textFlags_ = ZBtnTextFlags(alignH_, multiline_);
    try {
        PaintZButton(*canvas_, p, DrawSharedGlyph);
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}
