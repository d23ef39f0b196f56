#include "update/FileOps.h"

namespace {

TFileOpGate *installedGate = nullptr;

}  // namespace

TFileOpGate *SetFileOpGate(TFileOpGate *gate)
{
    TFileOpGate *previous = installedGate;
    installedGate = gate;
    return previous;
}

void PassFileOpGate(TFileOp kind, const AnsiString &name)
{
    if (installedGate)
        installedGate->Before(kind, name);
}
