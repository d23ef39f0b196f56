#include "update/apply/FileOps.h"

#include <string>

#include "framework/runtime/Classes.h"

namespace {

TFileOpGate *installedGate = nullptr;
bool flushesOn = true;

}  // namespace

TFileOpGate *SetFileOpGate(TFileOpGate *gate)
{
    TFileOpGate *previous = installedGate;
    installedGate = gate;
    return previous;
}

void SetFileFlushes(bool on) { flushesOn = on; }

bool FileFlushesOn() { return flushesOn; }

uint32_t PassFileOpGate(TFileOp kind, const AnsiString &name)
{
    return installedGate ? installedGate->Before(kind, name) : 0;
}

void ThrowFileOpWriteError(const AnsiString &fileName, uint32_t error)
{
    throw EWriteError("Stream write error in \"" + fileName + "\" (system error " + std::to_string(error) + ")");
}
