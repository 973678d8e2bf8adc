#pragma once

#include <initializer_list>
#include <string>
#include <vector>

enum class TOperation { opInsert, opRemove };

// The component model the program is built on: an owner frees what it owns, and a component that
// refers to one it does not own can ask to be told when that one is destroyed.
class TComponent {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    virtual ~TComponent();

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<size_t>(Index)); }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    long Tag() const { return FTag; }
    void SetTag(long Value) { FTag = Value; }

    // True from the start of destruction on; notifications arriving then must not resurrect links.
    bool Destroying() const { return FDestroying; }

    // True while the component's stored description is being read in (a form being built).
    bool Loading() const { return FLoading; }
    void SetLoading(bool Value) { FLoading = Value; }

    // Ask to be told (through Notification with opRemove) when AComponent is destroyed. The link
    // works both ways, so whichever of the two goes first, the other is never left dangling.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // Frees what this component owns, last created first. The destructor does it too, but only
    // after the members of derived classes are gone.
    void DestroyComponents();

    // For the setter of a reference that has just changed from Old to New: watches New, and stops
    // watching Old unless one of Held (all the references as they now stand) still names it,
    // since one link serves every reference to the same component.
    void ReplaceReference(TComponent* Old, TComponent* New,
                          std::initializer_list<const TComponent*> Held);

private:
    void Unlink(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    long FTag = 0;
    bool FDestroying = false;
    bool FLoading = false;
};
