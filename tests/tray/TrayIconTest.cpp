#include "fakes/FakeTray.h"

#include "base/TApplication.h"

#include <gtest/gtest.h>

namespace {

TEST(TrayIcon_Balloon, ShowSendsTextTitleAndFlagsInOneModify) {
    FakeTray Fake;
    TTrayIcon Tray(nullptr, Fake.Services());
    Tray.SetBalloonTitle("Quelvano");
    Tray.SetBalloonHint("Cambio de IP satisfactorio!");
    Tray.SetBalloonFlags(bfError);
    Fake.Calls.clear();

    EXPECT_TRUE(Tray.ShowBalloonHint());

    ASSERT_EQ(Fake.Calls.size(), 1u);
    const TNotifyIconData& D = Fake.Last().Data;
    EXPECT_EQ(Fake.Last().Message, nimModify);
    EXPECT_EQ(D.Flags & nifInfo, static_cast<unsigned>(nifInfo));
    EXPECT_EQ(D.InfoFlags, 3u);
    EXPECT_EQ(D.Info, "Cambio de IP satisfactorio!");
    EXPECT_EQ(D.InfoTitle, "Quelvano");
    EXPECT_EQ(D.Timeout, 3000u);
}

} // namespace
