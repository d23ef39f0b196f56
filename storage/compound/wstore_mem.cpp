#include "storage/compound/wstore_mem.h"

#include <cstring>
#include <utility>

#include "base/messages/zmsg.h"

namespace {

// A store that holds its file for as long as it lives.
class HeldMemStore : public MemStore {
public:
    HeldMemStore(AnsiString name, std::shared_ptr<std::vector<uint8_t>> bytes, std::shared_ptr<void> token)
        : MemStore(std::move(name), std::move(bytes), 4), token_(std::move(token))
    {}

private:
    std::shared_ptr<void> token_;
};

[[noreturn]] void RaiseHeld(const AnsiString &name)
{
    throw ZError(name + ": процесс не может получить доступ к файлу, так как этот файл занят другим процессом "
                        "[Win=00000020]",
                 99);
}

}  // namespace

bool MemStoreSystem::Held(const AnsiString &name) const
{
    auto it = holders_.find(name);
    return it != holders_.end() && !it->second.expired();
}

std::unique_ptr<WStore> MemStoreSystem::Open(const AnsiString &name, int mode)
{
    if (mode < 1 || mode > 4)
        throw 0;  // as SFile: a mode outside 1 to 4 is a programming error, not a file error
    if (Held(name))
        RaiseHeld(name);
    auto it = files_.find(name);
    if (mode == 1 || mode == 4) {
        if (it == files_.end())
            throw ZError(name, 1);
        return std::make_unique<MemStore>(name, it->second, mode);
    }
    auto bytes = std::make_shared<Bytes>();
    files_[name] = bytes;
    return std::make_unique<MemStore>(name, bytes, mode);
}

std::unique_ptr<WStore> MemStoreSystem::CreateHeld(const AnsiString &name)
{
    if (Held(name))
        return nullptr;
    auto bytes = std::make_shared<Bytes>();
    files_[name] = bytes;
    auto token = std::make_shared<int>(0);
    holders_[name] = token;
    return std::make_unique<HeldMemStore>(name, bytes, std::move(token));
}

void MemStoreSystem::Delete(const AnsiString &name)
{
    if (!Held(name))
        files_.erase(name);
}

void MemStoreSystem::Replace(const AnsiString &target, const AnsiString &replacement)
{
    if (Held(target) || Held(replacement))
        RaiseHeld(Held(target) ? target : replacement);
    auto it = files_.find(replacement);
    if (it == files_.end())
        throw ZError(replacement, 1);
    // A file still open on the old name keeps the old bytes, as an open handle does on disk.
    auto bytes = it->second;
    files_.erase(it);
    files_[target] = std::move(bytes);
}

bool MemStoreSystem::Exists(const AnsiString &name) const { return files_.count(name) != 0; }

MemStoreSystem::Bytes MemStoreSystem::Get(const AnsiString &name) const
{
    auto it = files_.find(name);
    return it == files_.end() ? Bytes() : *it->second;
}

void MemStoreSystem::Put(const AnsiString &name, Bytes bytes)
{
    // In place, so that a file already open sees the new contents, as it would on disk.
    auto it = files_.find(name);
    if (it != files_.end())
        *it->second = std::move(bytes);
    else
        files_[name] = std::make_shared<Bytes>(std::move(bytes));
}

MemStore::MemStore(AnsiString name, std::shared_ptr<std::vector<uint8_t>> bytes, int mode)
    : name_(std::move(name)), bytes_(std::move(bytes)), mode_(mode)
{}

uint32_t MemStore::Read(void *buffer, uint32_t n)
{
    if (mode_ == 2 || mode_ == 3)
        throw ZError(name_, 17);
    if (position_ >= bytes_->size())
        return 0;
    const uint32_t count = static_cast<uint32_t>(std::min<std::size_t>(n, bytes_->size() - position_));
    std::memcpy(buffer, bytes_->data() + position_, count);
    position_ += count;
    return count;
}

void MemStore::Truncate()
{
    if (mode_ == 1)
        throw ZError(name_, 18);
    bytes_->resize(position_);
}

uint32_t MemStore::Write(const void *buffer, uint32_t n)
{
    if (mode_ == 1)
        throw ZError(name_, 18);
    if (n == 0)
        return 0;
    const std::size_t end = std::size_t(position_) + n;
    if (end > 0xFFFFFFFFu)
        throw ZError("Файл " + name_ + " превысил 4 Гбайт", 0);
    if (bytes_->size() < end)
        bytes_->resize(end);  // writing past the end fills the gap with zeros, as a file does
    std::memcpy(bytes_->data() + position_, buffer, n);
    position_ = static_cast<uint32_t>(end);
    return n;
}

uint32_t MemStore::Size() { return static_cast<uint32_t>(bytes_->size()); }
