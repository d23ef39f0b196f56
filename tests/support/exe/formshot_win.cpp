// A form with Cyrillic captions on every kind of standard control, shown for a few seconds so that
// the test runner can take a screenshot of it (tools/test saves it to build/windows/screenshots/).
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {
class TShotForm : public TForm {
public:
    explicit TShotForm(TComponent *owner) : TForm(owner)
    {
        SetCaption("Выбор, как производить обновление");
        SetBorderStyle(bsToolWindow);
        SetPosition(poScreenCenter);
        SetClientWidth(560);
        SetClientHeight(330);

        auto *top = new TLabel(this);
        top->SetParent(this);
        top->SetAlign(alTop);
        top->SetAlignment(taCenter);
        top->SetCaption("Данное обновление возможно только как копия существующего ПК ЦМТ");

        auto *exit = new TPanel(this);
        exit->SetParent(this);
        exit->SetAlign(alBottom);
        exit->SetHeight(41);
        exit->SetBevelOuter(bvLowered);
        auto *next = new TButton(this);
        next->SetParent(exit);
        next->SetBounds(340, 8, 100, 25);
        next->SetCaption("Далее [>>]");
        next->SetDefault(true);
        auto *cancel = new TButton(this);
        cancel->SetParent(exit);
        cancel->SetBounds(450, 8, 100, 25);
        cancel->SetCaption("Отмена [X]");

        auto *bar = new TProgressBar(this);
        bar->SetParent(this);
        bar->SetAlign(alBottom);
        bar->SetHeight(16);
        bar->SetPosition(40);

        auto *panel = new TPanel(this);
        panel->SetParent(this);
        panel->SetAlign(alClient);
        panel->SetBevelOuter(bvNone);

        auto *label = new TLabel(this);
        label->SetParent(panel);
        label->SetBounds(8, 8, 300, 13);
        label->SetCaption("Наименование папки обновленного ПК ЦМТ:");
        auto *edit = new TEdit(this);
        edit->SetParent(panel);
        edit->SetBounds(8, 26, 300, 21);
        edit->SetText("QMT5_311 — Ёё Її Єє Ґґ");
        auto *check = new TCheckBox(this);
        check->SetParent(panel);
        check->SetBounds(8, 56, 540, 17);
        check->SetCaption("Без копирования строек и оперативной информации (чистая установка)");
        check->SetChecked(true);
        auto *radio = new TRadioButton(this);
        radio->SetParent(panel);
        radio->SetBounds(8, 78, 300, 17);
        radio->SetCaption("Автосохранение (AutoSave)");
        radio->SetChecked(true);
        auto *list = new TListBox(this);
        list->SetParent(panel);
        list->SetBounds(8, 102, 260, 120);
        for (const char *line : {"...Инициализация", "Самопроверка...ОК", "Проверка нескольких копий...ОК",
                                 "...Выполнение обновления", "Программа выполнена успешно"})
            list->Items()->Add(line);
        list->SetItemIndex(4);
        auto *memo = new TMemo(this);
        memo->SetParent(panel);
        memo->SetBounds(280, 102, 270, 120);
        memo->SetAlignment(taCenter);
        memo->Lines()->Add("Текущее обновление после установки");
        memo->Lines()->Add("изменит стоимости существующих строек");
        memo->Lines()->Add("");
        memo->Lines()->Add("Продолжить установку обновления ?");

        auto *timer = new TTimer(this);
        timer->SetInterval(8000);
        timer->OnTimer = [this](TObject *) { Application->Terminate(); };
    }
};
}  // namespace

int main()
{
    Application->Initialize();
    TShotForm *form = nullptr;
    Application->CreateForm(form);
    Application->Run();
    return 0;
}
