#pragma once
// A store system over another one whose writes to one named file fail, as on a full disk, once a
// given number of bytes has been written to it, or from a given write or open of it on, as when the
// program is killed there or another program locks the file.
#include <cstdint>
#include <functional>
#include <utility>

#include "base/messages/zmsg.h"
#include "storage/compound/wstore.h"

class FaultyStoreSystem : public WStoreSystem {
public:
    explicit FaultyStoreSystem(WStoreSystem &inner) : inner_(inner), old_(SetStoreSystem(this)) {}
    ~FaultyStoreSystem() override { SetStoreSystem(old_); }

    // Writes to name fail once budget more bytes have gone to it; the failing write writes nothing,
    // or, with whatFits, the bytes that fit in the budget before it fails.
    void FailWritesTo(const AnsiString &name, uint32_t budget, bool whatFits = false)
    {
        name_ = name;
        budget_ = budget;
        whatFits_ = whatFits;
    }

    // Opening name fails from now on, as when another program has locked the file.
    void FailOpensOf(const AnsiString &name) { lockedName_ = name; }

    // Counts the writes and opens of name from now on; the write numbered failWrite (1: the next
    // one) and every later one fails, writing nothing, and so does the open numbered failOpen and
    // every later one (0: none fails). Faults of the other kinds are switched off.
    void CountStepsOf(const AnsiString &name, uint32_t failWrite = 0, uint32_t failOpen = 0)
    {
        name_ = name;
        budget_ = UINT32_MAX;
        lockedName_.clear();
        whatFits_ = false;
        writes_ = opens_ = 0;
        failWrite_ = failWrite;
        failOpen_ = failOpen;
    }
    uint32_t Writes() const { return writes_; }
    uint32_t Opens() const { return opens_; }

    std::unique_ptr<WStore> Open(const AnsiString &name, int mode) override
    {
        if (name == lockedName_)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        if (name == name_ && ++opens_ >= failOpen_ && failOpen_ != 0)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        auto store = inner_.Open(name, mode);
        if (name != name_)
            return store;
        return std::make_unique<Store>(std::move(store), *this);
    }
    std::unique_ptr<WStore> CreateHeld(const AnsiString &name) override
    {
        if (name == lockedName_)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        if (name == name_ && ++opens_ >= failOpen_ && failOpen_ != 0)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        auto store = inner_.CreateHeld(name);
        if (!store || name != name_)
            return store;
        return std::make_unique<Store>(std::move(store), *this);
    }
    void Delete(const AnsiString &name) override { inner_.Delete(name); }
    void Replace(const AnsiString &target, const AnsiString &replacement) override
    {
        if (target == lockedName_)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        inner_.Replace(target, replacement);
    }
    bool SameFile(const AnsiString &a, const AnsiString &b) override { return inner_.SameFile(a, b); }
    std::unique_ptr<WWriterLock> OpenWriterLock(const AnsiString &name) override
    {
        return std::make_unique<Lock>(inner_.OpenWriterLock(name), *this);
    }

    // Runs `action` once, just before the next writer lock is taken: another writer's work that lands
    // between what an opener read first and its hold.
    void BeforeNextHold(std::function<void()> action) { beforeHold_ = std::move(action); }

private:
    class Store : public WStore {
    public:
        Store(std::unique_ptr<WStore> inner, FaultyStoreSystem &owner) : inner_(std::move(inner)), owner_(owner) {}
        const AnsiString &Name() const override { return inner_->Name(); }
        uint32_t Read(void *buffer, uint32_t n) override { return inner_->Read(buffer, n); }
        uint32_t Write(const void *buffer, uint32_t n) override
        {
            if (n > owner_.budget_ && owner_.whatFits_ && owner_.budget_ != 0) {
                inner_->Write(buffer, owner_.budget_);
                owner_.budget_ = 0;
            }
            if (n > owner_.budget_ || (++owner_.writes_ >= owner_.failWrite_ && owner_.failWrite_ != 0))
                throw ZError("Недостаточно места на диске [Win=00000070]", 99);
            owner_.budget_ -= n;
            return inner_->Write(buffer, n);
        }
        void Seek(uint32_t position) override { inner_->Seek(position); }
        uint32_t Tell() override { return inner_->Tell(); }
        uint32_t Size() override { return inner_->Size(); }
        void Flush() override { inner_->Flush(); }
        void Truncate() override { inner_->Truncate(); }

    private:
        std::unique_ptr<WStore> inner_;
        FaultyStoreSystem &owner_;
    };

    class Lock : public WWriterLock {
    public:
        Lock(std::unique_ptr<WWriterLock> inner, FaultyStoreSystem &owner) : inner_(std::move(inner)), owner_(owner) {}
        bool TryLock() override
        {
            if (owner_.beforeHold_)
                std::exchange(owner_.beforeHold_, nullptr)();
            return inner_->TryLock();
        }
        void Unlock() noexcept override { inner_->Unlock(); }

    private:
        std::unique_ptr<WWriterLock> inner_;
        FaultyStoreSystem &owner_;
    };

    WStoreSystem &inner_;
    WStoreSystem *old_;
    std::function<void()> beforeHold_;
    AnsiString name_;
    AnsiString lockedName_;
    uint32_t budget_ = 0;
    bool whatFits_ = false;
    uint32_t writes_ = 0, opens_ = 0;
    uint32_t failWrite_ = 0, failOpen_ = 0;
};
