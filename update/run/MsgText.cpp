#include "update/run/MsgText.h"

#include <string>

#include "framework/windows/Prompt.h"

namespace {

const char Placeholder[] = "$_$";
constexpr size_t PlaceholderLength = sizeof Placeholder - 1;

}  // namespace

const char *MsgCaption(EMsgKind kind)
{
    switch (kind) {
    case emk_Question: return "Внимание!";
    case emk_Error: return "Ошибка!";
    case emk_Info: return "Информация.";
    }
    return "";
}

uint32_t MsgStyle(EMsgKind kind)
{
    switch (kind) {
    case emk_Question: return mbYesNo | mbIconQuestion | mbSystemModal;
    case emk_Error: return mbOk | mbIconHand | mbSystemModal;
    case emk_Info: return mbOk | mbIconAsterisk | mbSystemModal;
    }
    return mbSystemModal;
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

AnsiString MsgIdSuffix(int32_t id) { return "\n(msgid №" + std::to_string(id) + ")"; }

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
