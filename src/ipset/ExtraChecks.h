#pragma once

#include "data/IPSetExtras.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

using TIPv6Bytes = std::array<std::uint8_t, 16>;

// The address a strict IPv6 text names: eight groups of one to four hex digits, or fewer with one
// "::"; no zone ("%eth0"), no dotted IPv4 tail, no blanks. None for anything else.
std::optional<TIPv6Bytes> ParseIPv6(const std::string& Text);

// The one text of an address every reader agrees on: lower case, leading zeros dropped, the
// longest run of two or more zero groups as "::" (the first such run on a tie).
std::string CanonicalIPv6(const TIPv6Bytes& Address);

// A strict IPv6 text of an address a host may be given or sent to: not unspecified, loopback,
// multicast or IPv4-mapped.
bool IsIPv6HostAddress(const std::string& Text);

// Four decimal groups of at most 255 without leading zeros, read the same by every program.
bool IsPlainDottedQuad(const std::string& Text);

// A dotted mask whose ones come first (netsh and NetworkManager take only those), not 0.0.0.0.
bool IsContiguousMask(const std::string& Mask);

// The checks of one entry of a set's extras, as the editor adds it and as files and the console
// give it: empty when it may be stored, else the message to show.
std::string CheckExtraAddress(const TExtraAddress& Entry);
std::string CheckExtraGateway(const TExtraGateway& Entry);
std::string CheckExtraDns(const std::string& Dns);
std::string CheckIPv6Address(const TIPv6Address& Entry);
std::string CheckIPv6Gateway(const std::string& Gateway); // empty: no gateway
std::string CheckIPv6Dns(const std::string& Dns);

// The first failed check of all the extras, in the editor's order; empty when every entry passes.
std::string CheckExtras(const TIPSetExtras& Extras);
