#include "framework/windows/PromptScript.h"

TPromptScript::TPromptScript()
{
    previous_ = SetPromptHandler([this](const TPrompt &prompt) { return Next(prompt); });
}

TPromptScript::~TPromptScript() { SetPromptHandler(std::move(previous_)); }

TPromptScript &TPromptScript::Answer(int result)
{
    answers_.push_back(TPromptAnswer{result, {}});
    return *this;
}

TPromptScript &TPromptScript::AnswerFiles(std::vector<AnsiString> paths)
{
    answers_.push_back(TPromptAnswer{1, std::move(paths)});
    return *this;
}

TPromptScript &TPromptScript::AnswerFolder(const AnsiString &folder, const AnsiString &displayName)
{
    answers_.push_back(TPromptAnswer{1, {folder, displayName}});
    return *this;
}

TPromptScript &TPromptScript::Cancel()
{
    answers_.push_back(TPromptAnswer{0, {}});
    return *this;
}

TPromptScript &TPromptScript::PassThrough()
{
    answers_.push_back(std::nullopt);
    return *this;
}

std::optional<TPromptAnswer> TPromptScript::Next(const TPrompt &prompt)
{
    seen_.push_back(prompt);
    if (answers_.empty()) {
        ++unanswered_;
        bool dialog = prompt.Kind != TPromptKind::MessageBox && prompt.Kind != TPromptKind::ModalForm;
        return TPromptAnswer{dialog ? 0 : idCancel, {}};
    }
    bool passes = !answers_.front().has_value();
    TPromptAnswer answer = passes ? TPromptAnswer{} : std::move(*answers_.front());
    answers_.pop_front();
    if (passes)
        return std::nullopt;
    return answer;
}
