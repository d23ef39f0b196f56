#include "gridtable/GridScreen.h"
#include "storage/dutilfile.h"

AnsiString DesignScreenFileName() { return FindCfgFolder() + "Riza.sfr"; }
