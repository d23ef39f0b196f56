#include "framework/Prompt.h"

#include <utility>

#include "framework/Exception.h"

namespace {
// Never destroyed: forms freed by the application object during static destruction may still ask.
TPromptHandler &Handler()
{
    static auto *handler = new TPromptHandler;
    return *handler;
}
}  // namespace

TPromptHandler SetPromptHandler(TPromptHandler handler) { return std::exchange(Handler(), std::move(handler)); }

std::optional<TPromptAnswer> ScriptedAnswer(const TPrompt &prompt)
{
    if (!Handler())
        return std::nullopt;
    return Handler()(prompt);
}

#ifndef _WIN32
// Without a window system only a script can answer.
int MessageBoxPrompt(void *owner, const AnsiString &text, const AnsiString &caption, unsigned flags)
{
    TPrompt prompt{TPromptKind::MessageBox, owner, caption, text, AnsiString(), flags, nullptr};
    if (auto answer = ScriptedAnswer(prompt))
        return answer->Result;
    throw Exception("No one to answer the message box: " + caption + ": " + text);
}
#endif
