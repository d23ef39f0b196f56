#pragma once
// The CI's slowdown guard (updatebench.exe guard WORK, the CTest test slowdown_guard): writes a small
// installation and its update into WORK, then times the engine's update run and its copy of the
// installation beside their floors, alternately, each figure by this program's own mode in a process of
// its own on a fresh tree, as tools/bench does. It prints the least of each figure and floor over the
// rounds and their ratios, and fails only when a ratio passes its limit (5 for the run, 3 for the
// copy): a guard against a change that makes the engine many times slower, not a speed target. WORK is
// removed at the end.
#include "framework/runtime/AnsiString.h"

// The exit code: 0 when both ratios are within their limits.
int SlowdownGuard(const AnsiString &work);
