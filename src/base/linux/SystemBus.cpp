#include "base/linux/SystemBus.h"

#include <systemd/sd-bus.h>

#include <cstdint>

namespace {

// A refresh waits for the answer; a bus that takes longer than this is as good as none.
constexpr std::uint64_t AnswerTimeoutUs = 1000000;

} // namespace

bool SystemBusNameHasOwner(const std::string& Name) {
    sd_bus* Bus = nullptr;
    if (sd_bus_open_system(&Bus) < 0)
        return false;
    sd_bus_set_method_call_timeout(Bus, AnswerTimeoutUs);
    sd_bus_message* Reply = nullptr;
    int Owned = 0;
    const bool Answered = sd_bus_call_method(Bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                             "org.freedesktop.DBus", "NameHasOwner", nullptr,
                                             &Reply, "s", Name.c_str()) >= 0 &&
                          sd_bus_message_read(Reply, "b", &Owned) >= 0;
    sd_bus_message_unref(Reply);
    sd_bus_flush_close_unref(Bus);
    return Answered && Owned != 0;
}
