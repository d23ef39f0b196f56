#pragma once
// Filters for typed characters: each returns the character when it may be typed, 0 when not.
#include "framework/runtime/AnsiString.h"

class TCustomEdit;

// Backspace always passes. Mode 0: any character not in `forbidden`; mode 1: digits only; mode 2:
// digits and the decimal separator, unless forbidden. A null `forbidden` forbids nothing.
char FilterKeyChar(char key, int mode, const char *forbidden);

// A signed decimal number typed into a text of which the caret is at `selStart`: Backspace and
// digits pass; the decimal separator only when the text has none yet; '-' only into an empty text,
// or at the start of a text that does not begin with '-'.
char FilterNumberKey(char key, const AnsiString &text, int selStart);
// The same for an edit control's text and caret.
char FilterNumberKey(char key, const TCustomEdit &edit);
