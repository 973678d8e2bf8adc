#include "base/TComponent.h"

#include <algorithm>

namespace {

void Erase(std::vector<TComponent*>& List, TComponent* Item) {
    List.erase(std::remove(List.begin(), List.end(), Item), List.end());
}

bool Contains(const std::vector<TComponent*>& List, const TComponent* Item) {
    return std::find(List.begin(), List.end(), Item) != List.end();
}

} // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FDestroying = true;
    // Tell everyone who asked, then free what we own (last created first), then leave the owner.
    while (!FFreeNotifies.empty()) {
        TComponent* Other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Other->Unlink(this);
        Other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* Child = FComponents.back();
        delete Child; // the child removes itself from FComponents
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent == this)
        return;
    if (!Contains(FFreeNotifies, AComponent))
        FFreeNotifies.push_back(AComponent);
    if (!Contains(AComponent->FFreeNotifies, this))
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr)
        return;
    Unlink(AComponent);
    AComponent->Unlink(this);
}

void TComponent::ReplaceReference(TComponent* Old, TComponent* New,
                                  std::initializer_list<const TComponent*> Held) {
    if (Old != nullptr && std::find(Held.begin(), Held.end(), Old) == Held.end())
        RemoveFreeNotification(Old);
    if (New != nullptr)
        FreeNotification(New);
}

void TComponent::Unlink(TComponent* AComponent) {
    Erase(FFreeNotifies, AComponent);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent->FOwner != nullptr)
        AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    Erase(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::Notification(TComponent*, TOperation) {}
