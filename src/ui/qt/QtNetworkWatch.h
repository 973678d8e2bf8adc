#pragma once

#include "ui/NetworkFollower.h"

// The kernel's link and IPv4 address messages, read on the user-interface thread as the event
// loop finds them waiting; null when the kernel gives no such socket.
std::unique_ptr<TNetworkWatch> StartQtNetworkWatch(std::function<void()> Changed);
