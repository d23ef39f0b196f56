#pragma once
// Runs a statement that must raise ZError and returns it, failing the test otherwise.
#include <functional>

#include <gtest/gtest.h>

#include "base/messages/zmsg.h"

inline ZError CatchZError(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const ZError &e) {
        return e;
    }
    ADD_FAILURE() << "no ZError was raised";
    return ZError("", -1);
}
