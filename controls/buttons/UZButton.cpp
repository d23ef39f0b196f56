#include "controls/buttons/UZButton.h"

#include <algorithm>

namespace {
struct TKindText {
    const char *Rus;
    const char *Ukr;
};

// Russian and Ukrainian captions. Some Ukrainian ones are spelled with the Latin letter "i"; their
// bytes stay as they are.
constexpr TKindText KindTexts[EZBtnPDT_End] = {
    {"", ""},
    {"ОК", "ОК"},
    {"Сохранить", "Зберегти"},
    {"Отмена", "Вiдмiна"},
    {"Не сохранять", "Не зберігати"},
    {"Закрыть", "Закрити"},
    {"Да", "Так"},
    {"Нет", "Нi"},
    {"Применить", "Застосувати"},
    {"Дальше", "Далi"},
    {"Пропуск", "Пропуск"},
    {"Повтор", "Повтор"},
    {"Игнорировать", "Iгнорувати"},
    {"Просмотр", "Перегляд"},
    {"Увеличить", "Збiльшити"},
    {"Уменьшить", "Зменьшити"},
    {"Сброс", "Скинути"},
    {"Вверх", "Вгору"},
    {"Вниз", "Униз"},
    {"Влево", "Влiво"},
    {"Вправо", "Вправо"},
    {"Сохранить", "Зберегти"},
    {"Обновить", "Відновити"},
    {"Отмена", "Вiдмiна"},
    {"Настройка", "Налаштування"},
    {"Назад", "Назад"},
};

constexpr const char *GlyphNames[eil16x16_End + 1] = {
    "eil16x16_OK",      "eil16x16_Cancel",  "eil16x16_Next",    "eil16x16_Undo",    "eil16x16_Redo",
    "eil16x16_Apply",   "eil16x16_Skip",    "eil16x16_Up",      "eil16x16_Down",    "eil16x16_Left",
    "eil16x16_Right",   "eil16x16_Minus",   "eil16x16_Minus2",  "eil16x16_Plus",    "eil16x16_Calend",
    "eil16x16_Imp",     "eil16x16_Exp",     "eil16x16_Edit",    "eil16x16_Erase",   "eil16x16_Land",
    "eil16x16_Port",    "eil16x16_Open",    "eil16x16_Load",    "eil16x16_Save",    "eil16x16_Save2",
    "eil16x16_Save3",   "eil16x16_ZoomOu",  "eil16x16_ZoomIn",  "eil16x16_Look",    "eil16x16_Find",
    "eil16x16_Size",    "eil16x16_Paste",   "eil16x16_Copy",    "eil16x16_Prn",     "eil16x16_NoPrn",
    "eil16x16_PrnSet",  "eil16x16_NewDoc",  "eil16x16_DelDoc",  "eil16x16_GoInDoc", "eil16x16_LookDoc",
    "eil16x16_LookAll", "eil16x16_Refresh", "eil16x16_Recalc",  "eil16x16_Picture", "eil16x16_Home",
    "eil16x16_Calc",    "eil16x16_InWin",   "eil16x16_Reduce",  "eil16x16_Grow",    "eil16x16_RU",
    "eil16x16_UA",      "eil16x16_ALeft",   "eil16x16_ACntrV",  "eil16x16_ARight",  "eil16x16_ATop",
    "eil16x16_ACntrH",  "eil16x16_ABottom", "eil16x16_SnglLne", "eil16x16_MltyLne", "eil16x16_Font",
    "eil16x16_SnowFl",  "eil16x16_Doc1",    "eil16x16_DocMult", "eil16x16_MnuClps", "eil16x16_MnuExpd",
    "eil16x16_BufView", "eil16x16_CbUnch",  "eil16x16_CbChkd",  "eil16x16_CbGryd",  "eil16x16_Trash",
    "eil16x16_LArrow",  "eil16x16_RArrow",  "eil16x16_UArrow",  "eil16x16_DArrow",  "eil16x16_ClpsAll",
    "eil16x16_LookFnd", "eil16x16_FndNext", "eil16x16_FndPrev", "eil16x16_BigLeft", "eil16x16_BigRght",
    "eil16x16_Gear",    "eil16x16_Prev",    "eil16x16_FdClsW",  "eil16x16_FdOpnW",  "eil16x16_FdClsB",
    "eil16x16_FdOpnV",  "eil16x16_SaveRTF", "eil16x16_SaveXLS", "eil16x16_End",
};

constexpr int GlyphSize = 16;
}  // namespace

