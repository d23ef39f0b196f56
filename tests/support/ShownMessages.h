#pragma once
// A message dialog for tests: registered while it lives, it records the text of every message the
// library would show and answers each with the given modal result (by default the dialog's own: 2).
#include <vector>

#include "base/messages/MessagePresenter.h"

class TShownMessages : public TMessagePresenter {
public:
    explicit TShownMessages(int modalResult = TMessageResult{}.ModalResult)
        : modalResult_(modalResult), previous_(SetMessagePresenter(this))
    {}
    ~TShownMessages() override { SetMessagePresenter(previous_); }
    TShownMessages(const TShownMessages &) = delete;
    TShownMessages &operator=(const TShownMessages &) = delete;

    TMessageResult Present(TMessageRequest &request) override
    {
        texts.push_back(request.Text);
        TMessageResult result;
        result.ModalResult = modalResult_;
        return result;
    }

    std::vector<AnsiString> texts;

private:
    int modalResult_;
    TMessagePresenter *previous_;
};
