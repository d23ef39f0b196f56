#include "base/input/fun_other.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/text/Case1251.h"
#include "base/memory/ClearOwnedList.h"
#include "base/keys/KeyCodes.h"
#include "base/numbers/NumericHelpers.h"
#include "framework/runtime/Classes.h"
#include "framework/windows/Menus.h"

std::int32_t DesignDensity = 800;
std::int32_t ScreenDensity = 800;
std::int32_t FormDesignPixelsPerInch = 96;
std::int32_t FormScaling = 0;
std::int32_t CascadeOffsetX = 4;
std::int32_t CascadeOffsetY = 4;
std::int32_t TextLengthLimit = 78;

namespace {

constexpr char Backspace = 8;
constexpr char Enter = 13;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool HasDigit(const AnsiString &text)
{
    for (char c : text)
        if (IsDigit(c))
            return true;
    return false;
}

}  // namespace

char FilterDecimalKey(char key, int mode, const AnsiString &text)
{
    if (key == Backspace || key == Enter || mode == 0 || IsDigit(key))
        return key;
    if (mode == 1 || mode == '1')
        return 0;
    if (key == '.')
        key = DecimalSeparator;
    if (key == DecimalSeparator)
        return text.find(DecimalSeparator) == AnsiString::npos ? key : 0;
    return 0;
}

bool CheckNumberText(const AnsiString &text, int kind)
{
    if (kind < 1 || kind > 3)
        return true;
    if (!HasDigit(text))
        return false;
    const char *cursor = text.c_str();
    const char *end = cursor + text.size();  // an embedded NUL stops the readers short of it
    if (kind == 1) {
        CursorReadInt(cursor);
        return cursor == end;
    }
    const double value = CursorReadFloat(cursor);
    return cursor == end && (kind == 3 || !(value < 0));
}

void HashToLineBreaks(const AnsiString &text, TStrings &list, bool hashBreaks)
{
    list.SetText(hashBreaks ? StringReplaceAll(text, "#", "\r\n") : text);
}

int SplitToList(TStrings &list, const AnsiString &text, const AnsiString &separator)
{
    list.Clear();
    if (text.empty())
        return 0;
    if (separator.empty()) {
        list.Add(text);
        return 1;
    }
    AnsiString parts = text;
    if (parts.size() < separator.size() ||
        parts.compare(parts.size() - separator.size(), separator.size(), separator) != 0)
        parts += separator;
    list.SetText(StringReplaceAll(parts, separator, "\r\n"));
    return list.Count();
}

AnsiString ListToText(const TStrings &list, const AnsiString &separator)
{
    return list.Count() == 0 ? AnsiString() : StringReplaceAll(list.Text(), "\r\n", separator);
}

AnsiString ReplaceAllText(const AnsiString &text, const AnsiString &from, const AnsiString &to)
{
    return StringReplaceAll(text, from, to);  // an empty `from` gives the text back
}

AnsiString EscapeSpecialChars(const AnsiString &text)
{
    AnsiString r = text;
    for (char &c : r) {
        if (c == '*' || c == '`')
            c = '_';
        else if (c == '#')
            c = ' ';
    }
    return r;
}

AnsiString SafeFileText(const AnsiString &text)
{
    static const char unsafe[] = "\\,:;~@$%^&*=+{}[]<>\"/.?#";
    AnsiString r = text;
    for (char &c : r) {
        switch (static_cast<unsigned char>(c)) {
        case 0xB3:  // і
        case 0xBF:  // ї
            c = 'i';
            break;
        case 0xB2:  // І
        case 0xAF:  // Ї
            c = 'I';
            break;
        case 0xBA:  // є
            c = 'e';
            break;
        case 0xAA:  // Є
            c = 'E';
            break;
        default:
            if (c != 0 && std::strchr(unsafe, c) != nullptr)
                c = '-';
        }
    }
    return r;
}

AnsiString FitTextToLimit(const AnsiString &text, const AnsiString &suffix)
{
    const size_t limit = TextLengthLimit > 0 ? static_cast<size_t>(TextLengthLimit) : 0;
    if (suffix.empty())
        return text.substr(0, limit);
    AnsiString r = (text + AnsiString(24, ' ')).substr(0, 30) + suffix;
    if (r.size() > limit) {
        r.resize(limit);
        const size_t cut = r.find_last_of(", ");
        if (cut != AnsiString::npos)
            r.resize(cut);
    }
    return r;
}

AnsiString IntToAnsiString(std::int32_t value) { return IntToStr(value); }

AnsiString DistanceText(const AnsiString &text, bool russian, const TDistanceObject *object, double value)
{
    if (object != nullptr && ((object->Flags & 1) != 0 || (object->FirstByte & 0x10) != 0))
        return text;
    return text + (russian ? " на расстояние " : " на вiдстань ") + FloatToFitText(-3, value) + " км";
}

AnsiString ElapsedText(TDateTime start, TDateTime finish)
{
    return FormatDateTime("nn ss zzz", std::fabs(finish - start));
}

void LowerCp1251(AnsiString &text)
{
    // The library's lower case is the key rule: І, і and I all become i.
    if (!text.empty())
        CharLower1251(text.data(), static_cast<int>(text.size()));
}

void LowerCp1251(char *text)
{
    if (text != nullptr && *text != 0)
        CharLower1251(text, 0);
}

