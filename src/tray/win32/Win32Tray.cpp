#include "tray/win32/Win32Tray.h"

#include "base/win32/Guarded.h"
#include "base/win32/WideText.h"
#include "tray/win32/Win32Menus.h"

#include <windows.h>

#include <shellapi.h>

#include <map>
#include <string>

namespace {

// Registered once when the program starts, before any window could receive it.
const UINT TaskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");

const wchar_t* const TrayWindowClass = L"QuelvanoTrayWindow";

LRESULT CALLBACK TrayWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_NCCREATE) {
        auto* Create = reinterpret_cast<CREATESTRUCTW*>(LParam);
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
    }
    auto* Handler =
        reinterpret_cast<TNotifyShell::TMessageHandler*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
    if (Handler == nullptr || Msg == WM_NCCREATE || Msg == WM_CREATE || Msg == WM_NCDESTROY ||
        Msg == WM_DESTROY || Msg == WM_NCCALCSIZE)
        return DefWindowProcW(Wnd, Msg, WParam, LParam);
    return Guarded(LRESULT(0), [&] { return (*Handler)(Msg, WParam, LParam); });
}

void CopyText(wchar_t* Dest, std::size_t Slots, const std::string& Text) {
    std::wstring W = ToWide(Text);
    // The record's text is already cut by characters; a character outside the basic plane takes
    // two slots, so cut again without splitting a surrogate pair.
    if (W.size() > Slots - 1) {
        std::size_t N = Slots - 1;
        if (N > 0 && W[N - 1] >= 0xD800 && W[N - 1] <= 0xDBFF)
            --N;
        W.resize(N);
    }
    W.copy(Dest, W.size());
    Dest[W.size()] = L'\0';
}

class TWin32NotifyShell : public TNotifyShell {
public:
    std::uintptr_t CreateHiddenWindow(TMessageHandler Handler) override {
        RegisterClassOnce();
        auto* Owned = new TMessageHandler(std::move(Handler));
        HWND Wnd = CreateWindowExW(0, TrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), Owned);
        if (Wnd == nullptr) {
            delete Owned;
            return 0;
        }
        Handlers[Wnd] = Owned;
        return reinterpret_cast<std::uintptr_t>(Wnd);
    }

    void DestroyHiddenWindow(std::uintptr_t Handle) override {
        HWND Wnd = reinterpret_cast<HWND>(Handle);
        DestroyWindow(Wnd);
        auto It = Handlers.find(Wnd);
        if (It != Handlers.end()) {
            delete It->second;
            Handlers.erase(It);
        }
    }

    bool NotifyIcon(TNotifyMessage Message, const TNotifyIconData& Data) override {
        NOTIFYICONDATAW R{};
        // The fields up to the balloon's info flags, and none of the later ones.
        R.cbSize = NOTIFYICONDATAW_V2_SIZE;
        R.hWnd = reinterpret_cast<HWND>(Data.Wnd);
        R.uID = static_cast<UINT>(Data.ID);
        R.uFlags = Data.Flags;
        R.uCallbackMessage = Data.CallbackMessage;
        R.hIcon = reinterpret_cast<HICON>(Data.Icon);
        CopyText(R.szTip, ARRAYSIZE(R.szTip), Data.Tip);
        CopyText(R.szInfo, ARRAYSIZE(R.szInfo), Data.Info);
        R.uTimeout = Data.Timeout;
        CopyText(R.szInfoTitle, ARRAYSIZE(R.szInfoTitle), Data.InfoTitle);
        R.dwInfoFlags = Data.InfoFlags;
        return Shell_NotifyIconW(static_cast<DWORD>(Message), &R) != FALSE;
    }

    unsigned TaskbarCreatedMessage() const override { return TaskbarCreatedMsg; }

    TPoint CursorPos() const override {
        POINT P{};
        GetCursorPos(&P);
        return TPoint{P.x, P.y};
    }

    TShiftState KeyShiftState() const override {
        TShiftState S = 0;
        if (GetKeyState(VK_SHIFT) < 0)
            S |= ssShift;
        if (GetKeyState(VK_CONTROL) < 0)
            S |= ssCtrl;
        if (GetKeyState(VK_MENU) < 0)
            S |= ssAlt;
        return S;
    }

private:
    static void RegisterClassOnce() {
        static const bool Registered = [] {
            WNDCLASSEXW C{};
            C.cbSize = sizeof(C);
            C.lpfnWndProc = TrayWindowProc;
            C.hInstance = GetModuleHandleW(nullptr);
            C.lpszClassName = TrayWindowClass;
            return RegisterClassExW(&C) != 0;
        }();
        (void)Registered;
    }

    std::map<HWND, TMessageHandler*> Handlers;
};

class TWin32IconImage : public TIconImage {
public:
    explicit TWin32IconImage(HICON AIcon) : FIcon(AIcon) {}
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(FIcon); }

private:
    HICON FIcon; // shared system or resource icon: never destroyed
};

class TWin32Timer : public TTimerDevice {
public:
    ~TWin32Timer() override { Stop(); }

    void Start(unsigned IntervalMs, std::function<void()> Tick) override {
        Stop();
        FTick = std::move(Tick);
        FId = SetTimer(nullptr, 0, IntervalMs, &TWin32Timer::Proc);
        if (FId != 0)
            Timers()[FId] = this;
    }

    void Stop() override {
        if (FId == 0)
            return;
        KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }

private:
    static std::map<UINT_PTR, TWin32Timer*>& Timers() {
        static std::map<UINT_PTR, TWin32Timer*> All;
        return All;
    }
    static void CALLBACK Proc(HWND, UINT, UINT_PTR Id, DWORD) {
        auto It = Timers().find(Id);
        if (It != Timers().end())
            Guarded(0, [&] {
                It->second->FTick();
                return 0;
            });
    }

    UINT_PTR FId = 0;
    std::function<void()> FTick;
};

class TWin32TrayApplication : public TTrayApplication {
public:
    TIcon Icon() const override {
        HICON I = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                                0, 0, LR_DEFAULTSIZE | LR_SHARED));
        if (I == nullptr)
            I = LoadIconW(nullptr, IDI_APPLICATION);
        return TIcon(std::make_shared<TWin32IconImage>(I));
    }

    void BringToFront() override { SetForegroundWindow(Window()); }

    void PopupMenuAt(TPopupMenu& Menu, TPoint At) override {
        TrackMenu(Window(), Menu, POINT{At.X, At.Y});
    }

    std::unique_ptr<TTimerDevice> CreateTimer() override { return std::make_unique<TWin32Timer>(); }

private:
    // Stands for the application's own top-level window: owner of the menus it pops up.
    HWND Window() {
        if (FWindow == nullptr)
            FWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        return FWindow;
    }

    HWND FWindow = nullptr;
};

} // namespace

TTrayServices Win32TrayServices() {
    static TWin32NotifyShell Shell;
    static TWin32TrayApplication App;
    return TTrayServices{Shell, App};
}
