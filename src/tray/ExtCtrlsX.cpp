#include "tray/ExtCtrlsX.h"

#include "base/Exception.h"
#include "base/TApplication.h"
#include "base/TextUtils.h"

TCustomTrayIcon::TCustomTrayIcon(TComponent* AOwner, TTrayServices Services)
    : TComponent(AOwner), FServices(Services), FAnimateTimer(Services.App.CreateTimer()) {
    FAnimateTimer.OnTimer = [this] { AnimateTick(); };
    FAnimateTimer.SetInterval(1000);

    FIconData.Wnd = FServices.Shell.CreateHiddenWindow(
        [this](unsigned Msg, std::uintptr_t WParam, std::intptr_t LParam) {
            return HandleTrayMessage(Msg, WParam, LParam);
        });
    FIconData.ID = FIconData.Wnd;
    FIconData.Timeout = 3000;
    FIconData.Icon = FCurrentIcon.Handle();
    FIconData.Flags = nifMessage | nifIcon;
    FIconData.CallbackMessage = TrayMessages::Callback;
    FIconData.Tip = Utf8Cut(Application().Title, TrayTipLength);
    if (!FIconData.Tip.empty())
        FIconData.Flags |= nifTip;
    RefreshIcon();
}

TCustomTrayIcon::~TCustomTrayIcon() {
    ShellNotify(nimDelete);
    FServices.Shell.DestroyHiddenWindow(FIconData.Wnd);
}

bool TCustomTrayIcon::ShowBalloonHint() {
    FIconData.Flags |= nifInfo;
    FIconData.InfoFlags = static_cast<unsigned>(FBalloonFlags);
    return ShellNotify(nimModify);
}

void TCustomTrayIcon::RefreshIcon() {
    FIconData.Icon = FCurrentIcon.Handle();
    if (FVisible)
        ShellNotify(nimModify);
}

bool TCustomTrayIcon::ShellNotify(TNotifyMessage Message) {
    return FServices.Shell.NotifyIcon(Message, FIconData);
}

void TCustomTrayIcon::SetDefaultIcon() {
    if (!FIcon.Empty())
        FCurrentIcon.Assign(FIcon);
    else
        FCurrentIcon.Assign(FServices.App.Icon());
    RefreshIcon();
}

void TCustomTrayIcon::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    // Stored first: after a failed add the icon still counts as shown, so that the next change
    // tries the shell again and a restart of the shell brings it back.
    FVisible = Value;
    if (!FAnimate || FCurrentIcon.Empty())
        SetDefaultIcon();
    if (Value) {
        if (!ShellNotify(nimAdd))
            throw EOutOfResources("Cannot create shell notification icon");
    } else {
        const bool OwnerLoading = Owner() != nullptr && Owner()->Loading();
        if (!OwnerLoading && !ShellNotify(nimDelete))
            throw EOutOfResources("Cannot remove shell notification icon");
    }
    if (FAnimate)
        FAnimateTimer.SetEnabled(Value);
}

void TCustomTrayIcon::SetIconIndex(int Value) {
    if (Value == FIconIndex)
        return;
    FIconIndex = Value;
    if (FIcons != nullptr)
        FIcons->GetIcon(Value, FCurrentIcon);
    RefreshIcon();
}

void TCustomTrayIcon::AnimateTick() {
    if (OnAnimate)
        OnAnimate(this);
    if (FIcons != nullptr && FIconIndex < FIcons->Count() - 1)
        SetIconIndex(FIconIndex + 1);
    else
        SetIconIndex(0);
    RefreshIcon();
}

void TCustomTrayIcon::SetAnimate(bool Value) {
    if (Value == FAnimate)
        return;
    FAnimate = Value;
    if (FIcons != nullptr && FIcons->Count() > 0 && FVisible)
        FAnimateTimer.SetEnabled(Value);
    // The frame on show stays: it becomes the static picture.
    if (!Value && !FCurrentIcon.Empty())
        FIcon.Assign(FCurrentIcon);
}

