#include "adapters/linux/NetlinkWatch.h"

#include "base/Exception.h"
#include "base/SysError.h"

#include <cerrno>
#include <string>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

TNetlinkWatch::TNetlinkWatch()
    : FFd(socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE)) {
    sockaddr_nl Address{};
    Address.nl_family = AF_NETLINK;
    Address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR;
    if (FFd < 0 || bind(FFd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0) {
        const std::string Message = SysErrorMessage(LastOSError());
        if (FFd >= 0)
            close(FFd);
        throw Exception(Message);
    }
}

TNetlinkWatch::~TNetlinkWatch() {
    close(FFd);
}

// The messages themselves are not read: any of them means "read the adapters again". A queue
// that overflowed (ENOBUFS) lost some, which is a change all the same.
bool TNetlinkWatch::Drain() {
    bool Any = false;
    char Buffer[8192];
    for (;;) {
        const ssize_t Read = recv(FFd, Buffer, sizeof Buffer, 0);
        if (Read > 0 || (Read < 0 && errno == ENOBUFS))
            Any = true;
        else if (Read < 0 && errno == EINTR)
            continue;
        else
            return Any;
    }
}
