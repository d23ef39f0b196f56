#pragma once
// TObject and TComponent: the roots of the framework's object tree. A component may have an owner;
// the owner frees the components it owns when it is freed, and a component that is freed first leaves
// its owner's list, so every component is freed exactly once.
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject &) = delete;
    TObject &operator=(const TObject &) = delete;
    virtual ~TObject() = default;

    // The name of the object's most derived class ("TButton"), without any namespace.
    AnsiString ClassName() const;

    // Runs before the destructor while the whole object still exists (forms run OnDestroy here).
    virtual void BeforeDestruction() {}
    // An object still in use further down the stack may take a free as a request to free itself once
    // that use has ended (a form inside its own modal loop); true when it did.
    virtual bool DeferFree() { return false; }
    // BeforeDestruction, then delete (unless deferred). Null-safe through the free function Free below.
    void Free()
    {
        if (DeferFree())
            return;
        BeforeDestruction();
        delete this;
    }
};

// Frees an object (if any) and clears the pointer.
template <class T>
void FreeAndNil(T *&object)
{
    T *o = object;
    object = nullptr;
    if (o)
        o->Free();
}

// An object whose state can be copied from another of its kind.
class TPersistent : public TObject {
public:
    // Copies the source's state; the base refuses with Exception (a class that can copy overrides it).
    virtual void Assign(const TPersistent &source);
};

// Component states the framework tracks.
enum TComponentStateFlag : unsigned {
    csLoading = 1,     // the owner's constructor is still building it; see Loaded
    csDestroying = 2,  // it is being freed (Free has begun, or its destructor)
    csDesigning = 4,   // shown in a form designer rather than run (only tests set it here)
};

// A string property reached by name: its own getter and setter.
struct TStringProperty {
    std::function<AnsiString()> Get;
    std::function<void(const AnsiString &)> Set;
    explicit operator bool() const { return Get && Set; }
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent *owner);
    ~TComponent() override;

    TComponent *Owner() const { return owner_; }
    const AnsiString &Name() const { return name_; }
    void SetName(const AnsiString &name) { name_ = name; }
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent *Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    // The owned component of that name (exact match), or null.
    TComponent *FindComponent(const AnsiString &name) const;

    // Marks the component as being freed: Free does it before anything else, and a window control's
    // destructor for one deleted directly. No event reaches a control that is being freed.
    void BeforeDestruction() override { MarkDestroying(); }
    void MarkDestroying() { state_ |= csDestroying; }

    unsigned ComponentState() const { return state_; }
    bool Loading() const { return (state_ & csLoading) != 0; }
    bool Destroying() const { return (state_ & csDestroying) != 0; }
    bool Designing() const { return (state_ & csDesigning) != 0; }
    // Marks this component and its owned components as being designed (or clears the mark).
    void SetDesigning(bool designing);
    // Marks this component and its owned components as being built; EndLoading clears the mark and
    // calls Loaded on each, children first.
    void BeginLoading();
    void EndLoading();

    void InsertComponent(TComponent *component);
    void RemoveComponent(TComponent *component);
    // Asks for Notification(this, true) on `component` when this one is freed (for a component that
    // keeps a pointer to another it does not own); the request ends when either is freed.
    void FreeNotification(TComponent *component);
    void RemoveFreeNotification(TComponent *component);

    // The string property of this name (letter case ignored) as its getter and setter; empty when the
    // class has none. Controls offer "Caption" and "Hint".
    virtual TStringProperty StringProperty(const AnsiString &name);

protected:
    // Called once the component has been built completely (after EndLoading).
    virtual void Loaded() {}
    // Another component that this one refers to is going away.
    virtual void Notification(TComponent * /*component*/, bool /*removing*/) {}

private:
    TComponent *owner_ = nullptr;
    std::vector<TComponent *> components_;
    std::vector<TComponent *> freeNotifies_;  // both ways: who asked us, and whom we asked
    AnsiString name_;
    intptr_t tag_ = 0;
    unsigned state_ = 0;
};

// A container of non-visual components (image lists, timers) that several forms share.
class TDataModule : public TComponent {
public:
    explicit TDataModule(TComponent *owner) : TComponent(owner) {}
    // Runs OnCreate once (the application's CreateForm does it after constructing the module).
    void AfterConstruction();
    // Runs OnDestroy once; Free and the owner's clean-up call it before the destructor.
    void BeforeDestruction() override;

    std::function<void(TObject *Sender)> OnCreate;
    std::function<void(TObject *Sender)> OnDestroy;

private:
    bool created_ = false, destroyed_ = false;
};