void UpperCp1251Key(char *text, int length, bool fold)
{
    if (text == nullptr)
        return;
    for (int i = 0; i < length; ++i) {
        char &c = text[i];
        // Unlike the library's upper case, І stays Cyrillic unless the key is folded.
        if (static_cast<unsigned char>(c) == 0xB2 && !fold)
            continue;
        c = UpperChar(c);
        if (fold)
            c = LookAlikeChar(c);
    }
}

void UpperCp1251Key(AnsiString &text, bool fold) { UpperCp1251Key(text.data(), static_cast<int>(text.size()), fold); }

void FreeObjectList(TList *&list, bool freeList) { ClearOwnedList<TObject>(list, freeList); }

void FreeObjectList(TList *&list, bool freeList, const std::function<void(void *)> &release)
{
    if (list == nullptr)
        return;
    for (int i = 0; i < list->Count(); ++i) {
        void *item = list->Items(i);
        list->SetItem(i, nullptr);
        if (item != nullptr && release)
            release(item);
    }
    if (freeList) {
        delete list;
        list = nullptr;
    } else {
        list->Clear();
    }
}

void AddBytesToCounter(int count, const void *buffer, std::uint32_t &accumulator, std::uint32_t &overflows)
{
    if (buffer == nullptr || count <= 0)
        return;
    const auto *p = static_cast<const std::uint8_t *>(buffer);
    const std::uint8_t *end = p + count;
    auto add = [&](std::uint32_t value) {
        accumulator += value;
        while (accumulator > 0x40000000u) {
            accumulator -= 0x40000000u;
            ++overflows;
        }
    };
    std::uint32_t word;
    while (end - p > 3 && ReadU32(p, end, word))
        add(word);
    std::uint16_t half;
    if (end - p == 3 && ReadU16(p, end, half))
        add(half);
    std::uint8_t byte;
    while (ReadU8(p, end, byte))
        add(byte);
}

int ClassifySixMarks(const std::array<std::uint8_t, 6> &marks)
{
    bool three = false;
    for (std::uint8_t m : marks) {
        if (m != 3 && m != 255)
            return 0;
        three = three || m == 3;
    }
    return three ? 1 : 2;
}

bool ReadPeTimeStamp(const TReadBytesAt &readAt, std::uint32_t &stamp)
{
    constexpr std::uint32_t DosHeaderSize = 64, NewHeaderPointer = 0x3C, FileHeaderEnd = 12, TimeStampAt = 8;
    std::uint8_t dos[DosHeaderSize];
    if (!readAt || !readAt(0, dos, DosHeaderSize) || dos[0] != 'M' || dos[1] != 'Z')
        return false;
    const std::uint8_t *cursor = dos + NewHeaderPointer;
    std::uint32_t at;
    if (!ReadU32(cursor, dos + DosHeaderSize, at) || at > UINT32_MAX - FileHeaderEnd)
        return false;
    std::uint8_t header[FileHeaderEnd];
    if (!readAt(at, header, FileHeaderEnd) || std::memcmp(header, "PE\0\0", 4) != 0)
        return false;
    cursor = header + TimeStampAt;
    return ReadU32(cursor, header + FileHeaderEnd, stamp);
}

bool PasteTextSuits(const AnsiString &text, int kind)
{
    auto hasControl = [&text](bool lineBreaksAllowed) {
        for (char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u < ' ' && !(lineBreaksAllowed && (c == '\r' || c == '\n')))
                return true;
        }
        return false;
    };
    switch (kind) {
    case 0: return !hasControl(false);
    case 1: return CheckNumberText(text, 1);
    case 2: return CheckNumberText(text, 3);
    case 3: return !hasControl(true);
    default: return true;
    }
}

char FilterSignedDecimalKey(char key, const AnsiString &text, int selStart)
{
    if (key == Backspace || key == Enter || IsDigit(key))
        return key;
    if (key == '-')
        return selStart == 0 ? key : 0;
    if (key == '.')
        key = DecimalSeparator;
    if (key == DecimalSeparator)
        return text.find(DecimalSeparator) == AnsiString::npos ? key : 0;
    return 0;
}

std::uint16_t ParseShortCutText(const AnsiString &text)
{
    std::uint16_t modifiers = 0;
    size_t start = 0;
    for (size_t plus; (plus = text.find('+', start)) != AnsiString::npos; start = plus + 1) {
        const AnsiString part = text.substr(start, plus - start);
        if (AnsiSameText(part, "Alt"))
            modifiers |= KeyCodeAlt;
        else if (AnsiSameText(part, "Ctrl"))
            modifiers |= KeyCodeCtrl;
        else if (AnsiSameText(part, "Shift"))
            modifiers |= KeyCodeShift;
    }
    // Only the key's own name goes to the framework, so its modifier bits never mix with ours.
    const std::uint16_t key = TextToShortCut(text.substr(start)) & 0xFF;
    return key == 0 ? 0 : static_cast<std::uint16_t>(key | modifiers);
}

TPoint ClampToArea(const TRect &area, int width, int height, int left, int top)
{
    left = std::max(std::min(left, area.Right - width), area.Left);
    top = std::max(std::min(top, area.Bottom - height), area.Top);
    return Point(left, top);
}
