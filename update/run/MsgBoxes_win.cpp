#include "update/run/MsgBoxes.h"

#include <initializer_list>

#include "framework/windows/Forms.h"
#include "framework/runtime/LoadStr.h"
#include "framework/windows/Prompt.h"
#include "update/run/MsgText.h"

namespace {

// The text of an id-based box: the string of the id (empty when there is none), the arguments in its
// places, and the id suffix when wanted.
AnsiString IdText(int32_t id, std::initializer_list<AnsiString> args, bool addSuffix)
{
    AnsiString text = FillPlaceholders(LoadStr(id), args);
    if (addSuffix)
        text += MsgIdSuffix(id);
    return text;
}

const void *beforeBoxOwner = nullptr;
std::function<void()> beforeBox;

int ShowBox(EMsgKind kind, const AnsiString &text)
{
    if (beforeBox)
        beforeBox();
    return MessageBoxPrompt(MsgParentWindow(), RemoveUnfilledPlaceholders(text), MsgCaption(kind), MsgStyle(kind));
}

}  // namespace

void SetBeforeMessageBox(const void *owner, std::function<void()> before)
{
    beforeBoxOwner = owner;
    beforeBox = std::move(before);
}

void ClearBeforeMessageBox(const void *owner)
{
    if (owner == beforeBoxOwner) {
        beforeBoxOwner = nullptr;
        beforeBox = nullptr;
    }
}

void *MsgParentWindow()
{
    if (!Application || !Application->MainForm())
        return nullptr;
    TForm *active = Screen ? Screen->ActiveForm() : nullptr;
    if (active && active->HandleAllocated())
        return active->Handle();
    TForm *main = Application->MainForm();
    return main->HandleAllocated() ? main->Handle() : nullptr;
}

bool AskYesNoText(const AnsiString &text)
{
    // A box that could not be shown (0) counts as No.
    return ShowBox(emk_Question, text) == idYes;
}

void ShowErrorText(const AnsiString &text) { ShowBox(emk_Error, text); }

void ShowInfoText(const AnsiString &text) { ShowBox(emk_Info, text); }

bool AskYesNo(int32_t id, bool addSuffix) { return AskYesNoText(IdText(id, {}, addSuffix)); }

bool AskYesNo(int32_t id, const AnsiString &text1, bool addSuffix)
{
    return AskYesNoText(IdText(id, {text1}, addSuffix));
}

bool AskYesNo(int32_t id, const AnsiString &text1, const AnsiString &text2, bool addSuffix)
{
    return AskYesNoText(IdText(id, {text1, text2}, addSuffix));
}

bool AskYesNo(int32_t id, const AnsiString &text1, const AnsiString &text2, const AnsiString &text3, bool addSuffix)
{
    return AskYesNoText(IdText(id, {text1, text2, text3}, addSuffix));
}

void ShowError(int32_t id) { ShowErrorText(IdText(id, {}, true)); }

void ShowError(int32_t id, const AnsiString &text1) { ShowErrorText(IdText(id, {text1}, false)); }

void ShowError(int32_t id, const AnsiString &text1, const AnsiString &text2)
{
    ShowErrorText(IdText(id, {text1, text2}, false));
}

void ShowInfo(int32_t id, bool addSuffix) { ShowInfoText(IdText(id, {}, addSuffix)); }
