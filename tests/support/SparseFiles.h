#pragma once
// A store system of files that keep only the bytes written to them, so a test can hold a compound
// file whose data end lies just below 4 GB. Like a file on disk, and unlike the memory store, a write
// may run past 4 GB: the test can see that it happened. Installed for the life of the object.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "base/messages/zmsg.h"
#include "storage/compound/wstore.h"

class SparseFiles : public WStoreSystem {
public:
    using Bytes = std::vector<uint8_t>;

    SparseFiles() : old_(SetStoreSystem(this)) {}
    ~SparseFiles() override { SetStoreSystem(old_); }
    SparseFiles(const SparseFiles &) = delete;
    SparseFiles &operator=(const SparseFiles &) = delete;

    // A file of `size` bytes, zeros but for `bytes` at `offset`; more pieces can be put later.
    void Put(const AnsiString &name, uint64_t size, uint64_t offset, const Bytes &bytes)
    {
        auto &file = files_[name];
        if (!file)
            file = std::make_shared<File>();
        file->size = std::max({file->size, size, offset + bytes.size()});
        file->pieces.emplace_back(offset, bytes);
    }
    bool Exists(const AnsiString &name) const { return files_.count(name) != 0; }
    uint64_t SizeOf(const AnsiString &name) const { return files_.at(name)->size; }
    // Writes made to the file since it was put or created.
    uint32_t WritesTo(const AnsiString &name) const { return files_.at(name)->writes; }
    Bytes Read(const AnsiString &name, uint64_t offset, uint32_t n) const
    {
        Bytes out(n, 0);
        files_.at(name)->Copy(offset, out.data(), n);
        return out;
    }

    std::unique_ptr<WStore> Open(const AnsiString &name, int mode) override
    {
        auto it = files_.find(name);
        if (mode == 1 || mode == 4) {
            if (it == files_.end())
                throw ZError(name, 1);
            return std::make_unique<Store>(name, it->second, mode);
        }
        auto file = std::make_shared<File>();
        files_[name] = file;
        return std::make_unique<Store>(name, file, mode);
    }
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override
    {
        auto file = std::make_shared<File>();
        files_[name] = file;
        return std::make_unique<Store>(name, file, 4);
    }
    void Delete(const AnsiString &name) override { files_.erase(name); }
    void Replace(const AnsiString &target, const AnsiString &replacement) override
    {
        auto it = files_.find(replacement);
        if (it == files_.end())
            throw ZError(replacement, 1);
        auto file = it->second;
        files_.erase(it);
        files_[target] = std::move(file);
    }

private:
    struct File {
        uint64_t size = 0;
        std::vector<std::pair<uint64_t, Bytes>> pieces;  // in the order written: later ones win
        uint32_t writes = 0;

        void Copy(uint64_t offset, uint8_t *out, uint32_t n) const
        {
            for (const auto &[at, bytes] : pieces) {
                const uint64_t from = std::max(at, offset), to = std::min(at + bytes.size(), offset + n);
                if (from < to)
                    std::memcpy(out + (from - offset), bytes.data() + (from - at), to - from);
            }
        }
    };

    class Store : public WStore {
    public:
        Store(AnsiString name, std::shared_ptr<File> file, int mode) : name_(std::move(name)), file_(file), mode_(mode)
        {}
        const AnsiString &Name() const override { return name_; }
        uint32_t Read(void *buffer, uint32_t n) override
        {
            if (position_ >= file_->size)
                return 0;
            const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(n, file_->size - position_));
            std::memset(buffer, 0, count);
            file_->Copy(position_, static_cast<uint8_t *>(buffer), count);
            position_ += count;
            return count;
        }
        uint32_t Write(const void *buffer, uint32_t n) override
        {
            if (mode_ == 1)
                throw ZError(name_, 18);
            const auto *bytes = static_cast<const uint8_t *>(buffer);
            file_->pieces.emplace_back(position_, Bytes(bytes, bytes + n));
            ++file_->writes;
            position_ += n;
            file_->size = std::max(file_->size, position_);
            return n;
        }
        void Seek(uint32_t position) override { position_ = position; }
        uint32_t Tell() override { return static_cast<uint32_t>(position_); }
        uint32_t Size() override { return static_cast<uint32_t>(std::min<uint64_t>(file_->size, 0xFFFFFFFFu)); }
        void Flush() override {}
        void Truncate() override
        {
            if (mode_ == 1)
                throw ZError(name_, 18);
            file_->size = position_;
            for (auto &[at, bytes] : file_->pieces)
                bytes.resize(at >= position_ ? 0 : std::min<uint64_t>(bytes.size(), position_ - at));
        }

    private:
        AnsiString name_;
        std::shared_ptr<File> file_;
        int mode_;
        uint64_t position_ = 0;
    };

    std::map<AnsiString, std::shared_ptr<File>> files_;
    WStoreSystem *old_;
};
