#pragma once
// The modal message dialog as the message service sees it. The dialog itself belongs to the UI
// controls above this library; they register their presenter at start-up. Until one is registered
// the service shows its messages in the framework's message box (through the prompt seam).
#include <cstdint>
#include <memory>
#include <vector>

#include "base/text/Markup.h"
#include "framework/runtime/AnsiString.h"

class TObject;

// Dialog kinds.
enum : std::uint8_t {
    MsgKindError = 0,
    MsgKindQuestion = 1,
    MsgKindWarning = 2,
    MsgKindThreeWay = 3,     // three numbered answers
    MsgKindQuestionBox = 4,  // question with a do-not-ask-again box
    MsgKindInformation = 5,
    MsgKindChoice = 6,       // choice list
    MsgKindWarningOnce = 7,  // warning with a do-not-show-again box
    MsgKindYesCancelNo = 8,  // yes / refuse / no
};

// One item of the choice dialog. The dialog lays out the item's text into Lines and keeps the
// control it makes for the item in Control; the item owns that control.
struct SMsgTest {
    SMsgTest() = default;
    ~SMsgTest();
    SMsgTest(const SMsgTest &) = delete;
    SMsgTest &operator=(const SMsgTest &) = delete;

    std::uint32_t Word1 = 0;
    std::uint32_t Word2 = 0;
    MarkupLayout Lines;
    TObject *Control = nullptr;
    AnsiString Text;
};

struct TMessageRequest {
    std::uint8_t Kind = MsgKindError;
    AnsiString Text;  // inline markup: "#" breaks lines, a leading "~" left-aligns
    bool HasView = false;
    AnsiString ErrorsFile;
    AnsiString InaccuraciesFile;
    AnsiString BoxCaption;                           // kind 4: a non-empty caption replaces the box's own
    bool BoxHidden = false;                          // kind 4: the box is not shown
    std::vector<std::unique_ptr<SMsgTest>> Choices;  // kind 6; the dialog takes them over
};

struct TMessageResult {
    int ModalResult = 2;           // 1: the yes/choose button; 2: any other close
    std::uint8_t ThreeWay = 3;     // kind 3: 1, 2 or 3
    std::uint8_t YesCancelNo = 2;  // kind 8: 1 yes, 3 refuse, 2 no
    int Selection = 0;             // kind 6: index of the chosen item
    bool BoxChecked = false;       // kinds 4 and 7
};

class TMessagePresenter {
public:
    virtual ~TMessagePresenter() = default;
    // Shows the dialog modally and returns what the user chose.
    virtual TMessageResult Present(TMessageRequest &request) = 0;
};

// The dialog's caption for a kind, in Russian or Ukrainian; empty for a kind above 8.
AnsiString MessageHeader(std::uint8_t kind, bool russian);

// Registers the dialog (null goes back to the message box). Returns the one it replaces.
TMessagePresenter *SetMessagePresenter(TMessagePresenter *presenter);
// The registered presenter, or the message-box presenter.
TMessagePresenter &CurrentMessagePresenter();
