#include "storage/compound/wstore.h"

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
