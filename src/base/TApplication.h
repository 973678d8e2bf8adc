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

    void ProcessMessages() {
        if (OnProcessMessages)
            OnProcessMessages();
    }
};

// The one application object of the process, created on first use.
TApplication& Application();
