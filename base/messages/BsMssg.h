#pragma once
// The library's own small message window, built at run time from a kind table in Russian or
// Ukrainian: a caption, an icon, a colour, an optional word-wrapped text and one to three buttons.
#include <cstdint>

#include "base/text/BilingualTable.h"
#include "framework/runtime/AnsiString.h"

class TForm;

// Button numbers; a button's number is also its modal result.
enum : uint8_t { BsBtnClose = 0, BsBtnNo = 1, BsBtnYes = 2, BsBtnView = 3 };
// Dialog kinds.
enum : uint8_t {
    BsKindInfo = 0,
    BsKindWarning = 1,
    BsKindError = 2,
    BsKindChoice = 3,
    BsKindInfoView = 4,
    BsKindWarningView = 5,
    BsKindErrorView = 6,
    BsKindChoiceView = 7,
};

// One row of the kind table: the caption number (also the icon's), the buttons and the form colour.
struct BsMssgKind {
    uint8_t Kind;
    uint8_t Caption;
    uint8_t ButtonCount;
    uint8_t Buttons[3];
    uint32_t Color;  // 0x00BBGGRR
};
// The table's row of a kind; null for a kind it does not hold.
const BsMssgKind *FindBsMssgKind(int kind);

// Captions and button texts (terminator 4 in both tables).
extern const BilingualRow BsMssgCaptions[];
extern const BilingualRow BsMssgButtons[];
constexpr uint32_t BsMssgTableEnd = 4;

// Where things go on a dialog of `formWidth` with the margin unit m (the caption height).
struct BsMssgLayout {
    bool HasLabel = false;
    int LabelLeft = 0, LabelTop = 0, LabelWidth = 0;
    int ButtonTop = 0;
    int ButtonLeft[3] = {0, 0, 0};
    int FormHeight = 0;
};
constexpr int BsButtonWidth = 75, BsButtonHeight = 25;
// The text's label width for a form width: the label's height is measured at this width.
int BsLabelWidth(int formWidth, int m);
BsMssgLayout LayoutBsMssg(const BsMssgKind &kind, int formWidth, int m, bool hasText, int labelHeight);

// The text of a system error: "Системное сообщения: #" (Russian) or "Системное повідомлення: #"
// (Ukrainian) and the system's text; without a system text the no-system-text message. At most
// 1023 characters.
AnsiString BsSystemText(uint8_t language, const AnsiString &systemText);

class TBsMssg {
public:
    TBsMssg();
    ~TBsMssg();
    TBsMssg(const TBsMssg &) = delete;
    TBsMssg &operator=(const TBsMssg &) = delete;

    // The text, with the parameter in the place of its first '$' (or after it when it has none).
    // Lengths of 0 mean up to the NUL; null texts count as empty; no text at all leaves none.
    void SetText(const char *text, const char *parameter = nullptr, int parameterLength = 0, int textLength = 0);
    // The table's text of the number in the language; without one the missing-text message with
    // the number (the parameter is then not used).
    void SetTextByNumber(uint8_t language, uint32_t number, const char *parameter, const BilingualRow *table,
                         uint32_t terminator);
    // The program's string resource; without one the missing-text message with the id.
    void SetTextByResource(int id, uint8_t language);
    // The system's text of a Windows error code, the parameter after it.
    void SetSystemText(uint8_t language, uint32_t errorCode, const char *parameter);

    // Shows the dialog of the kind modally: 2 when the user chose Yes, 0 for anything else (and for
    // a kind the table does not hold, when nothing is shown).
    uint8_t Show(int kind);
    uint8_t Info() { return Show(BsKindInfo); }
    uint8_t Warning() { return Show(BsKindWarning); }
    uint8_t Error() { return Show(BsKindError); }
    uint8_t Choice() { return Show(BsKindChoice); }
    bool Ask() { return Choice() == BsBtnYes; }

    // 0 Ukrainian, 1 Russian.
    uint8_t Language() const { return language_; }
    void SetLanguage(uint8_t language) { language_ = language; }
    // The text; null when there is none.
    const char *Text() const { return text_; }
    // The dialog while it is shown, null otherwise.
    TForm *Form() const { return form_; }

    uint8_t FontHeight = 8;     // in points
    uint8_t FontCharset = 204;  // Cyrillic
    const char *FontName = "Arial Cyr";
    char Placeholder = '$';

private:
    TForm *Build(const BsMssgKind &kind);
    void Answer(uint8_t button);

    TForm *form_ = nullptr;
    uint8_t result_ = 0;
    uint8_t language_ = 1;
    char *text_ = nullptr;
    bool answered_ = false;
    bool shown_ = false;
};
