#pragma once
// A small editing form over the demonstration's record: two fields and the button panel with its
// editing protocol (load, check, save, and the question when it is closed with unsaved changes).
#include "framework/windows/Forms.h"

class TEdit;
class TZBtnPanel;
class TDemoForm;
class TDemoLog;

class TDemoEditForm : public TForm {
public:
    TDemoEditForm(TComponent *owner, TDemoForm &record, TDemoLog &log);

    TEdit *NameField;
    TEdit *QuantityField;
    TZBtnPanel *Panel;

private:
    TDemoForm &record_;
    TDemoLog &log_;
    AnsiString loadedName_, loadedQuantity_;
};
