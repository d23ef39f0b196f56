// Entry of the updater: the main window, whose first activation performs the run, and the warning
// form, made at start-up; an exception that escapes is shown by the application.
#include <exception>

#include "framework/Forms.h"
#include "update/uMain.h"
#include "update/uYesNo.h"

int main()
{
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(YesNo1);
        Application->Run();
    } catch (const std::exception &e) {
        Application->ShowException(e);
    }
    return 0;
}
