#pragma once
// The page heap of the Windows test programs: while it is on, every object made with new gets pages of
// its own, and freeing it decommits them for good (the addresses are never given out again), so a use
// after free faults at the very access instead of passing by luck on memory that something else took
// meanwhile. QMT_PAGE_HEAP=1 in the environment turns it on for the whole program (the CTest tests
// AREA_pages run the window cases so); a TPageHeapScope turns it on for one test's objects. Blocks are
// freed to where they came from whatever the mode is then. Windows build only.

// On for the objects made while it lives.
class TPageHeapScope {
public:
    TPageHeapScope();
    ~TPageHeapScope();
    TPageHeapScope(const TPageHeapScope &) = delete;
    TPageHeapScope &operator=(const TPageHeapScope &) = delete;
};

// Whether objects made now get pages of their own.
bool PageHeapActive();
