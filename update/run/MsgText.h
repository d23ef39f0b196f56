#pragma once
// Texts of the engine's message boxes: the "$_$" places filled from the caller's arguments, the id
// suffix, and the caption and style of each kind of box. Pure text work; the boxes themselves are in
// MsgBoxes.h.
#include <cstdint>
#include <initializer_list>

#include "framework/runtime/AnsiString.h"

// The three kinds of box the engine shows.
enum EMsgKind { emk_Question, emk_Error, emk_Info };

// Caption of a kind: "Внимание!", "Ошибка!" or "Информация.".
const char *MsgCaption(EMsgKind kind);
// Style flags of a kind (all system-modal): question MB_YESNO | MB_ICONQUESTION, error MB_OK |
// MB_ICONHAND, information MB_OK | MB_ICONASTERISK.
uint32_t MsgStyle(EMsgKind kind);

// Each argument in turn replaces the next "$_$" of the text; an argument with no place left is
// appended after one blank.
AnsiString FillPlaceholders(AnsiString text, std::initializer_list<AnsiString> args);

// "\n(msgid №" + id + ")": lets a user who reports a message name it.
AnsiString MsgIdSuffix(int32_t id);

// The text without any "$_$" (places that no argument filled).
AnsiString RemoveUnfilledPlaceholders(const AnsiString &text);
