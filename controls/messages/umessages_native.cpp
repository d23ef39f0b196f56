#include "controls/messages/umessages.h"

// The native build has no windows: the message service keeps its script-only message box.
void StartMessageDialog() {}
void StopMessageDialog() {}
