// Without a window system only a script can answer.
#include "framework/runtime/Exception.h"
#include "framework/windows/Prompt.h"

int MessageBoxPrompt(void *owner, const AnsiString &text, const AnsiString &caption, unsigned flags)
{
    TPrompt prompt{TPromptKind::MessageBox, owner, caption, text, AnsiString(), flags, nullptr};
    if (auto answer = ScriptedAnswer(prompt))
        return answer->Result;
    throw Exception("No one to answer the message box: " + caption + ": " + text);
}
