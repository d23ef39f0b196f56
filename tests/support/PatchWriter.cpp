#include "tests/support/PatchWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

void PutU32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint64_t SeedHash(const std::uint8_t *p, std::size_t n)
{
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Open-addressing index of the old buffer's seeds at every minMatch-th position; the first
// occurrence of a seed wins, so repeats in the new buffer point back to earlier old bytes.
class SeedIndex {
public:
    SeedIndex(std::span<const std::uint8_t> old, std::size_t seed) : old_(old), seed_(seed)
    {
        std::size_t want = 16;
        while (want < 2 * (old.size() / seed + 1))
            want *= 2;
        slots_.assign(want, 0);
        for (std::size_t p = 0; p + seed <= old.size(); p += seed) {
            std::size_t s = Slot(old.data() + p);
            while (slots_[s] != 0 && std::memcmp(old.data() + slots_[s] - 1, old.data() + p, seed) != 0)
                s = (s + 1) & (slots_.size() - 1);
            if (slots_[s] == 0)
                slots_[s] = p + 1;
        }
    }

    // Old position whose seed equals the bytes at p, or -1.
    std::ptrdiff_t Find(const std::uint8_t *p) const
    {
        for (std::size_t s = Slot(p); slots_[s] != 0; s = (s + 1) & (slots_.size() - 1)) {
            if (std::memcmp(old_.data() + slots_[s] - 1, p, seed_) == 0)
                return static_cast<std::ptrdiff_t>(slots_[s] - 1);
        }
        return -1;
    }

private:
    std::size_t Slot(const std::uint8_t *p) const { return SeedHash(p, seed_) & (slots_.size() - 1); }

    std::span<const std::uint8_t> old_;
    std::size_t seed_;
    std::vector<std::size_t> slots_;
};

std::size_t RunLength(std::span<const std::uint8_t> a, std::size_t i, std::span<const std::uint8_t> b, std::size_t j)
{
    std::size_t n = 0;
    while (i + n < a.size() && j + n < b.size() && a[i + n] == b[j + n])
        ++n;
    return n;
}

}  // namespace

std::vector<std::uint8_t> EncodePatch(const PatchImage &image)
{
    std::vector<std::uint8_t> out{'B', 'D', 'T', 1, 0, 4};
    PutU32(out, image.oldSize);
    PutU32(out, image.newSize);
    PutU32(out, static_cast<std::uint32_t>(image.steps.size()));
    for (const PatchStep &s : image.steps) {
        PutU32(out, static_cast<std::uint32_t>(s.move));
        PutU32(out, s.insert);
        PutU32(out, s.copy);
    }
    out.insert(out.end(), image.data.begin(), image.data.end());
    return out;
}

PatchImage DiffBuffers(std::span<const std::uint8_t> oldBytes, std::span<const std::uint8_t> newBytes,
                       const PatchWriterOptions &options)
{
    if (oldBytes.size() > 0x7FFFFFFF || newBytes.size() > 0xFFFFFFFF)
        throw std::invalid_argument("DiffBuffers: buffers too large for a patch");
    const std::size_t seed = std::max<std::size_t>(options.minMatch, 4);
    PatchImage image;
    image.oldSize = static_cast<std::uint32_t>(oldBytes.size());
    image.newSize = static_cast<std::uint32_t>(newBytes.size());
    const SeedIndex index(oldBytes, seed);

    std::size_t read = 0;     // read position in the old buffer
    std::size_t pending = 0;  // new bytes waiting to be inserted, ending at i
    std::size_t i = 0;
    while (i < newBytes.size()) {
        std::size_t from = read;
        std::size_t length = RunLength(oldBytes, read, newBytes, i);
        if (length < seed) {
            length = 0;
            if (i + seed <= newBytes.size()) {
                const std::ptrdiff_t found = index.Find(newBytes.data() + i);
                if (found >= 0) {
                    from = static_cast<std::size_t>(found);
                    length = RunLength(oldBytes, from, newBytes, i);
                    // Take back pending bytes that the match also covers.
                    while (pending > 0 && from > 0 && oldBytes[from - 1] == newBytes[i - 1]) {
                        --from, --i, --pending, ++length;
                    }
                }
            }
        }
        if (length == 0) {
            ++pending, ++i;
            continue;
        }
        image.steps.push_back({static_cast<std::int32_t>(std::int64_t(from) - std::int64_t(read)),
                               static_cast<std::uint32_t>(pending), static_cast<std::uint32_t>(length)});
        image.data.insert(image.data.end(), newBytes.begin() + (i - pending), newBytes.begin() + i);
        pending = 0;
        i += length;
        read = from + length;
    }
    if (pending > 0) {
        if (options.coverTail)
            image.steps.push_back({0, static_cast<std::uint32_t>(pending), 0});
        image.data.insert(image.data.end(), newBytes.end() - pending, newBytes.end());
    }
    return image;
}

std::uint64_t PatchTailSize(const PatchImage &image)
{
    std::uint64_t covered = 0;
    for (const PatchStep &s : image.steps)
        covered += std::uint64_t(s.insert) + s.copy;
    return image.newSize - covered;
}