AnsiString ZBtnPDTCaptionUkr[EZBtnPDT_End];
AnsiString ZBtnPDTCaptionRus[EZBtnPDT_End];

const EImgLs16x16 ZBtnPDTGlyph[EZBtnPDT_End] = {
    eil16x16_End,  eil16x16_OK,     eil16x16_OK,     eil16x16_Cancel, eil16x16_Cancel,  eil16x16_Cancel,
    eil16x16_OK,   eil16x16_Cancel, eil16x16_Apply,  eil16x16_Next,   eil16x16_Skip,    eil16x16_Apply,
    eil16x16_Skip, eil16x16_Look,   eil16x16_ZoomIn, eil16x16_ZoomOu, eil16x16_Cancel,  eil16x16_Up,
    eil16x16_Down, eil16x16_Left,   eil16x16_Right,  eil16x16_Save,   eil16x16_Refresh, eil16x16_Undo,
    eil16x16_Gear, eil16x16_Prev,
};

const char *ImgLs16x16Name(EImgLs16x16 glyph) { return GlyphNames[std::min<int>(glyph, eil16x16_End)]; }

void FillZBtnPDTCaptions()
{
    for (int i = 0; i < EZBtnPDT_End; ++i) {
        ZBtnPDTCaptionUkr[i] = KindTexts[i].Ukr;
        ZBtnPDTCaptionRus[i] = KindTexts[i].Rus;
    }
}

void ClearZBtnPDTCaptions()
{
    for (int i = 0; i < EZBtnPDT_End; ++i) {
        ZBtnPDTCaptionUkr[i].clear();
        ZBtnPDTCaptionUkr[i].shrink_to_fit();
        ZBtnPDTCaptionRus[i].clear();
        ZBtnPDTCaptionRus[i].shrink_to_fit();
    }
}

TThemedState ZBtnLook(bool disabled, bool pressed, bool focused, bool isDefault, bool hot)
{
    if (disabled)
        return tsDisabled;
    if (pressed)
        return tsPressed;
    if (focused || isDefault || hot)
        return hot ? tsHot : tsDefaulted;
    return tsNormal;
}

unsigned ZBtnTextFlags(TAlignment alignH, bool multiline)
{
    unsigned flags = alignH == taLeftJustify ? dtLeft : alignH == taRightJustify ? dtRight : dtCenter;
    flags |= multiline ? dtWordBreak : dtSingleLine;
    return flags | dtNoClip | dtNoPrefix;
}

namespace {
// The glyph's strip as a signed offset of the caption's centre: positive when the glyph is left of or
// above the caption.
int StripDx(const TZBtnPlaceIn &in)
{
    if (!in.HasGlyph)
        return 0;
    int strip = GlyphSize + in.Spacing;
    return in.Layout == blGlyphLeft ? strip : in.Layout == blGlyphRight ? -strip : 0;
}

int StripDy(const TZBtnPlaceIn &in)
{
    if (!in.HasGlyph)
        return 0;
    int strip = GlyphSize + in.Spacing;
    return in.Layout == blGlyphTop ? strip : in.Layout == blGlyphBottom ? -strip : 0;
}
}  // namespace

int ZBtnCaptionWidth(const TZBtnPlaceIn &in)
{
    int width = in.Area.Width();
    if (in.HasGlyph && (in.Layout == blGlyphLeft || in.Layout == blGlyphRight))
        width -= GlyphSize + in.Spacing;
    return std::max(width, 0);
}

