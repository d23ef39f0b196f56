#pragma once
// Answers the prompt seam step by step: each step sees the prompt and may work on the form it shows
// (a modal dialog the test fills and presses, as a user would). A prompt with no step left is answered
// No (or 0) and counted.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "framework/windows/Forms.h"
#include "framework/windows/Prompt.h"

class PromptSteps {
public:
    using Step = std::function<TPromptAnswer(const TPrompt &)>;
    PromptSteps()
    {
        previous_ = SetPromptHandler([this](const TPrompt &p) -> std::optional<TPromptAnswer> {
            seen.push_back(p);
            if (steps.empty()) {
                ++unanswered;
                return TPromptAnswer{p.Kind == TPromptKind::MessageBox ? idNo : 0, {}};
            }
            Step step = std::move(steps.front());
            steps.pop_front();
            return step(p);
        });
    }
    ~PromptSteps() { SetPromptHandler(previous_); }

    PromptSteps &Then(Step step)
    {
        steps.push_back(std::move(step));
        return *this;
    }
    PromptSteps &Answer(int result)
    {
        return Then([result](const TPrompt &) { return TPromptAnswer{result, {}}; });
    }
    // The dialog of class TDialog is shown: `act` works on it, and its modal result is the answer.
    template <class TDialog, class Act>
    PromptSteps &OnDialog(Act act)
    {
        return Then([act](const TPrompt &p) {
            auto *form = dynamic_cast<TDialog *>(p.Form);
            EXPECT_NE(form, nullptr);
            if (!form)
                return TPromptAnswer{idCancel, {}};
            act(*form);
            return TPromptAnswer{form->ModalResult(), {}};
        });
    }

    std::deque<Step> steps;
    std::vector<TPrompt> seen;
    int unanswered = 0;

private:
    TPromptHandler previous_;
};
