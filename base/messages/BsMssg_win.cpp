// The dialog itself: a framework form built for the kind, shown modally through the prompt seam.
#include <memory>

#include "base/messages/BsMssg.h"
#include "base/graphics/BuiltinIcons.h"
#include "base/keys/KeyCodes.h"
#include "base/graphics/TAIco.h"
#include "framework/windows/Forms.h"
#include "framework/runtime/Kernel.h"
#include "framework/windows/StdCtrls.h"

namespace {
constexpr uint32_t KeyEscape = 27;

struct FreeForm {
    void operator()(TForm *form) const { form->Free(); }
};

const char *TableText(const BilingualRow *table, uint32_t number, uint8_t language)
{
    const char *text = FindBilingualText(table, number, BsMssgTableEnd, language != 0 ? 1 : 0);
    return text ? text : "";
}

// The window's own icons from the caption's built-in icon: the first image at the system's size
// for the large one, the last (the smallest) for the caption.
void SetDialogIcons(TForm &form, int caption)
{
    TAIco icon(BuiltinIcon(caption));
    std::unique_ptr<TIcon> large = icon.MakeIcon(true);
    std::unique_ptr<TIcon> small;
    if (icon.ImageCount() > 1 && icon.SelectImage(icon.ImageCount() - 1))
        small = icon.MakeIcon(false);
    form.SetIcon(std::move(large), std::move(small));
}
}  // namespace

void TBsMssg::SetSystemText(uint8_t language, uint32_t errorCode, const char *parameter)
{
    language_ = language;
    const AnsiString systemText = SysErrorMessage(errorCode);
    const AnsiString text = BsSystemText(language, systemText);
    SetText(text.c_str(), systemText.empty() ? nullptr : parameter);
}

void TBsMssg::Answer(uint8_t button)
{
    answered_ = true;
    if (button == BsBtnClose || button == BsBtnYes)
        result_ = button;
    else if (button == BsBtnNo)
        result_ = 0;
    form_->Close();
}

TForm *TBsMssg::Build(const BsMssgKind &kind)
{
    const int m = Screen->SystemMetric(smCyCaption);
    auto *form = new TForm(Application);
    form->SetBorderStyle(bsDialog);
    form->SetKeyPreview(true);
    form->Font()->SetSize(FontHeight);
    form->Font()->SetCharset(FontCharset);
    form->Font()->SetName(FontName);
    form->SetCaption(TableText(BsMssgCaptions, kind.Caption, language_));
    form->SetColor(static_cast<TColor>(kind.Color));
    SetDialogIcons(*form, kind.Caption);
    form->OnKeyDown = [this](TObject *, uint16_t &key, TShiftState shift) {
        if (KeyToCode(key, shift) == KeyEscape) {
            answered_ = true;
            result_ = 0;
            form_->Close();
        }
        key = 0;
    };

    const int width = form->Width();
    int labelHeight = 0;
    if (text_) {
        TControlCanvas canvas(form);
        canvas.Font()->Assign(*form->Font());
        TRect rect = Rect(0, 0, BsLabelWidth(width, m), 0);
        canvas.DrawText(text_, rect, dtCalcRect | dtWordBreak | dtExpandTabs);
        labelHeight = rect.Height();
    }
    const BsMssgLayout layout = LayoutBsMssg(kind, width, m, text_ != nullptr, labelHeight);
    if (layout.HasLabel) {
        auto *label = new TLabel(form);
        label->SetName("LbTxt");
        label->SetParent(form);
        label->SetWordWrap(true);
        label->SetAutoSize(false);
        label->SetColor(form->Color());
        label->SetBounds(layout.LabelLeft, layout.LabelTop, layout.LabelWidth, labelHeight);
        label->SetCaption(text_);
    }
    for (int i = 0; i < kind.ButtonCount; ++i) {
        const uint8_t number = kind.Buttons[i];
        auto *button = new TButton(form);
        button->SetName("Btn" + std::to_string(number));
        button->SetParent(form);
        button->SetBounds(layout.ButtonLeft[i], layout.ButtonTop, BsButtonWidth, BsButtonHeight);
        button->SetCaption(TableText(BsMssgButtons, number, language_));
        button->SetModalResult(number);
        button->OnClick = [this, number](TObject *) { Answer(number); };
    }
    form->SetHeight(layout.FormHeight);
    form->SetLeft(Screen->Width() / 2 - form->Width() / 2);
    form->SetTop(Screen->Height() / 2 - form->Height() / 2);
    form->OnShow = [this](TObject *) { shown_ = true; };
    return form;
}

uint8_t TBsMssg::Show(int kind)
{
    const BsMssgKind *row = FindBsMssgKind(kind);
    if (!row)
        return 0;
    std::unique_ptr<TForm, FreeForm> form(Build(*row));
    form_ = form.get();
    result_ = 0;
    answered_ = shown_ = false;
    try {
        const int answer = form->ShowModal();
        // A script that answered with a modal result without pressing anything pressed the button
        // of that number (its modal result), if the dialog has one.
        if (!answered_ && !shown_)
            if (auto *button = dynamic_cast<TButton *>(form->FindComponent("Btn" + std::to_string(answer))))
                button->Click();
    } catch (...) {
        form_ = nullptr;
        throw;
    }
    form_ = nullptr;
    return result_;
}
