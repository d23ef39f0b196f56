#pragma once
// A form with a control of every kind a data-entry screen has (edits, a read-only one, a memo, a list
// box the owner serves through the callback, a combo box, buttons, a check box, a radio button, a
// speed button, a label and a menu item), its id and descriptor tables and a supervisor bound to it.
// Windows build only.
#include <vector>

#include "controls/ControlsRun.h"
#include "controls/supervisor/SpyEdit.h"
#include "framework/windows/Buttons.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/StdCtrls.h"
#include "tests/support/FormHost.h"

namespace {
// An edit of the owner's own class: still an edit to the supervisor.
struct AmountEdit : TEdit {
    using TEdit::TEdit;
};

enum : uint32_t {
    IdName = 1,
    IdSum,
    IdLocked,
    IdShown,
    IdAmount,
    IdNote,
    IdCodes,
    IdTitle,
    IdNoDescriptor,
    IdCombo,
    IdMissing
};

const SpyControlIdRow Ids[] = {
    {IdName, "edName"},         {IdSum, "edSum"},    {IdLocked, "edLocked"},   {IdShown, "edShown"},
    {IdAmount, "edAmount"},     {IdNote, "mmNote"},  {IdCodes, "lbxCodes"},    {IdTitle, "lbTitle"},
    {IdNoDescriptor, "edFree"}, {IdCombo, "cbKind"}, {IdMissing, "edNowhere"}, {0, nullptr},
};

template <class T>
T *Place(FormHost &host, const char *name, int x, int y, int w, int h)
{
    T *c = host.Add<T>();
    c->SetName(name);
    c->SetBounds(x, y, w, h);
    return c;
}

// A form with the controls a data-entry screen has, and a supervisor bound to it.
struct SpyForm {
    SpyForm()
    {
        host.form->SetCaption("Ввод данных");
        title = Place<TLabel>(host, "lbTitle", 8, 8, 200, 16);
        title->SetCaption("Получатель и сумма");
        name = Place<TEdit>(host, "edName", 8, 28, 180, 22);
        name->SetText("Иванов");
        sum = Place<TEdit>(host, "edSum", 200, 28, 90, 22);
        sum->SetText("1,50");
        // Read-only as the owner makes it: no TabStop.
        locked = Place<TEdit>(host, "edLocked", 8, 56, 180, 22);
        locked->SetText("заблокировано");
        locked->SetReadOnly(true);
        locked->SetTabStop(false);
        // ReadOnly with TabStop still on: the supervisor goes by TabStop alone.
        shown = Place<TEdit>(host, "edShown", 200, 56, 90, 22);
        shown->SetText("только чтение");
        shown->SetReadOnly(true);
        amount = Place<AmountEdit>(host, "edAmount", 296, 28, 90, 22);
        amount->SetText("12");
        free = Place<TEdit>(host, "edFree", 296, 56, 90, 22);
        note = Place<TMemo>(host, "mmNote", 8, 84, 282, 60);
        note->Lines()->Add("первая строка");
        note->Lines()->Add("вторая");
        codes = Place<TListBox>(host, "lbxCodes", 296, 84, 90, 60);
        codes->Items()->Add("A1");
        codes->Items()->Add("B2");
        combo = Place<TComboBox>(host, "cbKind", 8, 152, 180, 22);
        ok = Place<TButton>(host, "btOk", 200, 152, 90, 26);
        ok->SetCaption("Записать");
        check = Place<TCheckBox>(host, "chkPaid", 8, 184, 180, 20);
        check->SetCaption("Оплачено");
        radio = Place<TRadioButton>(host, "rbCash", 200, 184, 120, 20);
        radio->SetCaption("Наличными");
        speed = Place<TSpeedButton>(host, "sbFind", 330, 152, 26, 26);
        menuItem = new TMenuItem(host.form);
        menuItem->SetName("miSave");
        home = Place<TButton>(host, "btHome", 300, 230, 90, 26);
        home->SetCaption("Домой");
        descriptors = PackDescriptorTable({
            {IdName, 0, 0, 0, 0},
            {IdSum, SpyFieldShortDecimal, 2, 0, 0},
            {IdLocked, 0, 0, 0, 0},
            {IdShown, 0, 0, 0, 0},
            {IdAmount, SpyFieldInteger, 0, 0, 0},
            {IdNote, 0, 0, 0, 0},
            {IdCodes, 0, 0, 0, 0},
            {IdTitle, 0, 0, 0, 0},
            {IdCombo, 0, 0, 0, 0},
        });
        host.form->Show();
    }
    void Bind() { spy.BindForm(host.form, Ids, descriptors.data()); }

    // The callback serves the list box as a control of kind 9 and records the request codes it sees.
    void ServeCodes()
    {
        spy.ControlCallback = [this](SSpy_CBIterator *r) {
            requests.push_back(r->request);
            switch (r->request) {
            case SpyRequest::Classify:
                if (r->component != codes)
                    return false;
                r->kind = SpyKind::Callback;
                r->name = codes->Name();
                return true;
            case SpyRequest::Perform:
                performed.push_back(r->operation);
                if (r->operation == SpyOperation::Focus)
                    codes->SetFocus();
                return true;
            case SpyRequest::ReadText:
                r->text = codes->Items()->Strings(0);
                r->component = codes;
                return true;
            case SpyRequest::IsFocused: return codes->Focused();
            default: return true;
            }
        };
    }

    TControlsRun run;  // the controls library runs while the form lives
    FormHost host;
    TLabel *title;
    TEdit *name, *sum, *locked, *shown, *free;
    AmountEdit *amount;
    TMemo *note;
    TListBox *codes;
    TComboBox *combo;
    TButton *ok, *home;
    TCheckBox *check;
    TRadioButton *radio;
    TSpeedButton *speed;
    TMenuItem *menuItem;
    std::vector<uint8_t> descriptors;
    TSpyEdit_Bs spy;
    std::vector<uint8_t> requests, performed;
};
}  // namespace
