#include "gridtable/screens/GridScreen.h"

AnsiString DesignScreenFileName() { return "Riza.sfr"; }
