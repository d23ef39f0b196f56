// Entry of the updater: the main window, whose first activation performs the run, the warning form
// and the update-variant dialog, made at start-up; an exception that escapes is shown by the application.
#include <exception>

#include "framework/windows/Forms.h"
#include "update/run/uMain.h"
#include "update/variant/uSelKindUpdt.h"
#include "update/run/uYesNo.h"

int main()
{
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(YesNo1);
        Application->CreateForm(Frm_SelKU);
        Application->Run();
    } catch (const std::exception &e) {
        Application->ShowException(e);
    }
    return 0;
}
