#include "controls/messages/umessages.h"

int MessageImageOf(std::uint8_t kind)
{
    switch (kind) {
    case MsgKindError: return 0;
    case MsgKindQuestion:
    case MsgKindThreeWay:
    case MsgKindQuestionBox:
    case MsgKindChoice:
    case MsgKindYesCancelNo: return 1;
    case MsgKindWarning:
    case MsgKindWarningOnce: return 2;
    case MsgKindInformation: return 3;
    default: return -1;
    }
}

int MessageSpareHeight(int clientHeight, int height, int referenceTop, int textBlockHeight, int imageHeight)
{
    int spare = clientHeight - (height - referenceTop) - textBlockHeight;
    const int lowest = imageHeight + 10;
    if (referenceTop - spare < lowest)
        spare = referenceTop - lowest;
    return spare;
}

AnsiString ShownCaption(const AnsiString &caption)
{
    AnsiString shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 >= caption.size())
                break;
            ++i;
        }
        shown += caption[i];
    }
    return shown;
}
