#include "platform/Classes.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner)
{
    if (FOwner != nullptr) {
        FOwner->FComponents.push_back(this);
        if (FOwner->Designing())
            FState |= cs::csDesigning;
    }
}

TComponent::~TComponent()
{
    FState |= cs::csDestroying;
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        FComponents.pop_back();
        last->FOwner = nullptr;
        delete last;
    }
    if (FOwner != nullptr) {
        auto& siblings = FOwner->FComponents;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        FState |= cs::csDesigning;
    else
        FState &= ~cs::csDesigning;
    for (TComponent* child : FComponents)
        child->SetDesigning(designing);
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    for (TComponent* component : FComponents)
        if (component->Name() == name)
            return component;
    return nullptr;
}
