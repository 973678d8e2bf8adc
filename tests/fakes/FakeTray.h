#pragma once

#include "tray/ExtCtrlsX.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A desktop for tray icons in tests: records every shell call with a copy of the record, and lets
// a test send window messages, move the cursor, hold keys and fire the animation timer.
//
//     FakeTray Fake;
//     TTrayIcon Tray(nullptr, Fake.Services());
class FakeTray : public TNotifyShell, public TTrayApplication {
public:
    struct Call {
        TNotifyMessage Message;
        TNotifyIconData Data;
    };

    class Image : public TIconImage {
    public:
        explicit Image(std::uintptr_t AHandle) : FHandle(AHandle) {}
        std::uintptr_t Handle() const override { return FHandle; }

    private:
        std::uintptr_t FHandle;
    };

    // An icon whose handle is the given number.
    static TIcon MakeIcon(std::uintptr_t Handle) { return TIcon(std::make_shared<Image>(Handle)); }

    TTrayServices Services() { return TTrayServices{*this, *this}; }

    // What the next shell calls answer, by message.
    bool AddSucceeds = true;
    bool ModifySucceeds = true;
    bool DeleteSucceeds = true;

    std::vector<Call> Calls;
    // Shell calls, application services and timer switches in the order they happened:
    // "add", "modify", "delete", "front", "popup", "timer on 1000", "timer off".
    std::vector<std::string> Log;

    std::uintptr_t WindowHandle = 0x1234;
    bool WindowAlive = false;
    unsigned TaskbarCreated = 0xC0F3;
    TPoint Cursor{10, 20};
    TShiftState Keys = 0;
    TIcon AppIcon = MakeIcon(0xA99);
    TPopupMenu* PoppedUp = nullptr;
    TPoint PoppedAt;

    int Count(TNotifyMessage Message) const {
        int N = 0;
        for (const Call& C : Calls)
            N += C.Message == Message ? 1 : 0;
        return N;
    }
    const Call& Last() const { return Calls.back(); }

    std::intptr_t Send(unsigned Msg, std::uintptr_t WParam = 0, std::intptr_t LParam = 0) {
        return Handler(Msg, WParam, LParam);
    }
    // A mouse or balloon notification of the icon.
    std::intptr_t Notify(unsigned Notification) {
        return Send(TrayMessages::Callback, 0, static_cast<std::intptr_t>(Notification));
    }

    bool TimerRunning() const { return Ticker != nullptr; }
    void FireTimer() { Ticker(); }

    std::uintptr_t CreateHiddenWindow(TMessageHandler AHandler) override {
        Handler = std::move(AHandler);
        WindowAlive = true;
        return WindowHandle;
    }
    void DestroyHiddenWindow(std::uintptr_t) override { WindowAlive = false; }

    bool NotifyIcon(TNotifyMessage Message, const TNotifyIconData& Data) override {
        static const char* const Names[] = {"add", "modify", "delete"};
        Calls.push_back({Message, Data});
        Log.push_back(Names[Message]);
        return Message == nimAdd      ? AddSucceeds
               : Message == nimModify ? ModifySucceeds
                                      : DeleteSucceeds;
    }
    unsigned TaskbarCreatedMessage() const override { return TaskbarCreated; }
    TPoint CursorPos() const override { return Cursor; }
    TShiftState KeyShiftState() const override { return Keys; }

    TIcon Icon() const override { return AppIcon; }
    void BringToFront() override { Log.push_back("front"); }
    void PopupMenuAt(TPopupMenu& Menu, TPoint At) override {
        Log.push_back("popup");
        PoppedUp = &Menu;
        PoppedAt = At;
    }
    std::unique_ptr<TTimerDevice> CreateTimer() override { return std::make_unique<Timer>(*this); }

private:
    class Timer : public TTimerDevice {
    public:
        explicit Timer(FakeTray& AOwner) : Owner(AOwner) {}
        void Start(unsigned IntervalMs, std::function<void()> Tick) override {
            Owner.Ticker = std::move(Tick);
            Owner.Log.push_back("timer on " + std::to_string(IntervalMs));
        }
        void Stop() override {
            Owner.Ticker = nullptr;
            Owner.Log.push_back("timer off");
        }

    private:
        FakeTray& Owner;
    };

    TMessageHandler Handler;
    std::function<void()> Ticker;
};
