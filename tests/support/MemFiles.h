#pragma once
// Installs a store system of files held in memory for the life of the object, so compound-file code
// runs on files a test puts there by name.
#include "storage/compound/wstore_mem.h"

class ScopedMemFiles {
public:
    ScopedMemFiles() : old_(SetStoreSystem(&files)) {}
    ~ScopedMemFiles() { SetStoreSystem(old_); }
    ScopedMemFiles(const ScopedMemFiles &) = delete;
    ScopedMemFiles &operator=(const ScopedMemFiles &) = delete;

    MemStoreSystem files;

private:
    WStoreSystem *old_;
};
