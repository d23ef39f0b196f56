#include "controls/messages/View_prt.h"

#include "base/text/CfgLanguage.h"
#include "base/input/fun_other.h"
#include "controls/buttons/UZMLBtn.h"
#include "framework/windows/ComCtrls.h"
#include "framework/windows/ExtCtrls.h"
#include "storage/compound/sqmtver.h"

TViewPrt *ViewPrt = nullptr;

namespace {

constexpr std::uint8_t RussianCharset = 204;

TPanel *MakePanel(TViewPrt *form, const char *name, TWinControl *parent, TAlign align)
{
    auto *panel = new TPanel(form);
    panel->SetName(name);
    panel->SetParent(parent);
    panel->SetAlign(align);
    panel->SetBevelInner(bvRaised);
    panel->SetBevelOuter(bvLowered);
    panel->SetCaption(AnsiString());
    return panel;
}

TZMLButton *MakeButton(TViewPrt *form, const char *name, int left, int width, const AnsiString &ukrainian,
                       const AnsiString &russian)
{
    auto *button = new TZMLButton(form);
    button->SetName(name);
    button->SetParent(form->Panel2);
    button->SetBounds(left, 14, width, 25);
    button->SetCaption(ukrainian);
    button->CaptionL()->SetLUkr(ukrainian);
    button->CaptionL()->SetLRus(russian);
    return button;
}

}  // namespace

TViewPrt::TViewPrt(TComponent *owner) : TForm(owner)
{
    BeginLoading();
    SetName("ViewPrt");
    SetBorderStyle(bsSizeToolWin);
    SetBorderWidth(2);
    SetBounds(0, 0, 789, 498);
    Font()->SetName("Courier New");
    Font()->SetCharset(RussianCharset);
    Font()->SetHeight(-11);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetWindowState(wsMaximized);
    SetScaled(false);
    OnCreate = [this](TObject *sender) { FormCreate(sender); };
    OnShow = [this](TObject *sender) { FormShow(sender); };

    Panel1 = MakePanel(this, "Panel1", this, alClient);
    LTxt = new TRichEdit(this);
    LTxt->SetName("LTxt");
    LTxt->SetParent(Panel1);
    LTxt->SetAlign(alClient);
    LTxt->SetParentColor(true);
    LTxt->SetPlainText(true);
    LTxt->SetReadOnly(true);
    LTxt->SetScrollBars(ssBoth);
    Panel2 = MakePanel(this, "Panel2", this, alBottom);
    Panel2->SetHeight(54);
    Button1 = MakeButton(this, "Button1", 503, 75, "Вихід", "Выход");
    Button1->OnClick = [this](TObject *sender) { Button1Click(sender); };
    kWar = MakeButton(this, "kWar", 15, 86, "Неточності", "Неточности");
    kWar->OnClick = [this](TObject *sender) { kWarClick(sender); };
    kErr = MakeButton(this, "kErr", 109, 75, "Помилки", "Ошибки");
    kErr->OnClick = [this](TObject *sender) { kErrClick(sender); };
    EndLoading();
}

void TViewPrt::FormCreate(TObject *)
{
    if (!FormScaling || ScreenDensity == DesignDensity || DesignDensity <= 0)
        return;
    // Scaled on and AutoScroll off only while the form rescales; its font keeps its face.
    const bool scaled = Scaled(), autoScroll = AutoScroll();
    SetScaled(true);
    SetAutoScroll(false);
    ScaleBy(ScreenDensity, DesignDensity);
    SetScaled(scaled);
    SetAutoScroll(autoScroll);
}

void TViewPrt::FormShow(TObject *)
{
    const bool both = !ErrorsFile.empty() && !InaccuraciesFile.empty();
    kWar->SetVisible(both);
    kErr->SetVisible(both);
    ShowFile(!ErrorsFile.empty() ? ErrorsFile : InaccuraciesFile);
}

void TViewPrt::Button1Click(TObject *) { Close(); }

void TViewPrt::kErrClick(TObject *) { ShowFile(ErrorsFile); }

void TViewPrt::kWarClick(TObject *) { ShowFile(InaccuraciesFile); }

void TViewPrt::ShowFile(const AnsiString &name)
{
    const AnsiString title = "ЦМТ-5 (" + ProgramVersion.text + ")       " +
                             (MessageLanguage() != 0 ? "Просмотр файла " : "Перегляд файла ") + name;
    SetCaption(title);
    LTxt->Lines()->Clear();
    LTxt->Lines()->LoadFromFile(name);
    LTxt->Lines()->Insert(0, title);
    LTxt->SetSelStart(0);
    LTxt->SetSelLength(0);
}
