// A form with Cyrillic captions on every kind of standard control, shown for a few seconds so that
// the test runner can take a screenshot of it (tools/test saves it to build/windows/screenshots/).
#include <windows.h>

#include "framework/windows/Buttons.h"
#include "framework/windows/ComCtrls.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "framework/windows/StdCtrls.h"

namespace {
// A button that draws itself: a frame, a coloured strip and its caption.
class TDrawnButton : public TButton {
public:
    using TButton::TButton;
    void CreateParams(TCreateParams &params) override
    {
        TButton::CreateParams(params);
        params.Style |= BS_OWNERDRAW;
    }
    void SetButtonStyle(bool) override {}
    void WndProc(TMessage &m) override
    {
        if (m.Msg != CN_DRAWITEM) {
            TButton::WndProc(m);
            return;
        }
        auto *item = reinterpret_cast<TDrawItemStruct *>(m.LParam);
        RECT r = {item->rcItem.Left, item->rcItem.Top, item->rcItem.Right, item->rcItem.Bottom};
        DrawFrameControl(item->hDC, &r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
        RECT strip = {r.left + 3, r.top + 3, r.left + 9, r.bottom - 3};
        HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
        FillRect(item->hDC, &strip, green);
        DeleteObject(green);
        std::wstring text = Cp1251ToWide(Caption());
        HGDIOBJ old = SelectObject(item->hDC, Font()->Handle());
        SetBkMode(item->hDC, TRANSPARENT);
        SetTextColor(item->hDC, GetSysColor((item->itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        r.left += 10;
        DrawTextW(item->hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(item->hDC, old);
        m.Result = TRUE;
    }
};

// A painted control with a caption of its own drawing.
class TPaintedNote : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        TCanvas *c = Canvas();
        c->Brush()->SetColor(clSkyBlue);
        c->Pen()->SetColor(clNavy);
        c->Rectangle(0, 0, Width(), Height());
        c->Font()->Assign(*Font());
        TRect r = Rect(4, 2, Width() - 4, Height() - 2);
        c->Brush()->SetStyle(bsClear);
        c->DrawText(Caption(), r, dtCenter | dtVCenter | dtSingleLine);
        c->Brush()->SetStyle(bsSolid);
    }
};

class TShotForm : public TForm {
public:
    explicit TShotForm(TComponent *owner) : TForm(owner)
    {
        SetCaption("Выбор, как производить обновление");
        SetBorderStyle(bsToolWindow);
        SetPosition(poScreenCenter);
        SetClientWidth(560);
        SetClientHeight(430);

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

        // The controls of the control family: masked and rich edits, an up-down, a picture, a figure,
        // a speed button with its glyph, an owner-drawn button and a painted control.
        auto *family = new TPanel(this);
        family->SetParent(this);
        family->SetAlign(alBottom);
        family->SetHeight(100);
        family->SetBevelOuter(bvNone);
        auto *date = new TMaskEdit(this);
        date->SetParent(family);
        date->SetBounds(8, 8, 90, 21);
        date->SetEditMask("!99/99/9999;0; ");
        date->SetText("07.12.2026");
        auto *year = new TEdit(this);
        year->SetParent(family);
        year->SetBounds(8, 36, 70, 21);
        auto *updown = new TUpDown(this);
        updown->SetParent(family);
        updown->SetMin(1900);
        updown->SetMax(2222);
        updown->SetThousands(false);
        updown->SetAssociate(year);
        updown->SetPosition(2026);
        auto *speed = new TSpeedButton(this);
        speed->SetParent(family);
        speed->SetBounds(8, 66, 110, 26);
        speed->SetCaption("Обновить");
        speed->Glyph()->SetSize(16, 16);
        TCanvas *glyph = speed->Glyph()->Canvas();
        glyph->Brush()->SetColor(clFuchsia);
        glyph->FillRect(Rect(0, 0, 16, 16));
        glyph->Pen()->SetColor(clGreen);
        glyph->Pen()->SetWidth(3);
        glyph->MoveTo(2, 8);
        glyph->LineTo(6, 12);
        glyph->LineTo(13, 3);
        auto *rich = new TRichEdit(this);
        rich->SetParent(family);
        rich->SetBounds(126, 8, 200, 84);
        rich->SetPlainText(true);
        rich->SetScrollBars(ssVertical);
        rich->Lines()->Add("ЦМТ-5: Просмотр файла протокола");
        rich->Lines()->Add("Ошибки — 0, неточности — 2");
        rich->Lines()->Add("Їжак, ґанок, Єва");
        auto *image = new TImage(this);
        image->SetParent(family);
        image->SetBounds(334, 8, 56, 56);
        image->SetStretch(true);
        image->Picture()->Bitmap()->SetSize(8, 8);
        TCanvas *picture = image->Canvas();
        for (int i = 0; i < 8; ++i) {
            picture->Brush()->SetColor(i % 2 ? clNavy : clYellow);
            picture->FillRect(Rect(i, i, 8, 8));
        }
        auto *shape = new TShape(this);
        shape->SetParent(family);
        shape->SetBounds(398, 8, 56, 56);
        shape->SetShape(stEllipse);
        shape->Brush()->SetColor(clSkyBlue);
        shape->Pen()->SetColor(clNavy);
        auto *bar1 = new TShape(this);
        bar1->SetParent(family);
        bar1->SetBounds(334, 72, 120, 1);
        auto *drawn = new TDrawnButton(this);
        drawn->SetParent(family);
        drawn->SetBounds(462, 8, 90, 26);
        drawn->SetCaption("Сохранить");
        auto *note = new TPaintedNote(this);
        note->SetParent(family);
        note->SetBounds(462, 42, 90, 50);
        note->SetCaption("Нарисовано");

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
