#include "update/MsgText.h"

#include <string>

namespace {

const char Placeholder[] = "$_$";
constexpr size_t PlaceholderLength = sizeof Placeholder - 1;

// The system's message-box style flags (MB_YESNO, MB_ICONQUESTION, MB_ICONHAND, MB_ICONASTERISK,
// MB_SYSTEMMODAL); the values are fixed by the system.
constexpr uint32_t StyleYesNo = 0x0004;
constexpr uint32_t StyleIconHand = 0x0010;
constexpr uint32_t StyleIconQuestion = 0x0020;
constexpr uint32_t StyleIconAsterisk = 0x0040;
constexpr uint32_t StyleSystemModal = 0x1000;

}  // namespace

const char *MsgCaption(EMsgKind kind)
{
    switch (kind) {
    case emk_Question:
        return "Внимание!";
    case emk_Error:
        return "Ошибка!";
    case emk_Info:
        return "Информация.";
    }
    return "";
}

uint32_t MsgStyle(EMsgKind kind)
{
    switch (kind) {
    case emk_Question:
        return StyleYesNo | StyleIconQuestion | StyleSystemModal;
    case emk_Error:
        return StyleIconHand | StyleSystemModal;
    case emk_Info:
        return StyleIconAsterisk | StyleSystemModal;
    }
    return StyleSystemModal;
}

AnsiString FillPlaceholders(AnsiString text, std::initializer_list<AnsiString> args)
{
    // The search goes on after the last filled place, so an argument that itself holds "$_$" does
    // not take the next argument.
    size_t from = 0;
    for (const AnsiString &arg : args) {
        size_t place = text.find(Placeholder, from);
        if (place != AnsiString::npos) {
            text.replace(place, PlaceholderLength, arg);
            from = place + arg.size();
        } else {
            text += " " + arg;
            from = text.size();
        }
    }
    return text;
}

AnsiString MsgIdSuffix(int32_t id)
{
    return "\n(msgid №" + std::to_string(id) + ")";
}

AnsiString RemoveUnfilledPlaceholders(const AnsiString &text)
{
    AnsiString result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t place; (place = text.find(Placeholder, from)) != AnsiString::npos; from = place + PlaceholderLength)
        result.append(text, from, place - from);
    result.append(text, from, AnsiString::npos);
    return result;
}
