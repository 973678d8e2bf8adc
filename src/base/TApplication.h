#pragma once

#include "base/TComponent.h"

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <typeindex>
#include <typeinfo>

// Buttons and icons of a message box, and the answers it gives; the values are the system's.
namespace MsgBox {
constexpr unsigned OK = 0x0;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconError = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconExclamation = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned DefButton2 = 0x100;
constexpr int IdOK = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
} // namespace MsgBox

// The application object: owner of the program's single instances, holder of its title and the
// door to the platform's message loop. Front ends install the hooks; tests install fakes.
//
// The program's entry function makes it before anything else and frees it on the way out, so its
// single instances go, last made first, while everything with static storage duration (table
// definitions, tray services, the IP Helper binding) is still alive.
class TApplication : public TComponent {
public:
    // Becomes the current application (Application()) until it is freed. A test may make one of
    // its own over the program's; they must be freed in the reverse order of their making.
    TApplication();
    ~TApplication() override;

    std::string Title;
    std::string HelpFile;

    // The full path of the running executable, as the system knows it.
    std::string ExeName() const;

    // Handles the window messages that are waiting, then returns.
    std::function<void()> OnProcessMessages;

    // Shows a message with the application title as caption and one OK button, and waits.
    std::function<void(const std::string&)> OnShowMessage;

    // Shows a modal message box owned by the active window and returns the button pressed.
    std::function<int(const std::string& Text, const std::string& Caption, unsigned Flags)>
        OnMessageBox;

    void ProcessMessages() {
        if (OnProcessMessages)
            OnProcessMessages();
    }

    void ShowMessage(const std::string& Text) {
        const TModalScope Modal(*this);
        if (OnShowMessage)
            OnShowMessage(Text);
    }

    // IdCancel when no front end is installed, so nothing is ever confirmed by default.
    int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);

    // Counts a modal window (a dialog, a message box) for its lifetime.
    class TModalScope {
    public:
        explicit TModalScope(TApplication& App) : FApp(App) { ++FApp.FModalLevel; }
        ~TModalScope() { --FApp.FModalLevel; }
        TModalScope(const TModalScope&) = delete;
        TModalScope& operator=(const TModalScope&) = delete;

    private:
        TApplication& FApp;
    };
    // Above 0 while a modal window is shown.
    int ModalLevel() const { return FModalLevel; }

    // The one general error display: the message with a period added when its last character
    // sorts after ".", captioned with the title, with an OK button and the error icon.
    void ShowException(const std::exception& E);

    // The one T that this object owns, made on first use. Freeing it early is allowed: the next
    // call makes a new one.
    template <class T> T* SingleInstance() {
        TComponent*& Slot = FSingleInstances[std::type_index(typeid(T))];
        if (Slot == nullptr)
            Slot = new T(this);
        return static_cast<T*>(Slot);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TApplication* FPrevious;
    int FModalLevel = 0;
    std::map<std::type_index, TComponent*> FSingleInstances;
};

// Runs an event handler the way every entry from the platform into the program does: an
// exception goes to the general error display and the program goes on.
void RunHandler(const std::function<void()>& Handler);

// The current application object. Asking when there is none is a fault of the program and
// raises std::logic_error.
TApplication& Application();
