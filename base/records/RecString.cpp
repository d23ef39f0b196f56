// Text slots of fixed records.
#include "base/records/RecString.h"

#include <atomic>
#include <cstring>

struct RecString::Block {
    std::atomic<long> holders{1};
    AnsiString text;
};

RecString::Block *RecString::Load(const void *record, std::size_t offset)
{
    Block *block;
    std::memcpy(&block, static_cast<const char *>(record) + offset, sizeof block);
    return block;
}

void RecString::Store(void *record, std::size_t offset, Block *block)
{
    std::memcpy(static_cast<char *>(record) + offset, &block, sizeof block);
}

void RecString::Release(Block *block)
{
    if (block != nullptr && block->holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete block;
}

void RecString::Init(void *record, std::size_t offset) { Store(record, offset, nullptr); }

std::string_view RecString::View(const void *record, std::size_t offset)
{
    Block *block = Load(record, offset);
    return block != nullptr ? std::string_view(block->text) : std::string_view();
}

bool RecString::IsEmpty(const void *record, std::size_t offset) { return Load(record, offset) == nullptr; }

void RecString::Set(void *record, std::size_t offset, std::string_view text)
{
    // The new block is made before the old one goes: the text may lie in it.
    Block *fresh = nullptr;
    if (!text.empty()) {
        fresh = new Block;
        fresh->text.assign(text);
    }
    Block *old = Load(record, offset);
    Store(record, offset, fresh);
    Release(old);
}

void RecString::Clear(void *record, std::size_t offset)
{
    Block *old = Load(record, offset);
    Store(record, offset, nullptr);
    Release(old);
}

void RecString::Share(void *dstRecord, std::size_t dstOffset, const void *srcRecord, std::size_t srcOffset)
{
    Block *shared = Load(srcRecord, srcOffset);
    if (shared != nullptr)
        shared->holders.fetch_add(1, std::memory_order_relaxed);
    Block *old = Load(dstRecord, dstOffset);
    Store(dstRecord, dstOffset, shared);
    Release(old);
}

long RecString::Holders(const void *record, std::size_t offset)
{
    Block *block = Load(record, offset);
    return block != nullptr ? block->holders.load(std::memory_order_relaxed) : 0;
}
