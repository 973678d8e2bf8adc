#pragma once

#include "ui/NetworkFollower.h"

// IP Helper's notifications of interfaces and IPv4 addresses, handed to the user-interface
// thread as a private message of a window of its own; null when the system has none of them.
// Made on that thread.
std::unique_ptr<TNetworkWatch> StartWin32NetworkWatch(std::function<void()> Changed);
