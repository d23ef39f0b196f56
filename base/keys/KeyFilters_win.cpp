#include "base/keys/KeyFilters.h"

#include "framework/windows/StdCtrls.h"

char FilterNumberKey(char key, const TCustomEdit &edit) { return FilterNumberKey(key, edit.Text(), edit.SelStart()); }
