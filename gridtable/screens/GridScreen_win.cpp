#include "gridtable/screens/GridScreen.h"
#include "storage/utilities/dutilfile.h"

AnsiString DesignScreenFileName() { return FindCfgFolder() + "Riza.sfr"; }
