#include "tray/qt/QtTray.h"

#include "tray/qt/QtMenus.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtPictures.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QTimer>

#include <map>
#include <memory>
#include <tuple>

namespace {

class TQtIconImage : public TIconImage {
public:
    explicit TQtIconImage(QIcon APicture) : Picture(std::move(APicture)) {}
    // The shell gets the image itself back from the handle.
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(this); }
    QIcon Picture;
};

QSystemTrayIcon::MessageIcon BalloonIcon(unsigned InfoFlags) {
    switch (InfoFlags) {
    case 1:
        return QSystemTrayIcon::Information;
    case 2:
        return QSystemTrayIcon::Warning;
    case 3:
        return QSystemTrayIcon::Critical;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

// One icon of the shell: the Qt icon, and the balloon it shows until it is hidden or times out.
struct TShownIcon {
    std::unique_ptr<QSystemTrayIcon> Icon;
    std::tuple<std::string, std::string, unsigned> Balloon;
    QTimer BalloonTimer;
};

class TQtNotifyShell : public TNotifyShell {
public:
    std::uintptr_t CreateHiddenWindow(TMessageHandler Handler) override {
        const std::uintptr_t Wnd = ++FLastWindow;
        FHandlers[Wnd] = std::move(Handler);
        return Wnd;
    }

    void DestroyHiddenWindow(std::uintptr_t Wnd) override {
        FHandlers.erase(Wnd);
        FIcons.erase(Wnd);
    }

    // The icon is added even where the desktop has no tray yet: Qt shows it when one appears.
    bool NotifyIcon(TNotifyMessage Message, const TNotifyIconData& Data) override {
        if (Message == nimDelete)
            return FIcons.erase(Data.Wnd) > 0;
        auto It = FIcons.find(Data.Wnd);
        if (Message == nimAdd) {
            if (It != FIcons.end() || FHandlers.count(Data.Wnd) == 0)
                return false;
            It = FIcons.emplace(Data.Wnd, std::make_unique<TShownIcon>()).first;
            Create(Data.Wnd, *It->second);
        } else if (It == FIcons.end()) {
            return false;
        }
        Update(*It->second, Data);
        return true;
    }

    // Qt puts the icon back by itself when the tray starts again.
    unsigned TaskbarCreatedMessage() const override { return 0; }

    TPoint CursorPos() const override {
        const QPoint P = QCursor::pos();
        return TPoint{P.x(), P.y()};
    }

    TShiftState KeyShiftState() const override {
        const Qt::KeyboardModifiers Keys = QGuiApplication::queryKeyboardModifiers();
        TShiftState S = 0;
        if (Keys & Qt::ShiftModifier)
            S |= ssShift;
        if (Keys & Qt::ControlModifier)
            S |= ssCtrl;
        if (Keys & Qt::AltModifier)
            S |= ssAlt;
        return S;
    }

private:
    void Create(std::uintptr_t Wnd, TShownIcon& Shown) {
        Shown.Icon = std::make_unique<QSystemTrayIcon>();
        Shown.BalloonTimer.setSingleShot(true);
        auto Send = [this, Wnd](std::initializer_list<unsigned> Notifications) {
            RunHandler([&] {
                for (const unsigned N : Notifications) {
                    // A handler may have removed the icon.
                    auto Handler = FHandlers.find(Wnd);
                    if (Handler == FHandlers.end())
                        return;
                    Handler->second(TrayMessages::Callback, 0, static_cast<std::intptr_t>(N));
                }
            });
        };
        auto BalloonDone = [this, Wnd, Send](unsigned Notification) {
            auto It = FIcons.find(Wnd);
            if (It == FIcons.end())
                return;
            It->second->BalloonTimer.stop();
            It->second->Balloon = {};
            Send({Notification});
        };
        QObject::connect(&Shown.BalloonTimer, &QTimer::timeout,
                         [BalloonDone] { BalloonDone(TrayMessages::BalloonTimeout); });
        QObject::connect(Shown.Icon.get(), &QSystemTrayIcon::messageClicked,
                         [BalloonDone] { BalloonDone(TrayMessages::BalloonHide); });
        QObject::connect(Shown.Icon.get(), &QSystemTrayIcon::activated,
                         [Send](QSystemTrayIcon::ActivationReason Reason) {
                             using namespace TrayMessages;
                             switch (Reason) {
                             case QSystemTrayIcon::Trigger:
                                 return Send({LButtonDown, LButtonUp});
                             case QSystemTrayIcon::DoubleClick:
                                 return Send({LButtonDblClk});
                             case QSystemTrayIcon::Context:
                                 return Send({RButtonDown, RButtonUp});
                             case QSystemTrayIcon::MiddleClick:
                                 return Send({MButtonDown, MButtonUp});
                             default:
                                 return;
                             }
                         });
    }

    // As the Windows shell does: a pending balloon is shown when the record carries it, once for
    // each new content.
    static void Update(TShownIcon& Shown, const TNotifyIconData& Data) {
        QSystemTrayIcon& Icon = *Shown.Icon;
        if (Data.Flags & nifIcon) {
            const auto* Image = reinterpret_cast<const TQtIconImage*>(Data.Icon);
            Icon.setIcon(Image != nullptr ? Image->Picture : QIcon());
        }
        Icon.setToolTip((Data.Flags & nifTip) ? QtText(Data.Tip) : QString());
        if (!Icon.isVisible())
            Icon.show();
        auto Balloon = std::make_tuple(Data.InfoTitle, Data.Info, Data.InfoFlags);
        if (!(Data.Flags & nifInfo) || Data.Info.empty() || Balloon == Shown.Balloon)
            return;
        Shown.Balloon = Balloon;
        const int Timeout = static_cast<int>(Data.Timeout);
        Icon.showMessage(QtText(Data.InfoTitle), QtText(Data.Info), BalloonIcon(Data.InfoFlags),
                         Timeout);
        Shown.BalloonTimer.start(Timeout);
    }

    std::uintptr_t FLastWindow = 0;
    std::map<std::uintptr_t, TMessageHandler> FHandlers;
    std::map<std::uintptr_t, std::unique_ptr<TShownIcon>> FIcons;
};

class TQtTimer : public TTimerDevice {
public:
    TQtTimer() {
        QObject::connect(&FTimer, &QTimer::timeout, [this] { RunHandler(FTick); });
    }
    void Start(unsigned IntervalMs, std::function<void()> Tick) override {
        FTick = std::move(Tick);
        FTimer.start(static_cast<int>(IntervalMs));
    }
    void Stop() override { FTimer.stop(); }

private:
    QTimer FTimer;
    std::function<void()> FTick;
};

class TQtTrayApplication : public TTrayApplication {
public:
    TIcon Icon() const override { return MakeTrayIcon(ProgramIcon("quelvano")); }
    // Qt's pop-up menus take the pointer, so they close on a click elsewhere by themselves.
    void BringToFront() override {}
    void PopupMenuAt(TPopupMenu& Menu, TPoint At) override { PopupMenu(Menu, QPoint(At.X, At.Y)); }
    std::unique_ptr<TTimerDevice> CreateTimer() override { return std::make_unique<TQtTimer>(); }
};

} // namespace

TIcon MakeTrayIcon(const QIcon& Picture) {
    return TIcon(std::make_shared<TQtIconImage>(Picture));
}

TTrayServices QtTrayServices() {
    static TQtNotifyShell Shell;
    static TQtTrayApplication App;
    return TTrayServices{Shell, App};
}
