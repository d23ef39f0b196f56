#pragma once
// The engine's message boxes: system-modal question, error and information boxes whose texts come from
// the Russian string table by id. Each "$_$" of a text takes the next argument; most boxes end with the
// id suffix so that a user who reports a message can name it. Every box passes the program's prompt
// seam, so tests answer them by script.
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"

// Question boxes: true when the answer is Yes.
bool AskYesNo(int32_t id, bool addSuffix);
bool AskYesNo(int32_t id, const AnsiString &text1, bool addSuffix);
bool AskYesNo(int32_t id, const AnsiString &text1, const AnsiString &text2, bool addSuffix);
bool AskYesNo(int32_t id, const AnsiString &text1, const AnsiString &text2, const AnsiString &text3, bool addSuffix);

// Error boxes: without arguments always with the id suffix, with arguments never.
void ShowError(int32_t id);
void ShowError(int32_t id, const AnsiString &text1);
void ShowError(int32_t id, const AnsiString &text1, const AnsiString &text2);

// Information box.
void ShowInfo(int32_t id, bool addSuffix);

// Boxes of a ready text (places left unfilled are removed).
bool AskYesNoText(const AnsiString &text);
void ShowErrorText(const AnsiString &text);
void ShowInfoText(const AnsiString &text);

// Called before each box is shown (the main window shows the protocol lines still waiting). One owner
// at a time; clearing with another owner leaves it.
void SetBeforeMessageBox(const void *owner, std::function<void()> before);
void ClearBeforeMessageBox(const void *owner);
// Owner window of the boxes: the active form's window, else the main form's, else none; none when the
// application has no main form.
void *MsgParentWindow();
