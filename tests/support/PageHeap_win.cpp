// The page heap (PageHeap.h): operator new and delete of the Windows test programs. Linked into every
// test program through the test support library: the program's own references to operator new pull
// this file in before the C++ library's definitions.
#include <windows.h>

#include "tests/support/PageHeap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
constexpr size_t kPage = 4096;
// Each arena is reserved whole and handed out page by page from its start, never backwards.
constexpr size_t kArenaBytes = size_t{64} << 30;
constexpr int kMaxArenas = 64;
// In front of each object, on its first page: how many pages it has, and a mark that tells a block of
// this heap from a wild pointer.
constexpr size_t kHeader = 16;
constexpr size_t kMark = 0x5150414745484541ull;

struct TArena {
    char *base = nullptr;
    size_t used = 0;
};

SRWLOCK lock = SRWLOCK_INIT;
TArena arenas[kMaxArenas];
int arenaCount = 0;
// -1 until the first allocation has read the environment; then 0 (off) or 1 (on).
volatile LONG fromEnvironment = -1;
// Scopes that turn it on now.
volatile LONG scopes = 0;
bool fellBack = false;

bool PageHeapOn()
{
    if (fromEnvironment < 0) {
        wchar_t value[8] = {};
        DWORD n = GetEnvironmentVariableW(L"QMT_PAGE_HEAP", value, 8);
        fromEnvironment = n > 0 && n < 8 && value[0] != L'0' ? 1 : 0;
    }
    return fromEnvironment == 1 || scopes > 0;
}

bool InArenas(const void *p)
{
    const char *c = static_cast<const char *>(p);
    for (int i = 0; i < arenaCount; ++i)
        if (c >= arenas[i].base && c < arenas[i].base + kArenaBytes)
            return true;
    return false;
}

// Module and offset of a code address, for addr2line.
void PrintCodeAddress(const char *label, void *address)
{
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(address), &module))
        GetModuleFileNameA(module, name, MAX_PATH);
    const char *base = std::strrchr(name, '\\');
    std::fprintf(stderr, "  %s %s+0x%llx\n", label, base ? base + 1 : name,
                 static_cast<unsigned long long>(static_cast<char *>(address) - reinterpret_cast<char *>(module)));
}

// A fault on a freed block ends the program at once with where it happened. The system would swallow
// a fault inside a window procedure called back from a system call (a focus change while a window is
// destroyed), and the test would pass over it.
LONG CALLBACK FaultOnFreedPages(EXCEPTION_POINTERS *info)
{
    const EXCEPTION_RECORD *record = info->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto *address = reinterpret_cast<const char *>(record->ExceptionInformation[1]);
    bool ours = false;
    for (int i = 0; i < arenaCount; ++i)
        ours = ours || (address >= arenas[i].base && address < arenas[i].base + arenas[i].used);
    if (!ours)
        return EXCEPTION_CONTINUE_SEARCH;
    std::fprintf(stderr, "page heap: %s of freed memory at %p\n",
                 record->ExceptionInformation[0] ? "write" : "read", static_cast<const void *>(address));
    PrintCodeAddress("at", record->ExceptionAddress);
    void *frames[24];
    const USHORT n = RtlCaptureStackBackTrace(0, 24, frames, nullptr);
    for (USHORT i = 0; i < n; ++i)
        PrintCodeAddress("from", frames[i]);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Pages for `size` bytes, or null when the system has no more to give (the C heap serves then).
void *PagesFor(size_t size)
{
    const size_t bytes = (size + kHeader + kPage - 1) / kPage * kPage;
    AcquireSRWLockExclusive(&lock);
    if (arenaCount == 0 || arenas[arenaCount - 1].used + bytes > kArenaBytes) {
        void *base = arenaCount < kMaxArenas && bytes <= kArenaBytes
                         ? VirtualAlloc(nullptr, kArenaBytes, MEM_RESERVE, PAGE_NOACCESS)
                         : nullptr;
        if (!base) {
            ReleaseSRWLockExclusive(&lock);
            return nullptr;
        }
        if (arenaCount == 0)
            AddVectoredExceptionHandler(1, FaultOnFreedPages);
        arenas[arenaCount++] = TArena{static_cast<char *>(base), 0};
    }
    TArena &arena = arenas[arenaCount - 1];
    char *at = arena.base + arena.used;
    arena.used += bytes;
    ReleaseSRWLockExclusive(&lock);
    if (!VirtualAlloc(at, bytes, MEM_COMMIT, PAGE_READWRITE))
        return nullptr;
    auto *header = reinterpret_cast<size_t *>(at);
    header[0] = bytes;
    header[1] = kMark;
    return at + kHeader;
}

void *Allocate(size_t size) noexcept
{
    if (size == 0)
        size = 1;
    if (PageHeapOn()) {
        if (void *p = PagesFor(size))
            return p;
        if (!fellBack) {
            fellBack = true;
            std::fputs("page heap: the system gives no more pages; the C heap serves from here on\n", stderr);
        }
    }
    return std::malloc(size);
}

void Release(void *p) noexcept
{
    if (!p)
        return;
    if (!InArenas(p)) {
        std::free(p);
        return;
    }
    char *at = static_cast<char *>(p) - kHeader;
    // A block freed twice faults here, on its decommitted header.
    auto *header = reinterpret_cast<size_t *>(at);
    if (header[1] != kMark)
        std::abort();
    VirtualFree(at, header[0], MEM_DECOMMIT);
}

void *AllocateOrThrow(size_t size)
{
    for (;;) {
        if (void *p = Allocate(size))
            return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}
}  // namespace

TPageHeapScope::TPageHeapScope() { InterlockedIncrement(&scopes); }

TPageHeapScope::~TPageHeapScope() { InterlockedDecrement(&scopes); }

bool PageHeapActive() { return PageHeapOn(); }

void *operator new(size_t size) { return AllocateOrThrow(size); }
void *operator new[](size_t size) { return AllocateOrThrow(size); }
void *operator new(size_t size, const std::nothrow_t &) noexcept { return Allocate(size); }
void *operator new[](size_t size, const std::nothrow_t &) noexcept { return Allocate(size); }
void operator delete(void *p) noexcept { Release(p); }
void operator delete[](void *p) noexcept { Release(p); }
void operator delete(void *p, size_t) noexcept { Release(p); }
void operator delete[](void *p, size_t) noexcept { Release(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { Release(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { Release(p); }
