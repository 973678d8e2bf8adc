#pragma once

#include <string>

// Whether a client holds Name on the system bus ($DBUS_SYSTEM_BUS_ADDRESS when set). No bus, or
// one that does not answer within a second, counts as no owner. Starts no process.
bool SystemBusNameHasOwner(const std::string& Name);