void TCustomTrayIcon::SetHint(const std::string& Value) {
    if (Value == FHint)
        return;
    FHint = Value;
    FIconData.Tip = Utf8Cut(Value, TrayTipLength);
    if (Value.empty())
        FIconData.Flags &= ~static_cast<unsigned>(nifTip);
    else
        FIconData.Flags |= nifTip;
    RefreshIcon();
}

void TCustomTrayIcon::SetBalloonHint(const std::string& Value) {
    if (Value == FBalloonHint)
        return;
    FBalloonHint = Value;
    FIconData.Info = Utf8Cut(Value, TrayInfoLength);
    ShellNotify(nimModify);
}

void TCustomTrayIcon::SetBalloonTitle(const std::string& Value) {
    if (Value == FBalloonTitle)
        return;
    FBalloonTitle = Value;
    FIconData.InfoTitle = Utf8Cut(Value, TrayInfoTitleLength);
    ShellNotify(nimModify);
}

void TCustomTrayIcon::SetIcon(const TIcon& Value) {
    FIcon.Assign(Value);
    FCurrentIcon.Assign(Value);
    RefreshIcon();
}

void TCustomTrayIcon::SetIcons(TImageList* Value) {
    FIcons = Value;
    if (Value == nullptr)
        SetDefaultIcon();
}

std::intptr_t TCustomTrayIcon::HandleTrayMessage(unsigned Msg, std::uintptr_t WParam,
                                                 std::intptr_t LParam) {
    if (Msg == TrayMessages::QueryEndSession)
        return 1;
    if (Msg == TrayMessages::EndSession) {
        if (WParam != 0)
            ShellNotify(nimDelete);
    } else if (Msg == FServices.Shell.TaskbarCreatedMessage()) {
        if (FVisible)
            ShellNotify(nimAdd);
    } else if (Msg == TrayMessages::Callback) {
        HandleNotification(static_cast<unsigned>(LParam));
    }
    return 0;
}

void TCustomTrayIcon::HandleNotification(unsigned Notification) {
    using namespace TrayMessages;
    // Where the mouse and the keys are now, not where they were when the shell posted.
    const TPoint P = FServices.Shell.CursorPos();
    const TShiftState Shift = FServices.Shell.KeyShiftState();
    switch (Notification) {
    case MouseMove:
        if (OnMouseMove)
            OnMouseMove(this, Shift, P.X, P.Y);
        break;
    case LButtonDown:
        MouseDown(mbLeft, Shift | ssLeft, P);
        FClicked = true;
        break;
    case LButtonUp:
        if (FClicked && OnClick) {
            OnClick(this);
            FClicked = false;
        }
        MouseUp(mbLeft, Shift | ssLeft, P);
        break;
    case RButtonDown:
        MouseDown(mbRight, Shift | ssRight, P);
        break;
    case RButtonUp:
        MouseUp(mbRight, Shift | ssRight, P);
        if (FPopupMenu != nullptr)
            PopUp(P);
        break;
    case MButtonDown:
        MouseDown(mbMiddle, Shift | ssMiddle, P);
        break;
    case MButtonUp:
        MouseUp(mbMiddle, Shift | ssMiddle, P);
        break;
    case LButtonDblClk:
    case RButtonDblClk:
    case MButtonDblClk:
        DblClick();
        break;
    case TrayMessages::BalloonHide:
    case TrayMessages::BalloonTimeout:
        FIconData.Flags &= ~static_cast<unsigned>(nifInfo);
        break;
    default:
        break;
    }
}

void TCustomTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, TPoint P) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, P.X, P.Y);
}

void TCustomTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, TPoint P) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, P.X, P.Y);
}

void TCustomTrayIcon::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomTrayIcon::PopUp(TPoint P) {
    FServices.App.BringToFront();
    Application().ProcessMessages();
    FPopupMenu->AutoPopup = false;
    FPopupMenu->PopupComponent = Owner();
    FServices.App.PopupMenuAt(*FPopupMenu, P);
}
