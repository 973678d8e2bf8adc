#pragma once

#include "base/TComponent.h"

#include <functional>
#include <string>

// The application object: owner of the program's single instances, holder of its title and the
// door to the platform's message loop. Front ends install the hooks; tests install fakes.
class TApplication : public TComponent {
public:
    TApplication() = default;

    std::string Title;
    std::string HelpFile;

    // Handles the window messages that are waiting, then returns.
    std::function<void()> OnProcessMessages;

    // Shows a message with the application title as caption and one OK button, and waits.
    std::function<void(const std::string&)> OnShowMessage;

    void ProcessMessages() {
        if (OnProcessMessages)
            OnProcessMessages();
    }

    void ShowMessage(const std::string& Text) {
        if (OnShowMessage)
            OnShowMessage(Text);
    }
};

// The one application object of the process, created on first use.
TApplication& Application();
