#pragma once
// The contract between the fuzz driver and one fuzz target (one target file per stored format).
// The entry point has libFuzzer's signature, so a target also builds under a real libFuzzer.
#include <cstddef>
#include <cstdint>
#include <vector>

// Runs one input; a finding aborts (sanitizer report, or a failed check of the target's own).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// Valid inputs the driver starts its mutations from.
std::vector<std::vector<std::uint8_t>> FuzzSeedInputs();

// Stops the run with a message when a target's own check fails.
[[noreturn]] void FuzzFinding(const char *what);
