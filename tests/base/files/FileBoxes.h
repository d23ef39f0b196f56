#pragma once
// Meets the file classes' message windows at the prompt seam as a user would: reads each one's
// caption and text while it is shown and answers it with the next queued button (Close when none is
// queued).
#include <deque>
#include <vector>

#include "framework/windows/Forms.h"
#include "framework/windows/Prompt.h"
#include "framework/windows/StdCtrls.h"

class FileBoxes {
public:
    struct Box {
        AnsiString Caption;
        AnsiString Text;
    };

    FileBoxes()
    {
        previous_ = SetPromptHandler([this](const TPrompt &p) -> std::optional<TPromptAnswer> {
            Box box;
            if (auto *form = dynamic_cast<TForm *>(p.Form)) {
                box.Caption = form->Caption();
                if (auto *label = dynamic_cast<TLabel *>(form->FindComponent("LbTxt")))
                    box.Text = label->Caption();
            }
            seen_.push_back(box);
            int answer = 0;  // Close
            if (!answers_.empty()) {
                answer = answers_.front();
                answers_.pop_front();
            }
            return TPromptAnswer{answer, {}};
        });
    }
    ~FileBoxes() { SetPromptHandler(previous_); }
    FileBoxes(const FileBoxes &) = delete;
    FileBoxes &operator=(const FileBoxes &) = delete;

    // The next box is answered with this button number (2 Yes, 1 No).
    FileBoxes &Answer(int button)
    {
        answers_.push_back(button);
        return *this;
    }
    const std::vector<Box> &Seen() const { return seen_; }

private:
    std::deque<int> answers_;
    std::vector<Box> seen_;
    TPromptHandler previous_;
};
