#pragma once
// TLUAls: a holder of the process-wide shared alias list. The first holder that acquires it loads it
// from the alias file (record form); later holders take the same entries without reading the file;
// the last holder that lets go frees them. Resolved folders of the shared list end with a backslash.
// Safe across threads: the use count changes only by interlocked operations and the shared state
// only under its lock.
#include "base/aliases/AliasList.h"

class TLUAls : public TLBsAls {
public:
    // A holder whose lookups acquire the shared list when it is not loaded yet.
    TLUAls();
    // Releases.
    ~TLUAls() override;

    // Takes the shared list into this holder, loading it from the file when it is not loaded (a
    // failed load can be tried again). Each holder counts once, even when its load failed. Returns
    // 1 when the holder has the loaded list, else 0 with the holder's last error.
    int Acquire(const char *fileName, int nameLength = 0);
    // Acquires from the file unless this holder has the loaded list already.
    int Load(const AnsiString &fileName);
    // Lets go of the shared list; the last holder frees its entries. A holder that never acquired
    // it does nothing here, so it cannot free the list under the others.
    void Release();

    bool Acquired() const { return acquired_; }
    // The number of holders that have acquired the shared list.
    static int Users();

private:
    static int AcquireOnLookup(void *context);

    bool acquired_ = false;
};
