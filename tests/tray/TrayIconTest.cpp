#include "fakes/FakeTray.h"

#include "base/Exception.h"
#include "base/TApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TrayIcon : ::testing::Test {
    FakeTray Fake;
    TTrayIcon Tray{nullptr, Fake.Services()};
    std::vector<std::string> Events;

    void RecordMouse(TTrayIcon& T) {
        T.OnMouseDown = [this](TComponent*, TMouseButton B, TShiftState S, int X, int Y) {
            Events.push_back("down " + std::to_string(B) + " " + std::to_string(S) + " " +
                             std::to_string(X) + "," + std::to_string(Y));
        };
        T.OnMouseUp = [this](TComponent*, TMouseButton B, TShiftState S, int, int) {
            Events.push_back("up " + std::to_string(B) + " " + std::to_string(S));
        };
        T.OnClick = [this](TComponent*) { Events.push_back("click"); };
        T.OnDblClick = [this](TComponent*) { Events.push_back("dblclick"); };
    }
};

TEST_F(TrayIcon, ConstructionSendsNothingAndTakesTheTitleAsTooltip) {
    Application().Title = "Quelvano v1.47";
    FakeTray Other;
    TTrayIcon T(nullptr, Other.Services());
    EXPECT_TRUE(Other.Calls.empty());
    EXPECT_EQ(T.NotifyIconData().Tip, "Quelvano v1.47");
    EXPECT_EQ(T.NotifyIconData().Flags, unsigned(nifMessage | nifIcon | nifTip));
    EXPECT_EQ(T.NotifyIconData().CallbackMessage, 1025u);
    EXPECT_EQ(T.NotifyIconData().ID, Other.WindowHandle);
    EXPECT_EQ(T.Hint(), "");
    Application().Title.clear();
}

TEST_F(TrayIcon, VisibleTwiceAddsOnce) {
    Tray.SetVisible(true);
    Tray.SetVisible(true);
    EXPECT_EQ(Fake.Count(nimAdd), 1);
}

TEST_F(TrayIcon, FailedAddLeavesVisibleAndLaterRemovalRaises) {
    Fake.AddSucceeds = false;
    Fake.DeleteSucceeds = false;
    try {
        Tray.SetVisible(true);
        FAIL() << "no exception";
    } catch (const EOutOfResources& E) {
        EXPECT_STREQ(E.what(), "Cannot create shell notification icon");
    }
    EXPECT_TRUE(Tray.Visible());
    try {
        Tray.SetVisible(false);
        FAIL() << "no exception";
    } catch (const EOutOfResources& E) {
        EXPECT_STREQ(E.what(), "Cannot remove shell notification icon");
    }
    EXPECT_FALSE(Tray.Visible());
}

TEST_F(TrayIcon, NoRemovalWhileTheOwnerIsLoading) {
    FakeTray Other;
    TComponent Form;
    auto* T = new TTrayIcon(&Form, Other.Services());
    T->SetVisible(true);
    Form.SetLoading(true);
    Other.DeleteSucceeds = false;
    T->SetVisible(false); // would raise if it asked the shell
    EXPECT_EQ(Other.Count(nimDelete), 0);
}

TEST_F(TrayIcon, EmptyIconShowsTheApplicationsIcon) {
    Tray.SetVisible(true);
    EXPECT_EQ(Fake.Last().Message, nimAdd);
    EXPECT_EQ(Fake.Last().Data.Icon, Fake.AppIcon.Handle());

    Tray.SetIcon(FakeTray::MakeIcon(0x77));
    EXPECT_EQ(Fake.Last().Data.Icon, 0x77u);
}

TEST_F(TrayIcon, TooltipFlagFollowsTheText) {
    struct Step {
        std::string Hint;
        bool Sends;
        bool TipFlag;
    };
    const Step Steps[] = {
        {"uno", true, true}, {"uno", false, true}, {"UNO", true, true}, {"", true, false}};
    Tray.SetVisible(true);
    for (const Step& S : Steps) {
        const size_t Before = Fake.Calls.size();
        Tray.SetHint(S.Hint);
        EXPECT_EQ(Fake.Calls.size() > Before, S.Sends) << S.Hint;
        EXPECT_EQ((Tray.NotifyIconData().Flags & nifTip) != 0, S.TipFlag) << S.Hint;
    }
}

