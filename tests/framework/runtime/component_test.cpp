#include <gtest/gtest.h>

#include <vector>

#include "framework/runtime/Component.h"
#include "framework/runtime/Exception.h"

namespace {
// Records its destruction and the order of Loaded calls.
struct Probe : TComponent {
    Probe(TComponent *owner, const char *name, std::vector<AnsiString> &log) : TComponent(owner), log_(log)
    {
        SetName(name);
    }
    ~Probe() override { log_.push_back("free " + Name()); }
    void Loaded() override { log_.push_back("loaded " + Name()); }
    std::vector<AnsiString> &log_;
};

int Count(const std::vector<AnsiString> &log, const AnsiString &entry)
{
    int n = 0;
    for (const AnsiString &e : log)
        n += e == entry;
    return n;
}
}  // namespace

TEST(Component, OwnerFreesEachOwnedComponentOnce)
{
    std::vector<AnsiString> log;
    auto *root = new Probe(nullptr, "root", log);
    auto *a = new Probe(root, "a", log);
    new Probe(a, "a1", log);
    new Probe(root, "b", log);
    ASSERT_EQ(2, root->ComponentCount());
    EXPECT_EQ(a, root->FindComponent("a"));
    EXPECT_EQ(nullptr, root->FindComponent("a1"));  // only direct children
    root->Free();
    for (const char *name : {"root", "a", "a1", "b"})
        EXPECT_EQ(1, Count(log, AnsiString("free ") + name)) << name;
}

TEST(Component, FreeingAComponentFirstRemovesItFromItsOwner)
{
    std::vector<AnsiString> log;
    Probe root(nullptr, "root", log);
    auto *a = new Probe(&root, "a", log);
    auto *b = new Probe(&root, "b", log);
    a->Free();
    ASSERT_EQ(1, root.ComponentCount());
    EXPECT_EQ(b, root.Components(0));
    EXPECT_EQ(&root, b->Owner());
}

TEST(Component, MovingToAnotherOwnerLeavesTheFirst)
{
    std::vector<AnsiString> log;
    Probe first(nullptr, "first", log), second(nullptr, "second", log);
    auto *a = new Probe(&first, "a", log);
    second.InsertComponent(a);
    EXPECT_EQ(0, first.ComponentCount());
    EXPECT_EQ(&second, a->Owner());
}

TEST(Component, LoadedRunsOnceAfterLoadingEndsChildrenFirst)
{
    std::vector<AnsiString> log;
    Probe root(nullptr, "root", log);
    new Probe(&root, "a", log);
    root.BeginLoading();
    EXPECT_TRUE(root.Loading());
    EXPECT_TRUE(root.Components(0)->Loading());
    root.EndLoading();
    root.EndLoading();
    EXPECT_FALSE(root.Loading());
    EXPECT_EQ((std::vector<AnsiString>{"loaded a", "loaded root"}), log);
}

TEST(Component, ComponentsMadeWhileTheOwnerLoadsAreLoadedWithIt)
{
    std::vector<AnsiString> log;
    Probe root(nullptr, "root", log);
    root.BeginLoading();
    auto *a = new Probe(&root, "a", log);
    auto *a1 = new Probe(a, "a1", log);
    EXPECT_TRUE(a->Loading());
    EXPECT_TRUE(a1->Loading());
    root.EndLoading();
    EXPECT_FALSE(a1->Loading());
    EXPECT_EQ((std::vector<AnsiString>{"loaded a1", "loaded a", "loaded root"}), log);
    Probe later(&root, "later", log);
    EXPECT_FALSE(later.Loading());
}

TEST(Component, FreeAndNilClearsThePointerAndToleratesNull)
{
    std::vector<AnsiString> log;
    TComponent *c = new Probe(nullptr, "c", log);
    FreeAndNil(c);
    EXPECT_EQ(nullptr, c);
    FreeAndNil(c);
    EXPECT_EQ(1, Count(log, "free c"));
}

namespace {
struct Plain : TComponent {
    using TComponent::TComponent;
};
}  // namespace

TEST(Component, ClassNameDesigningAndNoStringProperties)
{
    auto *root = new Plain(nullptr);
    auto *child = new TComponent(root);
    EXPECT_EQ("Plain", root->ClassName());
    EXPECT_EQ("TComponent", child->ClassName());
    root->SetDesigning(true);
    EXPECT_TRUE(child->Designing());
    EXPECT_TRUE(root->ComponentState() & csDesigning);
    root->SetDesigning(false);
    EXPECT_FALSE(child->Designing());
    EXPECT_FALSE(root->StringProperty("Caption"));
    EXPECT_THROW(root->Assign(*child), Exception);
    root->Free();
}

namespace {
// Keeps a pointer to a component it does not own and lets go of it when that one is freed.
struct Watcher : TComponent {
    using TComponent::TComponent;
    void Notification(TComponent *component, bool removing) override
    {
        if (removing && component == watched)
            watched = nullptr;
    }
    TComponent *watched = nullptr;
};
}  // namespace

TEST(Component, FreeNotificationTellsTheWatcherOnce)
{
    auto *watcher = new Watcher(nullptr);
    auto *other = new TComponent(nullptr);
    watcher->watched = other;
    other->FreeNotification(watcher);
    other->FreeNotification(watcher);  // asked twice, told once
    other->Free();
    EXPECT_EQ(nullptr, watcher->watched);

    // Either side may go first; a request taken back is not answered.
    auto *third = new TComponent(nullptr);
    third->FreeNotification(watcher);
    watcher->Free();
    auto *fourth = new Watcher(nullptr);
    fourth->watched = third;
    third->FreeNotification(fourth);
    third->RemoveFreeNotification(fourth);
    third->Free();
    EXPECT_EQ(third, fourth->watched);
    fourth->Free();
}
