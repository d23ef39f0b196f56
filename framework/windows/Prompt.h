#pragma once
// The one door through which the program asks the user anything: every system message box, every
// modal form, the open and save file dialogs and the shell's folder browser. A handler installed here
// (a test's script) answers in place of the user; without one the real window is shown.
#include <functional>
#include <optional>
#include <vector>

#include "framework/runtime/AnsiString.h"

class TObject;

enum class TPromptKind {
    MessageBox,    // Caption, Text, Flags (MB_ style bits) -> Result: the button id (idYes...)
    ModalForm,     // Caption (the form's caption), Name (the form's Name) -> Result: the modal result
    OpenFile,      // Caption (title), Text (the proposed file name) -> Result 1 and Paths, or 0
    SaveFile,      // as OpenFile
    BrowseFolder,  // Caption (title), Flags (BIF_ bits) -> Result 1 and Paths {folder, display name}, or 0
};

struct TPrompt {
    TPromptKind Kind = TPromptKind::MessageBox;
    void *Owner = nullptr;  // the owner window, when there is one
    AnsiString Caption;
    AnsiString Text;
    AnsiString Name;
    unsigned Flags = 0;
    TObject *Form = nullptr;  // ModalForm: the form being shown
};

struct TPromptAnswer {
    int Result = 0;
    std::vector<AnsiString> Paths;
};

// A handler answers a prompt, or returns nothing to let the real window be shown.
using TPromptHandler = std::function<std::optional<TPromptAnswer>(const TPrompt &)>;

// Installs a handler and returns the one it replaces (an empty handler removes scripting).
TPromptHandler SetPromptHandler(TPromptHandler handler);
// The installed handler's answer, or nothing when no handler is installed or it passes.
std::optional<TPromptAnswer> ScriptedAnswer(const TPrompt &prompt);

// Message box style bits and answers (the system's values).
constexpr unsigned mbOk = 0x0, mbOkCancel = 0x1, mbAbortRetryIgnore = 0x2, mbYesNoCancel = 0x3, mbYesNo = 0x4,
                   mbRetryCancel = 0x5, mbIconHand = 0x10, mbIconError = 0x10, mbIconStop = 0x10, mbIconQuestion = 0x20,
                   mbIconExclamation = 0x30, mbIconWarning = 0x30, mbIconAsterisk = 0x40, mbIconInformation = 0x40,
                   mbDefButton2 = 0x100, mbApplModal = 0x0, mbSystemModal = 0x1000, mbTaskModal = 0x2000;
constexpr int idOk = 1, idCancel = 2, idAbort = 3, idRetry = 4, idIgnore = 5, idYes = 6, idNo = 7;

// A message box through the seam: the script's answer, or the system's box (MessageBoxW) with this
// owner window, text, caption and style. Returns the button id; 0 when the box could not be shown.
int MessageBoxPrompt(void *owner, const AnsiString &text, const AnsiString &caption, unsigned flags);
