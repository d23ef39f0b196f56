#include "framework/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent *owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    state_ |= csDestroying;
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
