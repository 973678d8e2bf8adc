#include "base/TComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records its own destruction and every removal it is told about.
class Probe : public TComponent {
public:
    Probe(TComponent* AOwner, std::string Label, std::vector<std::string>& Log)
        : TComponent(AOwner), FLabel(std::move(Label)), FLog(Log) {}
    ~Probe() override { FLog.push_back("free " + FLabel); }

    TComponent* Watched = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == TOperation::opRemove && AComponent == Watched) {
            FLog.push_back(FLabel + " told");
            Watched = nullptr;
        }
        TComponent::Notification(AComponent, Operation);
    }

private:
    std::string FLabel;
    std::vector<std::string>& FLog;
};

TEST(TComponent_Ownership, OwnerFreesWhatItOwnsLastCreatedFirst) {
    std::vector<std::string> Log;
    auto* Root = new Probe(nullptr, "root", Log);
    auto* A = new Probe(Root, "a", Log);
    new Probe(A, "a1", Log);
    new Probe(Root, "b", Log);
    EXPECT_EQ(Root->ComponentCount(), 2);
    delete Root;
    EXPECT_EQ(Log, (std::vector<std::string>{"free root", "free b", "free a", "free a1"}));
}

TEST(TComponent_Ownership, ChildFreedFirstLeavesItsOwner) {
    std::vector<std::string> Log;
    Probe Root(nullptr, "root", Log);
    auto* A = new Probe(&Root, "a", Log);
    delete A;
    EXPECT_EQ(Root.ComponentCount(), 0);
}

TEST(TComponent_Ownership, InsertingMovesFromTheOldOwner) {
    std::vector<std::string> Log;
    Probe First(nullptr, "first", Log);
    Probe Second(nullptr, "second", Log);
    auto* Child = new Probe(&First, "child", Log);
    Second.InsertComponent(Child);
    EXPECT_EQ(First.ComponentCount(), 0);
    ASSERT_EQ(Second.ComponentCount(), 1);
    EXPECT_EQ(Child->Owner(), &Second);
}

TEST(TComponent_FreeNotification, ObserverIsToldAndClearsItsReference) {
    std::vector<std::string> Log;
    Probe Observer(nullptr, "observer", Log);
    auto* Target = new Probe(nullptr, "target", Log);
    Observer.Watched = Target;
    Observer.FreeNotification(Target);
    delete Target;
    EXPECT_EQ(Observer.Watched, nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"free target", "observer told"}));
}

TEST(TComponent_FreeNotification, RemovedRequestIsNotHonoured) {
    std::vector<std::string> Log;
    Probe Observer(nullptr, "observer", Log);
    auto* Target = new Probe(nullptr, "target", Log);
    Observer.Watched = Target;
    Observer.FreeNotification(Target);
    Observer.RemoveFreeNotification(Target);
    delete Target;
    EXPECT_EQ(Observer.Watched, Target);
}

TEST(TComponent_FreeNotification, ObserverFreedFirstIsNeverCalledBack) {
    // Under the address sanitizer a dangling call back into the observer would be reported.
    std::vector<std::string> Log;
    auto* Observer = new Probe(nullptr, "observer", Log);
    auto* Target = new Probe(nullptr, "target", Log);
    Observer->Watched = Target;
    Observer->FreeNotification(Target);
    delete Observer;
    delete Target;
    EXPECT_EQ(Log, (std::vector<std::string>{"free observer", "free target"}));
}

TEST(TComponent_FreeNotification, RepeatedRequestsTellOnce) {
    std::vector<std::string> Log;
    Probe Observer(nullptr, "observer", Log);
    auto* Target = new Probe(nullptr, "target", Log);
    Observer.Watched = Target;
    Observer.FreeNotification(Target);
    Observer.FreeNotification(Target);
    delete Target;
    EXPECT_EQ(Log, (std::vector<std::string>{"free target", "observer told"}));
}

TEST(TComponent_FreeNotification, SiblingOwnedBySameOwnerIsToldDuringTeardown) {
    std::vector<std::string> Log;
    auto* Root = new Probe(nullptr, "root", Log);
    auto* Observer = new Probe(Root, "observer", Log);
    auto* Target = new Probe(Root, "target", Log);
    Observer->Watched = Target;
    Observer->FreeNotification(Target);
    delete Root; // target goes first (created last) and tells the observer
    EXPECT_EQ(Log, (std::vector<std::string>{"free root", "free target", "observer told",
                                             "free observer"}));
}

} // namespace
