// The five-line text panel as a window.
#include "controls/messages/zText.h"

#include "base/input/fun_other.h"
#include "base/messages/zmsg.h"
#include "framework/windows/Messages.h"

TZText::TZText(TComponent *owner) : TCustomControl(owner), lang_(InterfaceLang())
{
    SetBounds(20, 20, 50, 50);
    SetColor(clBtnFace);
    Canvas()->Brush()->SetColor(Color());
    for (auto &font : fonts_) {
        font = std::make_unique<TFont>();
        font->Assign(*Font());
        font->OnChange = [this](TObject *) { Relayout(); };
    }
}

TZText::~TZText() = default;

AnsiString *TZText::Slot(int index)
{
    if (index < 0 || index >= ZTextIndexCount)
        return nullptr;
    if (index >= ZTextUkr)
        return &texts_[static_cast<size_t>(ZTextLineCount + index - ZTextUkr)];
    if (index >= ZTextRus)
        return &texts_[static_cast<size_t>(index - ZTextRus)];
    return &texts_[static_cast<size_t>(lang_ == elg_Ukr ? ZTextLineCount + index : index)];
}

AnsiString TZText::GetText(int index) const
{
    const AnsiString *slot = const_cast<TZText *>(this)->Slot(index);
    return slot ? *slot : AnsiString();
}

void TZText::SetText(int index, const AnsiString &text)
{
    if (AnsiString *slot = Slot(index)) {
        *slot = text;
        Relayout();
    }
}

int TZText::GetHor(int index) const
{
    return index >= 0 && index < ZTextLineCount ? hor_[static_cast<size_t>(index)] : 0;
}

void TZText::SetHor(int index, int value)
{
    if (index < 0 || index >= ZTextLineCount)
        return;
    if (value < 0 || value > 2) {
        ShowMessageNo("Неверно задан признак выравнивания", 0);
        return;
    }
    hor_[static_cast<size_t>(index)] = value;
    Relayout();
}

TFont *TZText::GetFont(int index) const
{
    return index >= 0 && index < ZTextLineCount ? fonts_[static_cast<size_t>(index)].get() : nullptr;
}

void TZText::SetFont(int index, const TFont &font)
{
    if (TFont *own = GetFont(index))
        own->Assign(font);  // its change repaints
}

void TZText::SetLang(ELang lang)
{
    lang_ = lang == elg_Ukr ? elg_Ukr : elg_Rus;
    Relayout();
}

void TZText::SetBorder(bool border)
{
    border_ = border;
    Relayout();
}

void TZText::SetMultyLine(bool multyLine)
{
    multyLine_ = multyLine;
    Relayout();
}

void TZText::Relayout()
{
    if (!Loading() || Designing())
        Invalidate();
}

void TZText::Loaded()
{
    TCustomControl::Loaded();
    Invalidate();
}

TZTextLines TZText::Lines() const
{
    TZTextLines lines;
    for (int i = 0; i < ZTextLineCount; ++i) {
        const AnsiString &text = texts_[static_cast<size_t>(lang_ == elg_Ukr ? ZTextLineCount + i : i)];
        lines[static_cast<size_t>(i)] =
            TZTextLine{text, fonts_[static_cast<size_t>(i)].get(), hor_[static_cast<size_t>(i)]};
    }
    return lines;
}

int TZText::PCalcTextH()
{
    const TZTextLines lines = Lines();
    TZTextMeasure m;
    if (HandleAllocated()) {
        m = MeasureZText(*Canvas(), lines, Width(), multyLine_);
    } else {
        TMeasureCanvas canvas;
        m = MeasureZText(canvas, lines, Width(), multyLine_);
    }
    if (Height() != m.Total + ZTextMargin)
        SetHeight(m.Total + ZTextMargin);
    return Height();
}

void TZText::Paint()
{
    TZTextPaint paint;
    paint.Lines = Lines();
    paint.Width = Width();
    paint.Height = Height();
    paint.Color = Color();
    paint.Border = border_;
    paint.MultiLine = multyLine_;
    paint.AutoHeight = Align() == alTop || Align() == alBottom || Align() == alCustom;
    const int height = PaintZText(*Canvas(), paint);
    if (height >= 0)
        SetHeight(height);  // the resize paints again
}

bool TZText::RescaleFonts(int, int)
{
    for (auto &font : fonts_)
        ScaleFontToArial(*font);
    return true;
}

void TZText::Click()
{
    if (clickChgMultyLine_) {
        multyLine_ = !multyLine_;
        Repaint();
    }
    TCustomControl::Click();
}

void TZText::WndProc(TMessage &message)
{
    TCustomControl::WndProc(message);
    if (message.Msg == WM_SIZE)
        Invalidate();
}
