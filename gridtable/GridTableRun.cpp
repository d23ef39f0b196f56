#include "gridtable/GridTableRun.h"

#include "controls/ControlsRun.h"
#include "gridtable/editing/CellEditing.h"
#include "gridtable/screens/GridScreen.h"

namespace {
int runs = 0;
}  // namespace

// Each unit that needs it adds its start step here, after the controls have started, and its stop step
// to StopGridTable in the reverse order, before the controls stop.
void StartGridTable()
{
    if (runs++ > 0)
        return;
    StartControls();
    MakeEditorMenuCaptions();
}

void StopGridTable()
{
    if (runs == 0 || --runs > 0)
        return;
    // The screens storage the tables shared stays open while any table may load; the end is here.
    CloseSharedScreenStorage();
    ClearEditorMenuCaptions();
    StopControls();
}

bool GridTableStarted() { return runs > 0; }
