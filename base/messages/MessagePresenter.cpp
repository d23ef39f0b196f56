#include "base/messages/MessagePresenter.h"

#include "base/messages/MessageBoxPresenter.h"
#include "framework/runtime/Component.h"

SMsgTest::~SMsgTest() { delete Control; }

AnsiString MessageHeader(std::uint8_t kind, bool russian)
{
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

namespace {
TMessagePresenter *registered = nullptr;
}  // namespace

TMessagePresenter *SetMessagePresenter(TMessagePresenter *presenter)
{
    TMessagePresenter *previous = registered;
    registered = presenter;
    return previous;
}

TMessagePresenter &CurrentMessagePresenter() { return registered ? *registered : MessageBoxPresenter(); }
