#pragma once

#include "ipset/InForce.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Where the verification of an apply reads the adapters back, and how it lets time pass.
class TLiveAdapters {
public:
    virtual ~TLiveAdapters() = default;
    // Reads the adapters again.
    virtual void Refresh() = 0;
    // The adapter of the connection as last read, or nullptr when none is present. It stays
    // valid until the next read.
    virtual const TgtNetworkAdapter* AdapterOf(const std::string& Connection) = 0;
    // Milliseconds from a fixed moment.
    virtual std::uint64_t NowMs() = 0;
    // Lets Ms milliseconds pass while the program's windows go on answering.
    virtual void Pause(unsigned Ms) = 0;
};

// The system's adapters, found for a connection as discovery finds them.
std::unique_ptr<TLiveAdapters> CreateLiveAdapters();

// Whether the set is in force on its adapter as last read.
bool IsInForce(TLiveAdapters& Live, const TIPSetValues& Set);

// The IPv6 addresses set by hand on the connection's adapter now, read afresh: what an apply to
// automatic IPv6 deletes. None when the adapter is not present; an enumeration error goes on.
std::vector<std::string> StaticIPv6AddressesNow(TLiveAdapters& Live, const std::string& Connection);

// How long an apply waits for its set to show on the adapter, and how often it looks.
constexpr unsigned VerifyLimitMs = 10000;
constexpr unsigned VerifyIntervalMs = 250;

// Reads the adapter until the set is in force or VerifyLimitMs pass. A DHCP set must show DHCP
// at the first read; then it is waited for until it holds a lease.
TInForceCheck VerifyApplied(const TIPSetValues& Set, TLiveAdapters& Live);

// What the user is told at the end: the success report when the set is in force (a warning when
// a DHCP lease is still missing), otherwise the failed steps' lines (Failures) followed by what
// the adapter shows otherwise, cut at a line end to the balloon's 255 characters.
TApplyReport BuildVerifiedReport(const TIPSetValues& Set, const std::string& Failures,
                                 const TInForceCheck& Check);
