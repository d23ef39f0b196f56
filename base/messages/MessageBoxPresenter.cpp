#include "base/messages/MessageBoxPresenter.h"

#include "base/text/CfgLanguage.h"
#include "framework/windows/Prompt.h"

namespace {

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
        AnsiString caption = MessageHeader(request.Kind, MessageLanguage() != 0);
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
