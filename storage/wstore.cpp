#include "storage/wstore.h"

#include "base/zmsg.h"

#ifdef _WIN32
WStoreSystem &PlatformStoreSystem();  // wstore_win.cpp: files on disk through SFile
#else
namespace {
// A build without the simple file has no file system for compound files: opening raises a clear
// error; tests install the store system they need.
class NoStoreSystem : public WStoreSystem {
public:
    std::unique_ptr<WStore> Open(const AnsiString &name, int) override
    {
        throw ZError("Файл " + name + " недоступен: в этой сборке нет файловой системы для составных файлов", 0);
    }
    void Delete(const AnsiString &) override {}
    void Replace(const AnsiString &target, const AnsiString &) override
    {
        throw ZError("Файл " + target + " недоступен: в этой сборке нет файловой системы для составных файлов", 0);
    }
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
