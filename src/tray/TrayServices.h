#pragma once

#include "tray/Controls.h"
#include "tray/Graphics.h"
#include "tray/Menus.h"
#include "tray/Timer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What the shell is asked to do with the icon.
enum TNotifyMessage { nimAdd = 0, nimModify = 1, nimDelete = 2 };

// Which parts of the record the shell is to look at.
enum TNotifyIconFlag : unsigned {
    nifMessage = 1,
    nifIcon = 2,
    nifTip = 4,
    nifInfo = 16,
};

// Lengths in characters; the platform record has one more slot for the terminator.
constexpr std::size_t TrayTipLength = 127;
constexpr std::size_t TrayInfoLength = 255;
constexpr std::size_t TrayInfoTitleLength = 63;

// The icon's record as every shell call receives it. Texts are UTF-8, already cut to the lengths
// above on character boundaries.
struct TNotifyIconData {
    std::uintptr_t Wnd = 0;
    std::uintptr_t ID = 0;
    unsigned Flags = 0;
    unsigned CallbackMessage = 0;
    std::uintptr_t Icon = 0;
    std::string Tip;
    std::string Info;
    unsigned Timeout = 0;
    std::string InfoTitle;
    unsigned InfoFlags = 0;
};

// Messages of the hidden window that the tray icon acts on.
namespace TrayMessages {
constexpr unsigned QueryEndSession = 17;
constexpr unsigned EndSession = 22;
constexpr unsigned Callback = 0x0400 + 1; // first user message plus one
// Notifications carried in the callback's second parameter.
constexpr unsigned MouseMove = 512;
constexpr unsigned LButtonDown = 513;
constexpr unsigned LButtonUp = 514;
constexpr unsigned LButtonDblClk = 515;
constexpr unsigned RButtonDown = 516;
constexpr unsigned RButtonUp = 517;
constexpr unsigned RButtonDblClk = 518;
constexpr unsigned MButtonDown = 519;
constexpr unsigned MButtonUp = 520;
constexpr unsigned MButtonDblClk = 521;
constexpr unsigned BalloonHide = 0x0400 + 3;
constexpr unsigned BalloonTimeout = 0x0400 + 4;
} // namespace TrayMessages

// The desktop's notification area, and the hidden window through which it talks to the icon.
class TNotifyShell {
public:
    using TMessageHandler =
        std::function<std::intptr_t(unsigned Msg, std::uintptr_t WParam, std::intptr_t LParam)>;

    virtual ~TNotifyShell() = default;

    // A hidden top-level window (the shell's restart notice is broadcast to top-level windows
    // only) whose messages all go to Handler; returns its handle.
    virtual std::uintptr_t CreateHiddenWindow(TMessageHandler Handler) = 0;
    virtual void DestroyHiddenWindow(std::uintptr_t Wnd) = 0;

    // True when the shell reports success.
    virtual bool NotifyIcon(TNotifyMessage Message, const TNotifyIconData& Data) = 0;

    // The number of the message the shell broadcasts when it starts again.
    virtual unsigned TaskbarCreatedMessage() const = 0;

    // Read when a mouse notification is handled.
    virtual TPoint CursorPos() const = 0;
    virtual TShiftState KeyShiftState() const = 0; // ssShift, ssCtrl, ssAlt only
};

// What the tray icon needs of the application beyond its title and message loop (Application()).
class TTrayApplication {
public:
    virtual ~TTrayApplication() = default;

    virtual TIcon Icon() const = 0;
    // Brings the application's own window to the foreground, so that a menu popped up next
    // closes when the user clicks elsewhere.
    virtual void BringToFront() = 0;
    // Shows Menu at the screen point and returns when it closes, after running the chosen item.
    virtual void PopupMenuAt(TPopupMenu& Menu, TPoint At) = 0;
    virtual std::unique_ptr<TTimerDevice> CreateTimer() = 0;
};

// Both must outlive every tray icon made with them.
struct TTrayServices {
    TNotifyShell& Shell;
    TTrayApplication& App;
};
