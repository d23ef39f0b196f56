#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/memory/ADPtr.h"
#include "base/memory/ClearOwnedList.h"

namespace {

// Items are small integers disguised as pointers; the release closure records them.
void *P(std::uintptr_t n) { return reinterpret_cast<void *>(n); }

std::vector<std::uintptr_t> Items(const TADPtr &a)
{
    std::vector<std::uintptr_t> out;
    for (int i = 0; i < a.Count(); ++i)
        out.push_back(reinterpret_cast<std::uintptr_t>(a.Get(i)));
    return out;
}

using V = std::vector<std::uintptr_t>;

}  // namespace

TEST(ADPtr, GrowsInSteps)
{
    TADPtr a(4);
    EXPECT_EQ(0, a.Add(P(1)));
    EXPECT_EQ(4, a.Capacity());
    for (int i = 2; i <= 5; ++i)
        a.Add(P(i));
    EXPECT_EQ(8, a.Capacity());
    EXPECT_EQ((V{1, 2, 3, 4, 5}), Items(a));
    EXPECT_EQ(nullptr, a.Get(5));
    EXPECT_EQ(nullptr, a.Get(-1));

    TADPtr negative(-3);
    negative.Add(P(1));
    EXPECT_EQ(4, negative.Capacity());
    TADPtr exact(0);
    exact.Add(P(1));
    exact.Add(P(2));
    EXPECT_EQ(2, exact.Capacity());
}

TEST(ADPtr, SetAtExtendsSetDoesNot)
{
    TADPtr a;
    EXPECT_EQ(nullptr, a.SetAt(2, P(7)));
    EXPECT_EQ((V{0, 0, 7}), Items(a));
    EXPECT_EQ(P(7), a.SetAt(2, P(8)));
    a.Set(5, P(9));
    EXPECT_EQ(3, a.Count());
    a.Set(0, P(1));
    EXPECT_EQ((V{1, 0, 8}), Items(a));
    a.SetCount(1);
    EXPECT_EQ(4, a.Capacity());
    a.SetCount(3);
    EXPECT_EQ((V{1, 0, 0}), Items(a));  // dropped items do not come back
}

TEST(ADPtr, InsertAndFreeSlots)
{
    TADPtr a;
    a.Add(P(1));
    a.Add(P(3));
    EXPECT_EQ(1, a.Insert(1, P(2)));
    EXPECT_EQ(3, a.Insert(10, P(4)));
    EXPECT_EQ(0, a.Insert(-1, P(10)));
    EXPECT_EQ((V{10, 1, 2, 3, 4}), Items(a));

    // No null slot: appended.
    EXPECT_EQ(5, a.AddToFreeSlot(P(5)));
    a.Set(2, nullptr);
    EXPECT_EQ(2, a.AddToFreeSlot(P(9)));
    EXPECT_EQ((V{10, 1, 9, 3, 4, 5}), Items(a));
}

TEST(ADPtr, Searches)
{
    TADPtr a;
    for (std::uintptr_t n : {5, 6, 5, 7, 5})
        a.Add(P(n));
    EXPECT_EQ(1, a.IndexOf(P(6)));
    EXPECT_EQ(-1, a.IndexOf(P(8)));
    EXPECT_EQ(2, a.IndexOfNextSame(0));
    EXPECT_EQ(4, a.IndexOfNextSame(2));
    EXPECT_EQ(-1, a.IndexOfNextSame(4));
    EXPECT_EQ(-1, a.IndexOfNextSame(9));
    std::uintptr_t above = 6;
    auto greater = [](void *, void *item, void *parameter) {
        return reinterpret_cast<std::uintptr_t>(item) > *static_cast<std::uintptr_t *>(parameter);
    };
    EXPECT_EQ(3, a.FindBy(&above, greater, nullptr));
    above = 7;
    EXPECT_EQ(-1, a.FindBy(&above, greater, nullptr));
    EXPECT_EQ(-1, a.FindBy(&above, nullptr, nullptr));
}

TEST(ADPtr, RemovalsReleaseThroughTheRightClosure)
{
    V byDefault, byGiven;
    TADPtr a(4, [&](void *p) { byDefault.push_back(reinterpret_cast<std::uintptr_t>(p)); });
    for (std::uintptr_t n = 1; n <= 8; ++n)
        a.Add(P(n));
    EXPECT_EQ(P(2), a.RemoveAt(1));
    EXPECT_EQ(P(3), a.RemoveAt(1, [&](void *p) { byGiven.push_back(reinterpret_cast<std::uintptr_t>(p)); }));
    EXPECT_EQ(nullptr, a.RemoveAt(9));
    EXPECT_TRUE(a.RemoveItem(P(8)));
    EXPECT_FALSE(a.RemoveItem(P(8)));
    EXPECT_EQ((V{1, 4, 5, 6, 7}), Items(a));
    EXPECT_EQ((V{2, 8}), byDefault);
    EXPECT_EQ((V{3}), byGiven);

    // Shrinking: less than half used gives memory back.
    a.RemoveAt(0);
    a.RemoveAt(0);
    EXPECT_EQ(3, a.Count());
    EXPECT_EQ(4, a.Capacity());

    // Without the shrink flag a removal only nulls the slot.
    a.SetShrinks(false);
    a.RemoveAt(0);
    EXPECT_EQ((V{0, 6, 7}), Items(a));
}

