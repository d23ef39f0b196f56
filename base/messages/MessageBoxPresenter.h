#pragma once
// The message service's stand-in for the message dialog: the framework's message box (through the
// prompt seam) with the text and the kind's buttons.
#include "base/messages/MessagePresenter.h"

// Buttons and answers per kind:
//   0, 2, 5, 7  OK; a box is never ticked;
//   1, 4        Yes / No: Yes gives modal result 1; a box is never ticked;
//   3           Yes / No / Cancel for the answers 1 / 2 / 3;
//   8           Yes / No / Cancel for yes / no / refuse;
//   6           each item in turn with Yes / No / Cancel: Yes chooses it, No goes on to the next,
//               Cancel (or No on the last) refuses.
// The text's "#" line breaks become line ends and a leading "~" is dropped. There is no view button.
TMessagePresenter &MessageBoxPresenter();
