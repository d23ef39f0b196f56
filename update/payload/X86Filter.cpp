#include "update/payload/X86Filter.h"

#include "base/memory/Bytes.h"

namespace {

// The high byte of an operand that the converter treats as an address: near the start or the end of
// the address space.
bool IsAddressHighByte(uint8_t b) { return b == 0 || b == 0xFF; }

// For each mask of opcode bytes seen among the previous three positions: whether a branch here may be
// converted, and which operand byte decides it.
const bool kMaskAllowed[8] = {true, true, true, false, true, false, false, false};
const int kMaskToBitNumber[8] = {0, 1, 2, 2, 3, 3, 3, 3};

}  // namespace

size_t X86BranchConvert(uint8_t *data, size_t size, uint32_t ip, uint32_t &state, bool encoding)
{
    if (size < 5)
        return 0;
    ip += 5;
    uint32_t mask = state & 7;
    size_t pos = 0;
    size_t prevPos = size_t(0) - 1;  // position of the last opcode byte seen, "long ago" at the start
    const size_t limit = size - 4;

    for (;;) {
        while (pos < limit && (data[pos] & 0xFE) != 0xE8)
            ++pos;
        if (pos >= limit)
            break;
        uint8_t *p = data + pos;
        const size_t gap = pos - prevPos;
        if (gap > 3) {
            mask = 0;
        } else {
            mask = (mask << (gap - 1)) & 7;
            if (mask != 0) {
                const uint8_t b = p[4 - kMaskToBitNumber[mask]];
                if (!kMaskAllowed[mask] || IsAddressHighByte(b)) {
                    prevPos = pos;
                    mask = ((mask << 1) & 7) | 1;
                    ++pos;
                    continue;
                }
            }
        }
        prevPos = pos;

        if (IsAddressHighByte(p[4])) {
            uint32_t src = LoadU32(p + 1);
            uint32_t dest;
            for (;;) {
                const uint32_t here = ip + uint32_t(pos);
                dest = encoding ? src + here : src - here;
                if (mask == 0)
                    break;
                const int index = kMaskToBitNumber[mask] * 8;
                if (!IsAddressHighByte(uint8_t(dest >> (24 - index))))
                    break;
                src = dest ^ ((1u << (32 - index)) - 1);
            }
            p[4] = uint8_t(~(((dest >> 24) & 1) - 1));
            p[3] = uint8_t(dest >> 16);
            p[2] = uint8_t(dest >> 8);
            p[1] = uint8_t(dest);
            pos += 5;
        } else {
            mask = ((mask << 1) & 7) | 1;
            ++pos;
        }
    }
    const size_t gap = pos - prevPos;
    state = gap > 3 ? 0 : (mask << (gap - 1)) & 7;
    return pos;
}
