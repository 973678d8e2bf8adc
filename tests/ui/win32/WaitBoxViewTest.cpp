#include "ui/win32/WaitBoxView.h"
#include "ui/f_WaitBox.h"

#include "base/win32/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

namespace {

HWND FindBox() {
    return FindWindowW(L"TFrmWaitBox", L"Por favor espere...");
}

int CountBoxes() {
    int Count = 0;
    EnumWindows(
        [](HWND Window, LPARAM Param) -> BOOL {
            wchar_t Class[64] = {};
            GetClassNameW(Window, Class, 64);
            if (std::wstring(Class) == L"TFrmWaitBox")
                ++*reinterpret_cast<int*>(Param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&Count));
    return Count;
}

HWND Child(HWND Parent, const wchar_t* ClassName) {
    return FindWindowExW(Parent, nullptr, ClassName, nullptr);
}

class Win32WaitBox : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterWin32WaitBox(); }
    void TearDown() override { HideWaitBox(); }
};

TEST_F(Win32WaitBox, IsATopMostBoxWithoutSystemMenuShowingTheTextAndASmoothBar) {
    ShowWaitBox();
    const HWND Box = FindBox();
    ASSERT_NE(Box, nullptr);
    EXPECT_TRUE(IsWindowVisible(Box));
    const LONG_PTR Style = GetWindowLongPtrW(Box, GWL_STYLE);
    EXPECT_EQ(Style & WS_SYSMENU, 0);
    EXPECT_NE(GetWindowLongPtrW(Box, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT Client = {};
    GetClientRect(Box, &Client);
    EXPECT_EQ(Client.right - Client.left, 307);
    EXPECT_EQ(Client.bottom - Client.top, 110);

    const HWND Label = Child(Box, L"Static");
    ASSERT_NE(Label, nullptr);
    wchar_t Text[512] = {};
    GetWindowTextW(Label, Text, 512);
    EXPECT_EQ(FromWide(Text), TFrmWaitBox::Text);

    const HWND Bar = Child(Box, PROGRESS_CLASSW);
    ASSERT_NE(Bar, nullptr);
    EXPECT_NE(GetWindowLongPtrW(Bar, GWL_STYLE) & PBS_SMOOTH, 0);
    EXPECT_EQ(SendMessageW(Bar, PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(SendMessageW(Bar, PBM_GETPOS, 0, 0), 0);
    FrmWaitBox->ProgressBar1().SetPosition(70);
    EXPECT_EQ(SendMessageW(Bar, PBM_GETPOS, 0, 0), 70);
}

TEST_F(Win32WaitBox, CloseRequestIsRefusedAndOnlyHideRemovesIt) {
    ShowWaitBox();
    ShowWaitBox();
    EXPECT_EQ(CountBoxes(), 1);
    SendMessageW(FindBox(), WM_CLOSE, 0, 0);
    EXPECT_NE(FindBox(), nullptr);
    HideWaitBox();
    EXPECT_EQ(FindBox(), nullptr);
    EXPECT_EQ(CountBoxes(), 0);
}

} // namespace
