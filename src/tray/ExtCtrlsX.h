#pragma once

#include "base/TComponent.h"
#include "tray/Controls.h"
#include "tray/Graphics.h"
#include "tray/Menus.h"
#include "tray/Timer.h"
#include "tray/TrayServices.h"

#include <cstdint>
#include <string>

// The icon shown in a balloon; the values are the shell's info flags.
enum TBalloonFlags { bfNone = 0, bfInfo = 1, bfWarning = 2, bfError = 3 };

// One icon in the desktop's notification area: tooltip, balloons, mouse events, a pop-up menu on
// the right button, animation from an image list, and the icon's return after a shell restart.
class TCustomTrayIcon : public TComponent {
public:
    TCustomTrayIcon(TComponent* AOwner, TTrayServices Services);
    ~TCustomTrayIcon() override;

    // Sends the record with NIF_INFO and the info flags of BalloonFlags; true when the shell
    // accepted it. The balloon stays pending until the shell reports it hidden or timed out.
    virtual bool ShowBalloonHint();
    void RefreshIcon();
    bool ShellNotify(TNotifyMessage Message);
    void SetDefaultIcon();

    const TNotifyIconData& NotifyIconData() const { return FIconData; }

protected:
    virtual void SetVisible(bool Value);
    virtual void SetIconIndex(int Value);
    virtual std::intptr_t HandleTrayMessage(unsigned Msg, std::uintptr_t WParam,
                                            std::intptr_t LParam);
    virtual void AnimateTick();

    bool Animate() const { return FAnimate; }
    void SetAnimate(bool Value);
    unsigned AnimateInterval() const { return FAnimateTimer.Interval(); }
    void SetAnimateInterval(unsigned Value) { FAnimateTimer.SetInterval(Value); }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    const std::string& BalloonHint() const { return FBalloonHint; }
    void SetBalloonHint(const std::string& Value);
    const std::string& BalloonTitle() const { return FBalloonTitle; }
    void SetBalloonTitle(const std::string& Value);
    int BalloonTimeout() const { return static_cast<int>(FIconData.Timeout); }
    void SetBalloonTimeout(int Value) { FIconData.Timeout = static_cast<unsigned>(Value); }
    TBalloonFlags BalloonFlags() const { return FBalloonFlags; }
    void SetBalloonFlags(TBalloonFlags Value) { FBalloonFlags = Value; }
    const TIcon& Icon() const { return FIcon; }
    void SetIcon(const TIcon& Value);
    TImageList* Icons() const { return FIcons; }
    void SetIcons(TImageList* Value);
    int IconIndex() const { return FIconIndex; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value) { FPopupMenu = Value; }
    bool Visible() const { return FVisible; }

    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnAnimate;

private:
    void HandleNotification(unsigned Notification);
    void MouseDown(TMouseButton Button, TShiftState Shift, TPoint P);
    void MouseUp(TMouseButton Button, TShiftState Shift, TPoint P);
    void DblClick();
    void PopUp(TPoint P);

    TTrayServices FServices;
    bool FAnimate = false;
    TNotifyIconData FIconData;
    bool FClicked = false;
    TIcon FCurrentIcon;
    TIcon FIcon;
    TImageList* FIcons = nullptr;
    TPopupMenu* FPopupMenu = nullptr;
    TTimer FAnimateTimer;
    std::string FHint;
    int FIconIndex = 0;
    bool FVisible = false;
    std::string FBalloonHint;
    std::string FBalloonTitle;
    TBalloonFlags FBalloonFlags = bfNone;
};

class TTrayIcon : public TCustomTrayIcon {
public:
    using TCustomTrayIcon::TCustomTrayIcon;

    using TCustomTrayIcon::Animate;
    using TCustomTrayIcon::AnimateInterval;
    using TCustomTrayIcon::BalloonFlags;
    using TCustomTrayIcon::BalloonHint;
    using TCustomTrayIcon::BalloonTimeout;
    using TCustomTrayIcon::BalloonTitle;
    using TCustomTrayIcon::Hint;
    using TCustomTrayIcon::Icon;
    using TCustomTrayIcon::IconIndex;
    using TCustomTrayIcon::Icons;
    using TCustomTrayIcon::PopupMenu;
    using TCustomTrayIcon::SetAnimate;
    using TCustomTrayIcon::SetAnimateInterval;
    using TCustomTrayIcon::SetBalloonFlags;
    using TCustomTrayIcon::SetBalloonHint;
    using TCustomTrayIcon::SetBalloonTimeout;
    using TCustomTrayIcon::SetBalloonTitle;
    using TCustomTrayIcon::SetHint;
    using TCustomTrayIcon::SetIcon;
    using TCustomTrayIcon::SetIconIndex;
    using TCustomTrayIcon::SetIcons;
    using TCustomTrayIcon::SetPopupMenu;
    using TCustomTrayIcon::SetVisible;
    using TCustomTrayIcon::Visible;

    using TCustomTrayIcon::OnAnimate;
    using TCustomTrayIcon::OnClick;
    using TCustomTrayIcon::OnDblClick;
    using TCustomTrayIcon::OnMouseDown;
    using TCustomTrayIcon::OnMouseMove;
    using TCustomTrayIcon::OnMouseUp;
};
