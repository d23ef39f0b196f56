// The library's run-time message dialog with three buttons, shown for a few seconds so that the test
// runner can take a screenshot of it (tools/test saves it to build/windows/screenshots/).
#include "base/messages/BsMssg.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Forms.h"

int main()
{
    Application->Initialize();
    auto *timer = new TTimer(Application);
    timer->SetInterval(6000);
    timer->OnTimer = [](TObject *) { Application->Terminate(); };
    TBsMssg message;
    message.SetText("Файл $ уже существует. Перекрывать его новой версией, полученной с обновлением?",
                    "C:\\QMT5\\Data\\riza.sfr");
    message.Show(BsKindChoiceView);
    return 0;
}
