#pragma once
// Scripted answers for the prompt seam: while a TPromptScript lives, each prompt takes the next queued
// answer and is recorded. A prompt met with no answer left is answered "cancel" (idCancel, which is also
// the modal result mrCancel, or no file / no folder) and counted, so a forgotten answer shows up as a
// test failure instead of a window waiting for a person.
#include <deque>
#include <vector>

#include "framework/windows/Prompt.h"

class TPromptScript {
public:
    TPromptScript();
    ~TPromptScript();
    TPromptScript(const TPromptScript &) = delete;
    TPromptScript &operator=(const TPromptScript &) = delete;

    // The next prompt is answered with this button id or modal result.
    TPromptScript &Answer(int result);
    // The next file dialog chooses these files (one unless multi-select); the next folder browser this
    // folder (and display name).
    TPromptScript &AnswerFiles(std::vector<AnsiString> paths);
    TPromptScript &AnswerFolder(const AnsiString &folder, const AnsiString &displayName = AnsiString());
    // The next file dialog or folder browser is cancelled.
    TPromptScript &Cancel();
    // The next prompt shows its real window (used for modal forms a test drives itself).
    TPromptScript &PassThrough();

    const std::vector<TPrompt> &Seen() const { return seen_; }
    size_t Pending() const { return answers_.size(); }
    int Unanswered() const { return unanswered_; }

private:
    std::optional<TPromptAnswer> Next(const TPrompt &prompt);

    std::deque<std::optional<TPromptAnswer>> answers_;
    std::vector<TPrompt> seen_;
    int unanswered_ = 0;
    TPromptHandler previous_;
};
