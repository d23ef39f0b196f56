#include "storage/compound/wstore.h"

#include <map>
#include <utility>

// The files on disk in the Windows build (wstore_win.cpp); none in the native one (wstore_native.cpp).
WStoreSystem &PlatformStoreSystem();

static WStoreSystem *g_storeSystem = nullptr;

WStoreSystem &StoreSystem() { return g_storeSystem ? *g_storeSystem : PlatformStoreSystem(); }

WStoreSystem *SetStoreSystem(WStoreSystem *system)
{
    WStoreSystem *old = g_storeSystem;
    g_storeSystem = system;
    return old;
}

namespace {

// The holders of files known by their names alone, by name: one program holds them all.
std::map<AnsiString, const void *> &NamedHolders()
{
    static std::map<AnsiString, const void *> holders;
    return holders;
}

class NamedWriterLock : public WWriterLock {
public:
    explicit NamedWriterLock(AnsiString name) : name_(std::move(name)) {}
    ~NamedWriterLock() override { Unlock(); }
    bool TryLock() override
    {
        // Not counted: a second lock by the same holder is refused, as on disk.
        return NamedHolders().emplace(name_, this).second;
    }
    void Unlock() noexcept override
    {
        auto it = NamedHolders().find(name_);
        if (it != NamedHolders().end() && it->second == this)
            NamedHolders().erase(it);
    }

private:
    AnsiString name_;
};

}  // namespace

std::unique_ptr<WWriterLock> WStoreSystem::OpenWriterLock(const AnsiString &name)
{
    return std::make_unique<NamedWriterLock>(name);
}