TZBtnPlacement ZBtnPlace(const TZBtnPlaceIn &in, TSize text)
{
    const int w = in.Area.Width(), h = in.Area.Height(), l = in.Area.Left, t = in.Area.Top;
    const int dx = StripDx(in), dy = StripDy(in);
    TZBtnPlacement out;
    if (in.HasCaption) {
        const int centred = (w - text.cx + 1) / 2 + (dx + 1) / 2;
        int x = centred;
        if (!in.Multiline && in.Margin != -1) {
            if (in.AlignH == taLeftJustify)
                x = dx + in.Spacing + in.Margin;
            else if (in.AlignH == taRightJustify)
                x = std::max(w - in.Margin - text.cx, dx + in.Spacing);
        }
        const int y = (h - text.cy + 1) / 2 + (dy + 1) / 2;
        const int shift = in.Pressed ? 3 : 2;
        out.Caption = Bounds(x + shift, y + shift, text.cx, text.cy);
    }
    if (in.HasGlyph) {
        const int midX = (w - 15) / 2 + l, midY = (h - 15) / 2 + t;
        out.Glyph = Point(midX, midY);
        if (in.HasCaption) {
            const TRect &c = out.Caption;
            switch (in.Layout) {
            case blGlyphLeft: out.Glyph = Point(c.Left - (in.Spacing + GlyphSize), midY); break;
            case blGlyphRight: out.Glyph = Point(c.Right + in.Spacing, midY); break;
            case blGlyphTop: out.Glyph = Point(midX, c.Top - (in.Spacing + GlyphSize)); break;
            case blGlyphBottom: out.Glyph = Point(midX, c.Bottom + in.Spacing); break;
            }
        }
        if (in.Pressed)
            out.Glyph.Y += 1;
    }
    return out;
}

TZBtnPlacement PaintZButton(TCanvas &canvas, const TZBtnPaint &p, TZBtnGlyphDrawer drawGlyph)
{
    const unsigned flags = ZBtnTextFlags(p.AlignH, p.Multiline);
    const bool themed = !p.Designing && ThemesActive();
    const TThemeElement element = PushButtonElement(ZBtnLook(p.Disabled, p.Pressed, p.Focused, p.Default, p.Hot));

    // The frame, and inside it the rectangle glyph and caption are laid out in: the element's content
    // rectangle, or 2 px inside the classic push button (greyed when disabled, pushed in while pressed).
    TRect area;
    if (themed) {
        DrawElement(canvas, element, p.Client);
        area = ElementContentRect(canvas, element, p.Client);
    } else {
        TRect frame = p.Client;
        canvas.DrawFrameControl(frame, DFC_BUTTON,
                                DFCS_BUTTONPUSH | (p.Disabled  ? DFCS_INACTIVE
                                                   : p.Pressed ? DFCS_PUSHED
                                                               : 0u));
        area = Rect(p.Client.Left + 2, p.Client.Top + 2, p.Client.Right - 2, p.Client.Bottom - 2);
    }

    TZBtnPlaceIn in;
    in.Area = area;
    in.HasGlyph = p.ImageNo < eil16x16_End;
    in.HasCaption = !p.Caption.empty();
    in.Layout = p.Layout;
    in.Margin = p.Margin;
    in.Spacing = p.Spacing;
    in.AlignH = p.AlignH;
    in.Multiline = p.Multiline;
    in.Pressed = p.Pressed;
    TSize text;
    if (in.HasCaption) {
        // Measured as one or more lines, never folded onto one.
        const unsigned measure = flags & ~dtSingleLine;
        TRect bounds = Rect(0, 0, ZBtnCaptionWidth(in), 0);
        if (themed) {
            bounds = ElementTextExtent(canvas, element, p.Caption, measure, bounds);
        } else {
            canvas.DrawText(p.Caption, bounds, measure | dtCalcRect);
        }
        text = TSize{bounds.Width(), bounds.Height()};
    }
    TZBtnPlacement place = ZBtnPlace(in, text);

    if (in.HasCaption) {
        canvas.Font()->SetColor(p.Disabled ? clGrayText : p.FontColor);
        canvas.Brush()->SetStyle(bsClear);
        TRect r = place.Caption;
        canvas.DrawText(p.Caption, r, flags);
    }
    if (in.HasGlyph && drawGlyph)
        drawGlyph(canvas, place.Glyph.X, place.Glyph.Y, p.ImageNo, !p.Disabled);
    if (!themed && (p.Default || p.Focused))
        canvas.DrawFocusRect(Rect(p.Client.Left + 4, p.Client.Top + 4, p.Client.Right - 4, p.Client.Bottom - 4));
    return place;
}
