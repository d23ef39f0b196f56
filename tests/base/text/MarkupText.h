#pragma once
// Markup texts written readably in tests: "|" stands for the block mark 0x01, "^" for the hard line
// break 0x03.
#include <string>
#include <string_view>
#include <vector>

#include "base/text/Markup.h"

inline std::string Markup(std::string_view readable)
{
    std::string text(readable);
    for (char &c : text)
        c = c == '|' ? '\x01' : c == '^' ? '\x03' : c;
    return text;
}

// The laid-out lines as texts.
inline std::vector<std::string> LaidOutLines(std::string_view text, const MarkupLayout &layout, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.emplace_back(layout.LineText(text, i));
    return lines;
}