TEST(ADPtr, ClearRangeMoveRangeAndPack)
{
    V released;
    TADPtr a(4, [&](void *p) { released.push_back(reinterpret_cast<std::uintptr_t>(p)); });
    for (std::uintptr_t n = 1; n <= 8; ++n)
        a.Add(P(n));
    a.SetShrinks(false);
    EXPECT_EQ(2, a.ClearRange(1, 2));
    EXPECT_EQ(2, a.ClearRange(6, 5));  // cut at the end
    EXPECT_EQ((V{1, 0, 0, 4, 5, 6, 0, 0}), Items(a));
    EXPECT_EQ((V{2, 3, 7, 8}), released);

    released.clear();
    EXPECT_EQ(4, a.MoveRange(4, 1));  // 4 is released, 5..end move down to 1
    EXPECT_EQ((V{1, 5, 6, 0, 0, 0, 0, 0}), Items(a));
    EXPECT_EQ((V{4}), released);
    EXPECT_EQ(0, a.MoveRange(1, 4));

    a.Pack();
    EXPECT_EQ((V{1, 5, 6}), Items(a));
    EXPECT_EQ(8, a.Capacity());
    a.SetShrinks(true);
    a.Add(nullptr);
    a.Add(P(9));
    a.Pack(0);
    EXPECT_EQ((V{1, 5, 6, 9}), Items(a));
    EXPECT_EQ(4, a.Capacity());

    released.clear();
    EXPECT_EQ(4, a.ClearRange(0, 0));
    EXPECT_EQ((V{1, 5, 6, 9}), released);
    EXPECT_EQ((V{0, 0, 0, 0}), Items(a));  // half or more of the capacity in use: no packing
}

TEST(ADPtr, DestroyingReleasesEveryItem)
{
    int alive = 0;
    {
        TADPtr a(2, [&](void *p) {
            delete static_cast<int *>(p);
            --alive;
        });
        for (int i = 0; i < 5; ++i, ++alive)
            a.Add(new int(i));
        a.SetAt(7, nullptr);
    }
    EXPECT_EQ(0, alive);
}

TEST(ADPtr, ThreadsAddAndRemoveSafely)
{
    TADPtr a;
    std::vector<std::thread> threads;
    for (std::uintptr_t t = 0; t < 4; ++t) {
        threads.emplace_back([&a, t] {
            for (std::uintptr_t i = 1; i <= 500; ++i) {
                void *p = P(t * 1000 + i);
                a.AddToFreeSlot(p);
                if (i % 2 == 0)
                    a.RemoveItem(p);
            }
        });
    }
    for (auto &t : threads)
        t.join();
    a.Pack();
    EXPECT_EQ(1000, a.Count());
}

TEST(ADPtr, RemovalsReleaseOutsideTheLock)
{
    // The release closure waits for another thread that uses the array, as a closure that takes a
    // lock another user of the array holds would: while the array's lock is held that thread stalls.
    std::vector<std::thread> users;
    std::vector<std::string> stalled;
    TADPtr *array = nullptr;
    auto waitForAnotherUser = [&](void *item) {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> finished = done->get_future();
        users.emplace_back([array, done] {
            array->Count();
            done->set_value();
        });
        if (finished.wait_for(std::chrono::seconds(5)) != std::future_status::ready)
            stalled.push_back(std::to_string(reinterpret_cast<std::uintptr_t>(item)));
    };
    TADPtr a(4, waitForAnotherUser);
    array = &a;
    for (std::uintptr_t n = 1; n <= 8; ++n)
        a.Add(P(n));
    EXPECT_TRUE(a.RemoveItem(P(3)));
    a.RemoveAt(0);
    a.ClearRange(0, 2);
    a.MoveRange(3, 1);
    a.ClearRange(0, 0, [](void *) {});
    for (auto &t : users)
        t.join();
    EXPECT_EQ(5u, users.size());  // 3, 1, 2, 4 and 5
    EXPECT_EQ(std::vector<std::string>{}, stalled) << "released while the array was locked";
}

namespace {

struct Owned {
    static inline int alive = 0;
    explicit Owned(int v) : value(v) { ++alive; }
    ~Owned() { --alive; }
    int value;
};

bool KeepOdd(Owned *o) { return o->value % 2 == 1; }

}  // namespace

TEST(ClearOwnedList, FreesWhatIsNotKept)
{
    TList *list = new TList;
    Owned *odd = new Owned(3);
    list->Add(new Owned(2));
    list->Add(nullptr);
    list->Add(odd);
    list->Add(new Owned(4));
    ClearOwnedList<Owned>(list, false, KeepOdd);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, list->Count());
    EXPECT_EQ(1, Owned::alive);  // the odd one is someone else's
    delete odd;

    list->Add(new Owned(5));
    list->Add(new Owned(6));
    std::function<bool(Owned *)> none;
    ClearOwnedList<Owned>(list, true, none);  // no predicate: every item is freed
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(0, Owned::alive);

    list = new TList;
    list->Add(new Owned(7));
    ClearOwnedList<Owned>(list, true, std::function<bool(Owned *)>([](Owned *o) { return o->value == 8; }));
    EXPECT_EQ(0, Owned::alive);
    TList *nothing = nullptr;
    ClearOwnedList<Owned>(nothing, true);
    EXPECT_EQ(nullptr, nothing);
}
