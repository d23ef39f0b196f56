#pragma once
// Files held in memory, by name: the store system of tests, of the fuzz target, and of the native
// build. Modes and errors follow SFile: a missing file in mode 1 or 4 raises ZError 1, reading a file
// opened for writing ZError 17, writing a file opened for reading ZError 18. Mode 2 replaces an
// existing file like mode 3: there is nobody to ask. A file held by CreateHeld is refused to every
// other opener, as a file on disk is (ZError 99, a sharing violation), and is not deleted.
#include <map>
#include <memory>
#include <vector>

#include "storage/compound/wstore.h"

class MemStoreSystem : public WStoreSystem {
public:
    using Bytes = std::vector<uint8_t>;

    std::unique_ptr<WStore> Open(const AnsiString &name, int mode) override;
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override;
    void Delete(const AnsiString &name) override;
    // A missing replacement raises ZError 1 and leaves the target as it was.
    void Replace(const AnsiString &target, const AnsiString &replacement) override;

    bool Exists(const AnsiString &name) const;
    // The file's bytes (empty when it does not exist).
    Bytes Get(const AnsiString &name) const;
    void Put(const AnsiString &name, Bytes bytes);

private:
    bool Held(const AnsiString &name) const;

    std::map<AnsiString, std::shared_ptr<Bytes>> files_;
    // The holder's token of each held file: the file is held while its store lives.
    std::map<AnsiString, std::weak_ptr<void>> holders_;
};

// One file over a byte buffer it shares with its store system (or owns, for a bare memory reader).
class MemStore : public WStore {
public:
    MemStore(AnsiString name, std::shared_ptr<std::vector<uint8_t>> bytes, int mode);

    const AnsiString &Name() const override { return name_; }
    uint32_t Read(void *buffer, uint32_t n) override;
    uint32_t Write(const void *buffer, uint32_t n) override;
    void Seek(uint32_t position) override { position_ = position; }
    uint32_t Tell() override { return position_; }
    uint32_t Size() override;
    void Flush() override {}
    void Truncate() override;

private:
    AnsiString name_;
    std::shared_ptr<std::vector<uint8_t>> bytes_;
    int mode_;
    uint32_t position_ = 0;
};
