// The dialog wrappers: each fills a request for the registered message dialog and reads its answer.
#include <memory>

#include "base/messages/MessagePresenter.h"
#include "base/messages/zmsg.h"

namespace {

constexpr int WarningOffset = 1000, QuestionOffset = 2000, InformationOffset = 3000;
constexpr int AlreadyShown = 999;

// A number 0 stays 0: its arguments are the whole text.
int WithOffset(int number, int offset) { return number == 0 ? 0 : number + offset; }

TMessageRequest Request(std::uint8_t kind, AnsiString text)
{
    TMessageRequest request;
    request.Kind = kind;
    request.Text = std::move(text);
    return request;
}

TMessageRequest RequestWithView(std::uint8_t kind, AnsiString text, const AnsiString &file1, const AnsiString &file2)
{
    TMessageRequest request = Request(kind, std::move(text));
    request.HasView = true;
    request.ErrorsFile = file1;
    request.InaccuraciesFile = file2;
    return request;
}

TMessageResult Present(TMessageRequest request) { return CurrentMessagePresenter().Present(request); }

std::uint8_t BoxBits(const TMessageResult &result)
{
    return static_cast<std::uint8_t>((result.ModalResult == 1 ? 1 : 0) | (result.BoxChecked ? 2 : 0));
}

}  // namespace

void ShowMessageNo(const AnsiString &args, int number)
{
    if (number != AlreadyShown)
        Present(Request(MsgKindError, MessageText(args, number)));
}

void ShowMessageWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2)
{
    if (number != AlreadyShown)
        Present(RequestWithView(MsgKindError, MessageText(args, number), file1, file2));
}

void ShowZError(const ZError &e) { ShowMessageNo(e.Message(), e.Number()); }

bool AskQuestion(const AnsiString &args, int number)
{
    return Present(Request(MsgKindQuestion, MessageText(args, WithOffset(number, QuestionOffset)))).ModalResult == 1;
}

bool AskQuestionWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2)
{
    AnsiString text = MessageText(args, WithOffset(number, QuestionOffset));
    return Present(RequestWithView(MsgKindQuestion, text, file1, file2)).ModalResult == 1;
}

void ShowWarning(const AnsiString &args, int number)
{
    Present(Request(MsgKindWarning, MessageText(args, WithOffset(number, WarningOffset))));
}

void ShowWarningWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2)
{
    Present(RequestWithView(MsgKindWarning, MessageText(args, WithOffset(number, WarningOffset)), file1, file2));
}

std::uint8_t AskThreeWay(const AnsiString &args, int number)
{
    return Present(Request(MsgKindThreeWay, MessageText(args, WithOffset(number, QuestionOffset)))).ThreeWay;
}

std::uint8_t AskQuestionWithBox(const AnsiString &text) { return BoxBits(Present(Request(MsgKindQuestionBox, text))); }

std::uint8_t ShowMessageBoxed(const AnsiString &text, const AnsiString &boxCaption)
{
    TMessageRequest request = Request(MsgKindQuestionBox, text);
    request.BoxCaption = boxCaption;
    request.BoxHidden = boxCaption.empty();
    return BoxBits(Present(std::move(request)));
}

void ShowInformation(const AnsiString &args, int number)
{
    Present(Request(MsgKindInformation, MessageText(args, WithOffset(number, InformationOffset))));
}

void ShowInformationWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2)
{
    AnsiString text = MessageText(args, WithOffset(number, InformationOffset));
    Present(RequestWithView(MsgKindInformation, text, file1, file2));
}

int ChooseFromList(const AnsiString &args, std::initializer_list<int> numbers)
{
    TMessageRequest request = Request(MsgKindChoice, AnsiString());
    for (int number : numbers) {
        if (number < 1)
            break;
        auto item = std::make_unique<SMsgTest>();
        item->Text = MessageText(args, number);
        request.Choices.push_back(std::move(item));
    }
    if (request.Choices.empty())
        return -1;
    size_t count = request.Choices.size();
    TMessageResult result = Present(std::move(request));
    if (result.ModalResult != 1 || result.Selection < 0 || static_cast<size_t>(result.Selection) >= count)
        return -1;
    return result.Selection;
}

bool ShowWarningOnce(const AnsiString &args, int number)
{
    return Present(Request(MsgKindWarningOnce, MessageText(args, WithOffset(number, WarningOffset)))).BoxChecked;
}

std::uint8_t AskYesCancelNo(const AnsiString &args, int number)
{
    return Present(Request(MsgKindYesCancelNo, MessageText(args, WithOffset(number, QuestionOffset)))).YesCancelNo;
}
