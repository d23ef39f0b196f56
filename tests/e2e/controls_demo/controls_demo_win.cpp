// A demonstration program holding every control of the controls library and a grid table on one main
// form, for a person to try by hand and for the scenarios that drive it as a user does.
//   controls_demo.exe [/log=FILE]
// It writes a temporary product folder (removed at the end), loads its environment and the table's
// screen from it, and records every event it receives in FILE (by default "events.log" in the product
// folder) and on its status line. Exit code 0 after a normal end, 3 when the product could not be
// loaded, 4 after an error (told to the user), 5 when no window can be opened (said on the standard
// error).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "controls/UZLangBox.h"
#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/screens/GridScreen.h"
#include "gridtable/GridTableRun.h"
#include "storage/zcomp_var.h"
#include "tests/e2e/controls_demo/DemoForm.h"
#include "tests/e2e/controls_demo/DemoLog.h"
#include "tests/e2e/controls_demo/DemoProduct.h"
#include "tests/support/InstallationBuilder.h"

namespace {

// The texts a product keeps in its text base: the choice list's items and the button panel's
// question before an editing form closes with unsaved changes, in both languages.
void ProvideTexts(uint16_t number, bool russian, int, AnsiString &text)
{
    switch (number) {
    case 2006: text = russian ? "Сохранить сделанные изменения?" : "Зберегти зроблені зміни?"; break;
    case 901: text = russian ? "Сохранить ведомость в файл" : "Зберегти відомість у файл"; break;
    case 902: text = russian ? "Напечатать ведомость" : "Надрукувати відомість"; break;
    case 903: text = russian ? "Отправить ведомость почтой" : "Надіслати відомість поштою"; break;
    default: text.clear();
    }
}

AnsiString LogFileArgument()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    AnsiString log;
    for (int i = 1; argv && i < argc; ++i)
        if (std::wcsncmp(argv[i], L"/log=", 5) == 0)
            log = WideToCp1251(argv[i] + 5);
    LocalFree(argv);
    return log;
}

// Without a window system (under Wine: no X display to open) no window can be made, and no message
// box could tell it.
bool CanOpenWindows()
{
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe)
        return false;
    DestroyWindow(probe);
    return true;
}

}  // namespace

int main()
{
    if (!CanOpenWindows()) {
        std::fputs("controls_demo: cannot open a window: no display (under Wine, DISPLAY must name an X "
                   "server; without one, run it inside xvfb-run or use \"tools/run controls\")\n",
                   stderr);
        return 5;
    }
    const AnsiString root = MakeTestFolder(("qmt_controls_demo_" + std::to_string(GetCurrentProcessId())).c_str());
    int code = 0;
    {
        TGridTableRun run;
        try {
            WriteDemoProduct(root);
            if (!LoadDemoEnvironment(root)) {
                code = 3;
            } else {
                // The product's numbers are written with a decimal comma.
                DecimalSeparator = ',';
                MessageTextProvider = ProvideTexts;
                AnsiString logFile = LogFileArgument();
                if (logFile.empty())
                    logFile = root + "events.log";
                TDemoLog log(logFile);
                auto *form = new TDemoForm(Application, log, root);
                Application->SetMainForm(form);
                form->AfterConstruction();
                Application->Run();
                ClearMessageTextProvider();
            }
        } catch (const std::exception &e) {
            Application->ShowException(e);
            code = 4;
        }
        CloseSharedScreenStorage();
        FreeAliasLists();
    }
    RemoveTestFolder(root);
    return code;
}
