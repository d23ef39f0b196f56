#pragma once
// A message dialog for tests: registered while it lives, it records the text of every message the
// library would show and answers each with the dialog's default result.
#include <vector>

#include "base/MessagePresenter.h"

class TShownMessages : public TMessagePresenter {
public:
    TShownMessages() : previous_(SetMessagePresenter(this)) {}
    ~TShownMessages() override { SetMessagePresenter(previous_); }
    TShownMessages(const TShownMessages &) = delete;
    TShownMessages &operator=(const TShownMessages &) = delete;

    TMessageResult Present(TMessageRequest &request) override
    {
        texts.push_back(request.Text);
        return {};
    }

    std::vector<AnsiString> texts;

private:
    TMessagePresenter *previous_;
};
