#include "controls/ControlsRun.h"

#include "base/numbers/NumericHelpers.h"
#include "controls/dates/MonthGrid.h"
#include "controls/UDataModule.h"
#include "controls/buttons/UZButton.h"
#include "controls/UZLangBox.h"
#include "controls/messages/umessages.h"

namespace {
int runs = 0;
}  // namespace

// Each unit that needs it adds its start step here, in the order of the layers it builds on, and its stop
// step to StopControls in the reverse order.
void StartControls()
{
    if (runs++ > 0)
        return;
    UseDecimalComma();
    ResetLangs();
    FillMonthPageNames();
    FillZBtnPDTCaptions();
    CreateDM_Misc();
    StartMessageDialog();
}

void StopControls()
{
    if (runs == 0 || --runs > 0)
        return;
    StopMessageDialog();
    FreeDM_Misc();
    ClearZBtnPDTCaptions();
    ClearMonthPageNames();
}

bool ControlsStarted() { return runs > 0; }
