#pragma once
// TDMessages: the one modal message dialog of the system. The message service makes one for every
// error, question, warning, information, three-way question, choice list and yes/refuse/no question,
// through the presenter the controls' start-up registers; the dialog lays its text out with the inline
// markup and sizes itself to it.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/text/Markup.h"
#include "base/messages/MessagePresenter.h"
#include "framework/windows/Forms.h"

class TButton;
class TImage;
class TImageList;
class TTimer;
class TZCheckBox;

class TDMessages : public TForm {
public:
    // Builds the dialog for one kind (MsgKindError...): its image, buttons and their captions in the
    // interface language, its handlers and the control whose top bounds the text. normalColour false
    // gives the alarm colours: a red form, white bold text and the images drawn for a red ground.
    TDMessages(TComponent *owner, bool normalColour, std::uint8_t kind);
    ~TDMessages() override;

    // Components, in the order they are made.
    TTimer *Timer;
    TImage *Image;
    TImageList *ImageList;  // eight 64 x 64 images: error, question, warning, information, then in alarm colours
    TButton *btYes;
    TButton *btWatchExit;
    TButton *btNoWatch;
    TZCheckBox *Ask;

    // Handlers.
    void FormCreate(TObject *Sender);
    void FormKeyDown(TObject *Sender, std::uint16_t &Key, TShiftState Shift);
    void FormPaint(TObject *Sender);
    void FormShow(TObject *Sender);
    void btYesClick(TObject *Sender);
    void btWatchExitClick(TObject *Sender);
    void btNoWatchClick(TObject *Sender);
    void OnTimer(TObject *Sender);
    void ChoiceClick(TObject *Sender);

    // What the caller fills before showing the dialog: the text (inline markup, "#" breaks lines, a
    // leading "~" left-aligns), the view button and its two files, the items of a choice list (the
    // dialog owns them).
    AnsiString Text;
    bool HasView = false;
    AnsiString ErrorsFile;
    AnsiString InaccuraciesFile;
    std::vector<std::unique_ptr<SMsgTest>> ChoiceList;

    // Results after the modal show, besides the modal result (1 the yes/choose button, 2 any close)
    // and Ask's state: the three-way answer (1, 2, 3), the yes/refuse/no answer (1 yes, 3 refuse,
    // 2 no), the chosen item.
    std::uint8_t ThreeWay = 0;
    std::uint8_t YesCancelNo = 0;
    int Selection = 0;

    // The layout made at show.
    int SpareHeight = 0;      // how far the buttons moved up (negative: down)
    int TextBlockHeight = 0;  // the laid-out text (or the choice list) + 6
    int LineCount = 0;
    MarkupLayout Layout;
    int ItemGap = 0;  // kind 6: the gap between items
    bool CentreLines = true;

    std::uint8_t Kind() const { return kind_; }
    bool NormalColour() const { return normalColour_; }
    // The control whose top bounds the text area; the buttons sit at its height.
    TControl *Reference() const { return reference_; }
    // Where the text area starts: right of the image.
    int TextLeft() const;

private:
    void PlaceChoices();
    void PaintChoices(int top);
    void CloseDialog();
    void ShowViewer();

    std::uint8_t kind_;
    bool normalColour_;
    int imageOffset_ = 0;
    TControl *reference_ = nullptr;
    int textHeight_ = 0;  // the laid-out text without the 6 pixels
};

// The control's text: the Ukrainian one when the interface language is Ukrainian, else the Russian one.
void SetLangText(TControl *control, const AnsiString &russian, const AnsiString &ukrainian);

// A question with a do-not-ask-again box over a ready text: bit 0 the user said yes, bit 1 the box is
// ticked.
std::uint8_t AskDontAskAgain(const AnsiString &text);

// ---- pure rules of the layout ---------------------------------------------------------------------
// The image of a kind among the four of one colour set (0 error, 1 question, 2 warning, 3
// information); -1 for a kind above 8, which shows none.
int MessageImageOf(std::uint8_t kind);
// How far the buttons move up at show: the room the text leaves above the reference control, but never
// so far that the reference control ends less than 10 pixels below the image's height.
int MessageSpareHeight(int clientHeight, int height, int referenceTop, int textBlockHeight, int imageHeight);

// A caption as a control shows it: a single "&" marks the next letter and is not drawn, "&&" shows one.
AnsiString ShownCaption(const AnsiString &caption);

// Start-up and shutdown steps of the controls: the dialog becomes the message service's presenter,
// and the one it replaced comes back. The native build has no dialog and changes nothing.
void StartMessageDialog();
void StopMessageDialog();
