#pragma once
// The text of a file error box as the user reads it, taken from the prompt the box went through.
#include <algorithm>

#include "framework/Prompt.h"

// The message box shows the dialog layout's "#" line breaks as line ends; they are turned back so
// that expectations can be written with the texts' own "#".
inline AnsiString FileBoxText(const TPrompt &prompt)
{
    AnsiString text = prompt.Text;
    std::replace(text.begin(), text.end(), '\n', '#');
    return text;
}
