#pragma once
// The x86 branch converter of Lzma86 streams with filter flag 1: the 32-bit operands of CALL (E8) and
// JMP (E9) instructions are stored as absolute addresses, which compress better; decoding turns them
// back into relative ones.
#include <cstddef>
#include <cstdint>

// Converts `data` in place as if it were loaded at address `ip`. `state` carries the recent-opcode
// mask from one piece to the next (0 at the start of a stream). Returns how many bytes were finished;
// the rest (at most 4) must be passed again with the next piece, or are left as they are at the end.
size_t X86BranchConvert(uint8_t *data, size_t size, uint32_t ip, uint32_t &state, bool encoding);
