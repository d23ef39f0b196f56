#include "base/MessagePresenter.h"

#include "base/MessageBoxPresenter.h"
#include "framework/Component.h"

SMsgTest::~SMsgTest() { delete Control; }

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
