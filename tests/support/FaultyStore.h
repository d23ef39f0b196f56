#pragma once
// A store system over another one whose writes to one named file fail, as on a full disk, once a
// given number of bytes has been written to it.
#include <cstdint>

#include "base/zmsg.h"
#include "storage/wstore.h"

class FaultyStoreSystem : public WStoreSystem {
public:
    explicit FaultyStoreSystem(WStoreSystem &inner) : inner_(inner), old_(SetStoreSystem(this)) {}
    ~FaultyStoreSystem() override { SetStoreSystem(old_); }

    // Writes to name fail once budget more bytes have gone to it; the failing write writes nothing.
    void FailWritesTo(const AnsiString &name, uint32_t budget)
    {
        name_ = name;
        budget_ = budget;
    }

    // Opening name fails from now on, as when another program has locked the file.
    void FailOpensOf(const AnsiString &name) { lockedName_ = name; }

    std::unique_ptr<WStore> Open(const AnsiString &name, int mode) override
    {
        if (name == lockedName_)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        auto store = inner_.Open(name, mode);
        if (name != name_)
            return store;
        return std::make_unique<Store>(std::move(store), budget_);
    }
    void Delete(const AnsiString &name) override { inner_.Delete(name); }
    void Replace(const AnsiString &target, const AnsiString &replacement) override
    {
        if (target == lockedName_)
            throw ZError("Процесс не может получить доступ к файлу [Win=00000020]", 99);
        inner_.Replace(target, replacement);
    }

private:
    class Store : public WStore {
    public:
        Store(std::unique_ptr<WStore> inner, uint32_t &budget) : inner_(std::move(inner)), budget_(budget) {}
        const AnsiString &Name() const override { return inner_->Name(); }
        uint32_t Read(void *buffer, uint32_t n) override { return inner_->Read(buffer, n); }
        uint32_t Write(const void *buffer, uint32_t n) override
        {
            if (n > budget_)
                throw ZError("Недостаточно места на диске [Win=00000070]", 99);
            budget_ -= n;
            return inner_->Write(buffer, n);
        }
        void Seek(uint32_t position) override { inner_->Seek(position); }
        uint32_t Tell() override { return inner_->Tell(); }
        uint32_t Size() override { return inner_->Size(); }
        void Flush() override { inner_->Flush(); }

    private:
        std::unique_ptr<WStore> inner_;
        uint32_t &budget_;
    };

    WStoreSystem &inner_;
    WStoreSystem *old_;
    AnsiString name_;
    AnsiString lockedName_;
    uint32_t budget_ = 0;
};
