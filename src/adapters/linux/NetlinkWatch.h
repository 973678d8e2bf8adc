#pragma once

// A socket of the kernel's routing messages that receives one whenever a link or an IPv4
// address appears, goes or changes, in the network namespace of the program.
class TNetlinkWatch {
public:
    // Raises when the kernel refuses the socket.
    TNetlinkWatch();
    ~TNetlinkWatch();
    TNetlinkWatch(const TNetlinkWatch&) = delete;
    TNetlinkWatch& operator=(const TNetlinkWatch&) = delete;

    // Readable when messages wait.
    int Fd() const { return FFd; }
    // Reads every message that waits, without blocking; true when there was any.
    bool Drain();

private:
    int FFd;
};
