#include "tests/e2e/controls_demo/DemoEditForm.h"

#include "base/messages/zmsg.h"
#include "controls/buttons/UZBtnPan.h"
#include "controls/UZLangBox.h"
#include "framework/windows/StdCtrls.h"
#include "tests/e2e/controls_demo/DemoForm.h"
#include "tests/e2e/controls_demo/DemoLog.h"

TDemoEditForm::TDemoEditForm(TComponent *owner, TDemoForm &record, TDemoLog &log)
    : TForm(owner), record_(record), log_(log)
{
    const bool ukr = InterfaceLang() == elg_Ukr;
    BeginLoading();
    SetName("EditForm");
    SetCaption(ukr ? "Редагування запису" : "Редактирование записи");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientWidth(360);
    SetClientHeight(150);
    auto label = [this](const AnsiString &text, int y) {
        auto *l = new TLabel(this);
        l->SetParent(this);
        l->SetLeft(12);
        l->SetTop(y);
        l->SetCaption(text);
    };
    label(ukr ? "Назва" : "Название", 10);
    NameField = new TEdit(this);
    NameField->SetName("edName");
    NameField->SetParent(this);
    NameField->SetBounds(12, 28, 336, 22);
    label(ukr ? "Кількість" : "Количество", 56);
    QuantityField = new TEdit(this);
    QuantityField->SetName("edQuantity");
    QuantityField->SetParent(this);
    QuantityField->SetBounds(12, 74, 120, 22);

    Panel = new TZBtnPanel(this);
    Panel->SetName("bpButtons");
    Panel->SetParent(this);
    Panel->SetKind(ZBtnPanDefaultKinds);
    Panel->OnLoadData = [this](TObject *) {
        loadedName_ = record_.RecordName;
        loadedQuantity_ = record_.RecordQuantity;
        NameField->SetText(loadedName_);
        QuantityField->SetText(loadedQuantity_);
        log_.Event("load", "editForm", loadedName_ + "|" + loadedQuantity_);
    };
    Panel->OnCheckChange = [this](TObject *) {
        return NameField->Text() != loadedName_ || QuantityField->Text() != loadedQuantity_;
    };
    Panel->OnCheckData = [this, ukr](TObject *) {
        if (NameField->Text().empty()) {
            ShowMessageNo(ukr ? "Назва не може бути порожньою." : "Название не может быть пустым.", 0);
            log_.Event("refused", "editForm", "empty name");
            return false;
        }
        return true;
    };
    Panel->OnSaveData = [this](bool &ok) {
        record_.RecordName = NameField->Text();
        record_.RecordQuantity = QuantityField->Text();
        log_.Event("saved", "editForm", record_.RecordName + "|" + record_.RecordQuantity);
        ok = true;
    };
    EndLoading();
    OnShow = [this](TObject *) { Panel->DoLoad(); };
}