TEST_F(TrayIcon, MouseNotificationsRaiseEventsInOrder) {
    struct Case {
        std::vector<unsigned> Notifications;
        std::vector<std::string> Expected;
    };
    const Case Cases[] = {
        {{513, 514}, {"down 0 9 10,20", "click", "up 0 9"}},
        {{514}, {"up 0 9"}},
        {{513, 514, 514}, {"down 0 9 10,20", "click", "up 0 9", "up 0 9"}},
        {{516, 517}, {"down 1 17 10,20", "up 1 17"}},
        {{519, 520}, {"down 2 33 10,20", "up 2 33"}},
        {{515}, {"dblclick"}},
        {{518}, {"dblclick"}},
        {{521}, {"dblclick"}},
        {{522, 1026}, {}},
    };
    for (const Case& C : Cases) {
        FakeTray F;
        F.Keys = ssShift;
        TTrayIcon T(nullptr, F.Services());
        Events.clear();
        RecordMouse(T);
        for (unsigned N : C.Notifications)
            EXPECT_EQ(F.Notify(N), 0);
        EXPECT_EQ(Events, C.Expected) << C.Notifications.front();
    }
}

TEST_F(TrayIcon, WindowMessagesAreAnswered) {
    Tray.SetVisible(true);
    EXPECT_EQ(Fake.Send(17), 1);
    EXPECT_EQ(Fake.Send(22, 0), 0);
    EXPECT_EQ(Fake.Count(nimDelete), 0);
    EXPECT_EQ(Fake.Send(22, 1), 0);
    EXPECT_EQ(Fake.Count(nimDelete), 1);
    EXPECT_EQ(Fake.Send(Fake.TaskbarCreated), 0);
    EXPECT_EQ(Fake.Count(nimAdd), 2);
    EXPECT_EQ(Fake.Send(0x0200), 0);
}

TEST_F(TrayIcon, RightButtonUpPopsTheMenuUpAfterBringingTheAppToFront) {
    FakeTray F;
    TComponent Form;
    auto* T = new TTrayIcon(&Form, F.Services());
    TPopupMenu Menu;
    T->SetPopupMenu(&Menu);
    F.Cursor = {300, 400};
    bool Processed = false;
    Application().OnProcessMessages = [&] { Processed = F.Log.back() == "front"; };
    F.Notify(517);
    Application().OnProcessMessages = nullptr;
    EXPECT_TRUE(Processed);
    EXPECT_EQ(F.Log.back(), "popup");
    EXPECT_EQ(F.PoppedUp, &Menu);
    EXPECT_EQ(F.PoppedAt.X, 300);
    EXPECT_EQ(F.PoppedAt.Y, 400);
    EXPECT_FALSE(Menu.AutoPopup);
    EXPECT_EQ(Menu.PopupComponent, &Form);
}

TEST_F(TrayIcon, BalloonStaysPendingUntilHiddenOrTimedOut) {
    for (unsigned Ending : {1027u, 1028u}) {
        FakeTray F;
        TTrayIcon T(nullptr, F.Services());
        T.SetVisible(true);
        T.SetBalloonHint("hola");
        T.ShowBalloonHint();
        T.SetHint("a");
        EXPECT_NE(F.Last().Data.Flags & nifInfo, 0u);
        F.Notify(Ending);
        T.SetHint("b");
        EXPECT_EQ(F.Last().Data.Flags & nifInfo, 0u) << Ending;
    }
}

TEST_F(TrayIcon, BalloonFlagsTakeEffectAtTheNextShowOnly) {
    Tray.SetBalloonFlags(bfWarning);
    Tray.ShowBalloonHint();
    EXPECT_EQ(Fake.Last().Data.InfoFlags, 2u);
    Tray.SetBalloonFlags(bfError);
    Tray.SetBalloonHint("otro");
    EXPECT_EQ(Fake.Last().Data.InfoFlags, 2u);
    Tray.ShowBalloonHint();
    EXPECT_EQ(Fake.Last().Data.InfoFlags, 3u);
}

