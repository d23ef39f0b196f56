#include "framework/runtime/Component.h"

#include <algorithm>
#include <typeinfo>
#if defined(__GNUC__)
#include <cxxabi.h>

#include <cstdlib>
#endif

#include "framework/runtime/Exception.h"

AnsiString TObject::ClassName() const
{
    const char *raw = typeid(*this).name();
    AnsiString name = raw;
#if defined(__GNUC__)
    int status = 0;
    if (char *plain = abi::__cxa_demangle(raw, nullptr, nullptr, &status)) {
        name = plain;
        std::free(plain);
    }
#endif
    size_t colon = name.rfind("::");
    return colon == AnsiString::npos ? name : name.substr(colon + 2);
}

void TPersistent::Assign(const TPersistent &source)
{
    throw Exception("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

TComponent::TComponent(TComponent *owner)
{
    if (owner) {
        owner->InsertComponent(this);
        // A component made while its owner is being built is built with it: a form built in code calls
        // BeginLoading, makes and sets up its components, and ends with EndLoading.
        if (owner->Loading())
            state_ |= csLoading;
    }
}

TComponent::~TComponent()
{
    state_ |= csDestroying;
    while (!freeNotifies_.empty()) {
        TComponent *other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto &theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, true);
    }
    // Free owned components last-created first; each one leaves our list in its own destructor.
    while (!components_.empty())
        components_.back()->Free();
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent *TComponent::FindComponent(const AnsiString &name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent *c : components_)
        if (c->name_ == name)
            return c;
    return nullptr;
}

void TComponent::BeginLoading()
{
    state_ |= csLoading;
    for (TComponent *c : components_)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    for (TComponent *c : components_)
        c->EndLoading();
    if (Loading()) {
        state_ &= ~csLoading;
        Loaded();
    }
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        state_ |= csDesigning;
    else
        state_ &= ~csDesigning;
    for (TComponent *c : components_)
        c->SetDesigning(designing);
}

TStringProperty TComponent::StringProperty(const AnsiString &) { return {}; }

void TComponent::FreeNotification(TComponent *component)
{
    if (!component || component == this ||
        std::find(freeNotifies_.begin(), freeNotifies_.end(), component) != freeNotifies_.end())
        return;
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *component)
{
    if (!component)
        return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    auto &theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::InsertComponent(TComponent *component)
{
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent *component)
{
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end())
        return;
    components_.erase(it);
    component->owner_ = nullptr;
    Notification(component, true);
}

void TDataModule::AfterConstruction()
{
    if (created_)
        return;
    created_ = true;
    if (OnCreate)
        OnCreate(this);
}

void TDataModule::BeforeDestruction()
{
    TComponent::BeforeDestruction();
    if (destroyed_)
        return;
    destroyed_ = true;
    if (OnDestroy)
        OnDestroy(this);
}
