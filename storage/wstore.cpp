#include "storage/wstore.h"

#include "base/zmsg.h"

namespace {
// Until the file system's store is registered, compound files can only live in an installed store
// system: opening raises a clear error instead of pretending.
class NoStoreSystem : public WStoreSystem {
public:
    std::unique_ptr<WStore> Open(const AnsiString &name, int) override
    {
        throw ZError("Файл " + name + " недоступен: файловая система для составных файлов не подключена", 0);
    }
    void Delete(const AnsiString &) override {}
};
}  // namespace

static WStoreSystem &PlatformStoreSystem()
{
    static NoStoreSystem none;
    return none;
}

static WStoreSystem *g_storeSystem = nullptr;

WStoreSystem &StoreSystem() { return g_storeSystem ? *g_storeSystem : PlatformStoreSystem(); }

WStoreSystem *SetStoreSystem(WStoreSystem *system)
{
    WStoreSystem *old = g_storeSystem;
    g_storeSystem = system;
    return old;
}
