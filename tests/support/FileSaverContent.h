#pragma once
// What the helper program filesaver saves, for the tests that check which whole save a file holds.
#include <string>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Classes.h"

// Alias entry i of a list, as a text line: a folder of its own, so lists of different lengths and
// prefixes differ in every entry.
inline AnsiString FileSaverAlias(const char *prefix, int i)
{
    return AnsiString(prefix) + std::to_string(i) + "#C:\\Data\\" + prefix + "\\" + std::to_string(i);
}

// The text file of such a list of `count` entries, as a text save writes it.
inline AnsiString FileSaverAliasText(const char *prefix, int count)
{
    AnsiString text;
    for (int i = 0; i < count; ++i)
        text += FileSaverAlias(prefix, i) + "\r\n";
    return text;
}

// Line i of a saved text.
inline AnsiString FileSaverLine(const char *prefix, int i)
{
    return AnsiString(prefix) + " line " + std::to_string(i) + ": " + std::string(i % 50, 'x');
}

// The text a strings or memory save of `count` lines writes.
inline AnsiString FileSaverText(const char *prefix, int count)
{
    AnsiString text;
    for (int i = 0; i < count; ++i)
        text += FileSaverLine(prefix, i) + "\r\n";
    return text;
}

// The framework's two whole-file saves of a text; the helper's commands "strings" and "memory".
enum class TextSave { Strings, Memory };

inline const char *TextSaveName(TextSave how) { return how == TextSave::Strings ? "strings" : "memory"; }

inline void SaveTextThrough(TextSave how, const AnsiString &name, const AnsiString &text)
{
    if (how == TextSave::Strings) {
        TStringList lines;
        lines.SetText(text);
        lines.SaveToFile(name);
    } else {
        TMemoryStream memory;
        memory.WriteBuffer(text.data(), static_cast<long>(text.size()));
        memory.SaveToFile(name);
    }
}
