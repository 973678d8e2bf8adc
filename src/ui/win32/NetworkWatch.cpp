#include "ui/win32/NetworkWatch.h"

#include "base/win32/Guarded.h"
#include "base/win32/SystemFolder.h"

#include <windows.h>

#include <atomic>
#include <utility>

namespace {

// The rows the system passes are not read: any notification means "read the adapters again".
using TChangeCallback = void(WINAPI*)(void* Context, void* Row, int NotificationType);
using TNotifyChange = DWORD(WINAPI*)(USHORT Family, TChangeCallback Callback, void* Context,
                                     BOOLEAN InitialNotification, HANDLE* Handle);
using TCancelNotify = DWORD(WINAPI*)(HANDLE Handle);

const wchar_t* const WindowClass = L"QuelvanoNetworkWatch";
const UINT NetworkChangedMessage = WM_APP + 20;
const USHORT IPv4 = 2; // AF_INET

class TWin32NetworkWatch : public TNetworkWatch {
public:
    TWin32NetworkWatch(HMODULE Library, std::function<void()> Changed)
        : FLibrary(Library), FChanged(std::move(Changed)) {}

    ~TWin32NetworkWatch() override {
        // Returns once no callback runs any more; a message already posted dies with the window.
        const auto Cancel = reinterpret_cast<TCancelNotify>(
            reinterpret_cast<void*>(GetProcAddress(FLibrary, "CancelMibChangeNotify2")));
        for (HANDLE H : {FInterfaces, FAddresses})
            if (H != nullptr && Cancel != nullptr)
                Cancel(H);
        if (FWindow != nullptr)
            DestroyWindow(FWindow);
        FreeLibrary(FLibrary);
    }

    bool Start() {
        RegisterClassOnce();
        FWindow = CreateWindowExW(0, WindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), this);
        return FWindow != nullptr && Subscribe("NotifyIpInterfaceChange", FInterfaces) &&
               Subscribe("NotifyUnicastIpAddressChange", FAddresses) &&
               GetProcAddress(FLibrary, "CancelMibChangeNotify2") != nullptr;
    }

private:
    bool Subscribe(const char* Name, HANDLE& Handle) {
        const auto Notify = reinterpret_cast<TNotifyChange>(
            reinterpret_cast<void*>(GetProcAddress(FLibrary, Name)));
        return Notify != nullptr && Notify(IPv4, &Notified, this, FALSE, &Handle) == NO_ERROR;
    }

    // On a thread of the system's: one message waits in the queue at most, however many come.
    static void WINAPI Notified(void* Context, void*, int) {
        auto* Self = static_cast<TWin32NetworkWatch*>(Context);
        if (!Self->FPosted.exchange(true))
            PostMessageW(Self->FWindow, NetworkChangedMessage, 0, 0);
    }

    static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
        if (Msg == WM_NCCREATE)
            SetWindowLongPtrW(Wnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams));
        auto* Self = reinterpret_cast<TWin32NetworkWatch*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
        if (Msg != NetworkChangedMessage || Self == nullptr)
            return DefWindowProcW(Wnd, Msg, WParam, LParam);
        Self->FPosted = false;
        return Guarded(LRESULT(0), [&] {
            Self->FChanged();
            return LRESULT(0);
        });
    }

    static void RegisterClassOnce() {
        WNDCLASSEXW Class{};
        Class.cbSize = sizeof Class;
        Class.lpfnWndProc = WindowProc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = WindowClass;
        RegisterClassExW(&Class); // fails harmlessly when it is registered already
    }

    HMODULE FLibrary;
    std::function<void()> FChanged;
    HWND FWindow = nullptr;
    HANDLE FInterfaces = nullptr;
    HANDLE FAddresses = nullptr;
    std::atomic<bool> FPosted{false};
};

} // namespace

std::unique_ptr<TNetworkWatch> StartWin32NetworkWatch(std::function<void()> Changed) {
    const HMODULE Library = LoadSystemLibrary(L"iphlpapi.dll");
    if (Library == nullptr)
        return nullptr;
    auto Watch = std::make_unique<TWin32NetworkWatch>(Library, std::move(Changed));
    if (!Watch->Start())
        return nullptr;
    return Watch;
}
