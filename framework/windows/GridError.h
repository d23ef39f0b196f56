#pragma once
// The grid's operation exception, apart from the grid control so that code without a window (a grid's
// model, its stored forms) can raise it too.
#include "framework/runtime/Exception.h"

// A grid asked for a cell it does not have or cannot hold (or for a fixed cell as its current cell).
class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};
