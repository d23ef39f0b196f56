// Closure items: fired at most once, whether early, on their own disposal or with their whole list.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "base/input/fun_other.h"
#include "controls/ClosureHolder.h"
#include "framework/runtime/Classes.h"

// An item that is not freed is reported by the sanitizer build's leak check when the program ends.

TEST(ClosureHolder, FiresAtMostOnce)
{
    int calls = 0;
    {
        ClosureHolder item(7, [&] { ++calls; });
        EXPECT_EQ(7u, item.Value);
        item.Fire();
        EXPECT_EQ(1, calls);
        EXPECT_FALSE(item.Method);
        item.Fire();
    }
    EXPECT_EQ(1, calls);  // the destructor found nothing left to fire
    {
        ClosureHolder item(1, [&] { ++calls; });
    }
    EXPECT_EQ(2, calls);
    // A method that fires its own item again runs once.
    ClosureHolder *self = nullptr;
    ClosureHolder again(0, [&] {
        ++calls;
        self->Fire();
    });
    self = &again;
    again.Fire();
    EXPECT_EQ(3, calls);
    DisposeClosureHolder(nullptr);
}

TEST(ClosureHolder, DisposingAListCallsEachSetMethodOnceAndFreesEveryItem)
{
    std::vector<int> calls(4);
    auto *list = new TList;
    list->Add(new ClosureHolder(0, [&] { ++calls[0]; }));
    list->Add(new ClosureHolder());  // no method
    list->Add(new ClosureHolder(2, [&] { ++calls[2]; }));
    list->Add(nullptr);
    list->Add(new ClosureHolder(3, [&] { ++calls[3]; }));
    // One fired early is not fired again.
    static_cast<ClosureHolder *>(list->Items(4))->Fire();
    FreeObjectList(list, true, DisposeClosureHolder);
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ((std::vector<int>{1, 0, 1, 1}), calls);

    // Kept empty for reuse.
    list = new TList;
    list->Add(new ClosureHolder(9, [&] { ++calls[1]; }));
    FreeClosureList(list, false);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, list->Count());
    EXPECT_EQ(1, calls[1]);
    delete list;
}

TEST(ClosureHolder, AMethodThatThrowsLosesNoItem)
{
    int calls = 0;
    auto *list = new TList;
    list->Add(new ClosureHolder(1, [&] { ++calls; }));
    list->Add(new ClosureHolder(2, [] { throw std::runtime_error("first"); }));
    list->Add(new ClosureHolder(3, [] { throw std::runtime_error("second"); }));
    list->Add(new ClosureHolder(4, [&] { ++calls; }));
    try {
        FreeClosureList(list, true);
        ADD_FAILURE() << "the method's error was lost";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ("first", e.what());
    }
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(2, calls);
    // One item on its own: the error comes through and the item is freed all the same.
    EXPECT_THROW(DisposeClosureHolder(new ClosureHolder(5, [] { throw std::runtime_error("one"); })),
                 std::runtime_error);
}
