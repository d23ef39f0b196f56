// Cleaning file names.
#include "storage/utilities/dutilfile.h"

AnsiString BareFileName(const AnsiString &path)
{
    const std::size_t folderEnd = path.find_last_of("\\:");
    AnsiString name = folderEnd == AnsiString::npos ? path : path.substr(folderEnd + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != AnsiString::npos)
        name.resize(dot);
    return name;
}

AnsiString MakeSafeName(const AnsiString &text)
{
    // Characters that a file name cannot hold, or that the product's alias paths, masks and messages
    // give a meaning of their own.
    static const char unsafe[] = "\\,:;~@$%^&*=+{}[]<>\"/.?#";
    AnsiString out = text;
    for (char &c : out) {
        if (std::char_traits<char>::find(unsafe, sizeof unsafe - 1, c) != nullptr)
            c = '-';
        // The Ukrainian letters of code page 1251 become their Latin look-alikes.
        switch (static_cast<unsigned char>(c)) {
        case 0xBA: c = 'e'; break;  // є
        case 0xAA: c = 'E'; break;  // Є
        case 0xBF: c = 'i'; break;  // ї
        case 0xAF: c = 'I'; break;  // Ї
        default: break;
        }
    }
    return out;
}