TEST_F(TrayIcon, TextsAreCutOnCharacterBoundaries) {
    const std::string Enye = "\xC3\xB1"; // two bytes, one character
    std::string Long;
    for (int I = 0; I < 300; ++I)
        Long += Enye;
    Tray.SetHint(Long);
    Tray.SetBalloonHint(Long);
    Tray.SetBalloonTitle(Long);
    const TNotifyIconData& D = Tray.NotifyIconData();
    EXPECT_EQ(D.Tip.size(), 127u * 2);
    EXPECT_EQ(D.Info.size(), 255u * 2);
    EXPECT_EQ(D.InfoTitle.size(), 63u * 2);
    EXPECT_EQ(Tray.BalloonTitle(), Long);
}

TEST_F(TrayIcon, AnimationRunsThroughTheFramesAndWraps) {
    TImageList Frames;
    for (unsigned H = 1; H <= 5; ++H)
        Frames.Add(FakeTray::MakeIcon(0x100 + H));
    Tray.SetIcons(&Frames);
    int Animated = 0;
    Tray.OnAnimate = [&](TComponent*) { ++Animated; };
    Tray.SetVisible(true);
    Tray.SetAnimate(true);
    ASSERT_TRUE(Fake.TimerRunning());
    std::vector<int> Seen;
    for (int I = 0; I < 6; ++I) {
        Fake.FireTimer();
        Seen.push_back(Tray.IconIndex());
    }
    EXPECT_EQ(Seen, (std::vector<int>{1, 2, 3, 4, 0, 1}));
    EXPECT_EQ(Animated, 6);
    EXPECT_EQ(Fake.Last().Data.Icon, 0x102u);
}

TEST_F(TrayIcon, TimerIsSwitchedOnlyWhenVisibleOrAnimateChange) {
    auto TimerLog = [this] {
        std::vector<std::string> L;
        for (const std::string& S : Fake.Log)
            if (S.rfind("timer", 0) == 0)
                L.push_back(S);
        return L;
    };
    TImageList Frames;
    Tray.SetAnimate(true); // no frames yet, not shown: no timer
    Frames.Add(FakeTray::MakeIcon(1));
    Tray.SetIcons(&Frames); // assigning frames later does not start it
    EXPECT_TRUE(TimerLog().empty());
    Tray.SetVisible(true);
    EXPECT_EQ(TimerLog(), (std::vector<std::string>{"timer on 1000"}));
    Tray.SetAnimateInterval(250);
    Tray.SetVisible(false);
    Tray.SetVisible(true);
    Tray.SetAnimate(false);
    EXPECT_EQ(TimerLog(), (std::vector<std::string>{"timer on 1000", "timer on 250", "timer off",
                                                    "timer on 250", "timer off"}));
    EXPECT_EQ(Tray.AnimateInterval(), 250u);
}

TEST_F(TrayIcon, StoppingAnimationKeepsTheShownFrame) {
    TImageList Frames;
    Frames.Add(FakeTray::MakeIcon(0x51));
    Frames.Add(FakeTray::MakeIcon(0x52));
    Tray.SetIcons(&Frames);
    Tray.SetVisible(true);
    Tray.SetAnimate(true);
    Fake.FireTimer();
    Tray.SetAnimate(false);
    EXPECT_EQ(Tray.Icon().Handle(), 0x52u);
    Tray.SetIcons(nullptr);
    EXPECT_EQ(Fake.Last().Data.Icon, 0x52u);
}

TEST_F(TrayIcon, DestructionRemovesTheIconAndTheWindow) {
    FakeTray F;
    {
        TTrayIcon T(nullptr, F.Services());
        EXPECT_TRUE(F.WindowAlive);
    }
    EXPECT_EQ(F.Last().Message, nimDelete);
    EXPECT_FALSE(F.WindowAlive);
}

} // namespace
