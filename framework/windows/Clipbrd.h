#pragma once
// The system clipboard, with text in code page 1251.
#include <vector>

#include "framework/runtime/AnsiString.h"

// Clipboard formats (the system's numbers).
constexpr unsigned cfText = 1, cfUnicodeText = 13, cfLocale = 16;

class TClipboard {
public:
    // The clipboard's text: its Unicode text converted to code page 1251, or when it holds only 8-bit
    // text, that text as it is. Empty when it holds no text or cannot be opened.
    AnsiString AsText() const;
    // Replaces the clipboard's contents with the text as Unicode text, as 8-bit text and with the
    // Russian locale (so that programs reading either form get the same characters). False when the
    // clipboard cannot be opened or the text cannot be put; an empty text leaves the clipboard as it is.
    bool SetAsText(const AnsiString &text) const;
    bool HasFormat(unsigned format) const;
    // The formats on the clipboard, in the clipboard's order.
    std::vector<unsigned> Formats() const;
    bool Clear() const;
};

TClipboard *Clipboard();
