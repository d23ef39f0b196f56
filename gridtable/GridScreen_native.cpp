#include "gridtable/GridScreen.h"

AnsiString DesignScreenFileName() { return "Riza.sfr"; }
