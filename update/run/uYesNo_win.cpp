#include "update/run/uYesNo.h"

#include "framework/windows/ShellOpen.h"
#include "update/run/SitePage.h"

TYesNo1 *YesNo1 = nullptr;

namespace {

TButton *MakeButton(TYesNo1 *form, const char *name, const char *caption, int left, int width)
{
    TButton *button = new TButton(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetBounds(left, 98, width, 25);
    button->SetCaption(caption);
    return button;
}

}  // namespace

TYesNo1::TYesNo1(TComponent *owner) : TForm(owner)
{
    SetName("YesNo1");
    SetCaption("Внимание !");
    SetBorderStyle(bsToolWindow);
    SetPosition(poScreenCenter);
    SetClientWidth(570);
    SetClientHeight(128);

    Memo1 = new TMemo(this);
    Memo1->SetName("Memo1");
    Memo1->SetParent(this);
    Memo1->SetBounds(0, 0, 570, 89);
    Memo1->SetReadOnly(true);
    Memo1->SetBorderStyle(bsNone);
    Memo1->SetAlignment(taCenter);
    Memo1->SetParentFont(false);
    Memo1->Font()->SetHeight(-13);
    Memo1->Lines()->Add("Текущее обновление после установки изменит стоимости существующих строек");
    Memo1->Lines()->Add("");
    Memo1->Lines()->Add("Подробности на сайте: " + SitePageAddress(CostChangePage));
    Memo1->Lines()->Add("");
    Memo1->Lines()->Add("Продолжить установку обновления ?");

    Button2 = MakeButton(this, "Button2", "Продолжить", 5, 75);
    Button3 = MakeButton(this, "Button3", "Перейти на сайт по приведенной ссылке", 177, 231);
    Button1 = MakeButton(this, "Button1", "Прекратить", 492, 75);
    Button1->SetTabOrder(1);
    Button2->SetTabOrder(2);
    Button3->SetTabOrder(3);
    Button1->OnClick = [this](TObject *sender) { Button1Click(sender); };
    Button2->OnClick = [this](TObject *sender) { Button2Click(sender); };
    Button3->OnClick = [this](TObject *sender) { Button3Click(sender); };
}

void TYesNo1::Button1Click(TObject *)
{
    Result = 0;
    Close();
}

void TYesNo1::Button2Click(TObject *)
{
    Result = 1;
    Close();
}

void TYesNo1::Button3Click(TObject *) { OpenSitePage(SitePageAddress(UpdateErrorsPage), ShellOpen); }
