#include "framework/windows/Prompt.h"

#include <utility>

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
