#include "base/aliases/SharedAliasList.h"

#include "base/memory/ZLock.h"
#include "framework/runtime/Kernel.h"

namespace {

struct SharedAliases {
    TInterlockedCounter users;
    SALS_Link *head = nullptr;
    SAlsFlagWord word{0, 0, 0, 0};
    TZLock lock;
};

// Never destroyed: holders that are themselves static may let go after other statics are gone.
SharedAliases &Shared()
{
    static SharedAliases *shared = new SharedAliases;
    return *shared;
}

}  // namespace

TLUAls::TLUAls() { SetLoader(&TLUAls::AcquireOnLookup, this); }

TLUAls::~TLUAls() { Release(); }

int TLUAls::AcquireOnLookup(void *context) { return static_cast<TLUAls *>(context)->Acquire(nullptr, 0); }

int TLUAls::Acquire(const char *fileName, int nameLength)
{
    SharedAliases &shared = Shared();
    TZLockHold hold(shared.lock);
    if (!acquired_) {
        acquired_ = true;
        shared.users.Increment();
    }
    if ((shared.word.flags & AlsLoaded) != 0) {
        if (Head() != shared.head)
            FreeAll();  // entries of its own give way to the shared list
        SetHead(shared.head);
        word_ = shared.word;
        return 1;
    }
    if (LoadBinary(fileName, nameLength) == 0)
        return 0;
    word_.flags |= AlsFolderBackslash;
    shared.head = Head();
    shared.word = word_;
    return 1;
}

int TLUAls::Load(const AnsiString &fileName)
{
    if (acquired_ && Flag(AlsLoaded))
        return 1;
    return Acquire(fileName.c_str(), static_cast<int>(fileName.size()));
}

void TLUAls::Release()
{
    if (!acquired_)
        return;
    SharedAliases &shared = Shared();
    TZLockHold hold(shared.lock);
    acquired_ = false;
    // Entries this holder added while it had no shared list are its own.
    if (Head() != shared.head)
        FreeAll();
    SetHead(nullptr);
    word_ = SAlsFlagWord{};
    if (shared.users.Decrement() <= 0) {
        while (shared.head != nullptr) {
            SALS_Link *next = shared.head->next;
            delete shared.head;
            shared.head = next;
        }
        shared.word = SAlsFlagWord{0, 0, 0, 0};
        shared.users.Exchange(0);
    }
}

int TLUAls::Users() { return Shared().users.Value(); }
