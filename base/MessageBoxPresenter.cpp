#include "base/MessageBoxPresenter.h"

#include "base/CfgLanguage.h"
#include "framework/Prompt.h"

namespace {

AnsiString Header(std::uint8_t kind)
{
    bool russian = MessageLanguage() != 0;
    switch (kind) {
    case MsgKindError: return russian ? "     О ш и б к а  !" : "     П о м и л к а  !";
    case MsgKindWarning:
    case MsgKindWarningOnce: return russian ? "     П р е д у п р е ж д е н и е  !" : "     П о п е р е д ж е н н я  !";
    case MsgKindInformation: return russian ? "     И н ф о р м а ц и я  !" : "     І н ф о р м а ц і я  !";
    case MsgKindQuestion:
    case MsgKindThreeWay:
    case MsgKindQuestionBox:
    case MsgKindChoice:
    case MsgKindYesCancelNo: return russian ? "     З а п р о с  !" : "     З а п и т  !";
    default: return AnsiString();
    }
}

AnsiString PlainText(const AnsiString &markup)
{
    AnsiString text = !markup.empty() && markup[0] == '~' ? markup.substr(1) : markup;
    for (char &c : text)
        if (c == '#')
            c = '\n';
    return text;
}

class TBoxPresenter : public TMessagePresenter {
public:
    TMessageResult Present(TMessageRequest &request) override
    {
        TMessageResult result;
        AnsiString caption = Header(request.Kind);
        AnsiString text = PlainText(request.Text);
        switch (request.Kind) {
        case MsgKindQuestion:
        case MsgKindQuestionBox:
            if (Box(text, caption, mbYesNo | mbIconQuestion) == idYes)
                result.ModalResult = 1;
            break;
        case MsgKindThreeWay: {
            int answer = Box(text, caption, mbYesNoCancel | mbIconQuestion);
            result.ThreeWay = answer == idYes ? 1 : answer == idNo ? 2 : 3;
            result.ModalResult = answer == idYes ? 1 : 2;
            break;
        }
        case MsgKindYesCancelNo: {
            int answer = Box(text, caption, mbYesNoCancel | mbIconQuestion);
            result.YesCancelNo = answer == idYes ? 1 : answer == idNo ? 2 : 3;
            result.ModalResult = answer == idYes ? 1 : 2;
            break;
        }
        case MsgKindChoice:
            for (size_t i = 0; i < request.Choices.size(); ++i) {
                int answer = Box(PlainText(request.Choices[i]->Text), caption, mbYesNoCancel | mbIconQuestion);
                if (answer == idYes) {
                    result.ModalResult = 1;
                    result.Selection = static_cast<int>(i);
                    break;
                }
                if (answer != idNo)
                    break;
            }
            break;
        case MsgKindWarning:
        case MsgKindWarningOnce: Box(text, caption, mbOk | mbIconWarning); break;
        case MsgKindInformation: Box(text, caption, mbOk | mbIconInformation); break;
        case MsgKindError: Box(text, caption, mbOk | mbIconError); break;
        default: Box(text, caption, mbOk); break;
        }
        return result;
    }

private:
    static int Box(const AnsiString &text, const AnsiString &caption, unsigned flags)
    {
        return MessageBoxPrompt(nullptr, text, caption, flags | mbTaskModal);
    }
};

}  // namespace

TMessagePresenter &MessageBoxPresenter()
{
    static TBoxPresenter presenter;
    return presenter;
}
