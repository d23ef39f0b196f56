#pragma once
// Start-up and shutdown of the grid-table library. As with the controls it builds on, nothing of a
// static library starts by itself (its static initialisers may be left out by the linker): every program
// that links the grid table calls StartGridTable before it makes the first table and StopGridTable after
// the last one is freed (or keeps a TGridTableRun for that time). It starts and stops the controls
// itself. Calls nest; only the outermost pair does the work.
void StartGridTable();
void StopGridTable();
// Whether StartGridTable has run and StopGridTable has not ended it.
bool GridTableStarted();

// StartGridTable for as long as it lives.
struct TGridTableRun {
    TGridTableRun() { StartGridTable(); }
    ~TGridTableRun() { StopGridTable(); }
    TGridTableRun(const TGridTableRun &) = delete;
    TGridTableRun &operator=(const TGridTableRun &) = delete;
};
