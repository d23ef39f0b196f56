#include "storage/wstore.h"

#include "base/zmsg.h"

#ifdef _WIN32
WStoreSystem &PlatformStoreSystem();  // wstore_win.cpp: files through SFile
#else
namespace {
// This build has no file system of its own for compound files: tests install one.
class NoStoreSystem : public WStoreSystem {
public:
    std::unique_ptr<WStore> Open(const AnsiString &name, int) override
    {
        throw ZError("Файл " + name + " недоступен: в этой сборке нет файловой системы", 0);
    }
    void Delete(const AnsiString &) override {}
};
}  // namespace

static WStoreSystem &PlatformStoreSystem()
{
    static NoStoreSystem none;
    return none;
}
#endif

static WStoreSystem *g_storeSystem = nullptr;

WStoreSystem &StoreSystem() { return g_storeSystem ? *g_storeSystem : PlatformStoreSystem(); }

WStoreSystem *SetStoreSystem(WStoreSystem *system)
{
    WStoreSystem *old = g_storeSystem;
    g_storeSystem = system;
    return old;
}
