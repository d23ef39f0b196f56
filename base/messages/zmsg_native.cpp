// The native build has no string resources: every number without a built-in text has none.
#include "base/messages/zmsg.h"

AnsiString ResourceMessageText(int) { return AnsiString(); }
