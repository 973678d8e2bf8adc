#pragma once

#include "ipset/IPSetCommands.h"

#include <string>
#include <vector>

// The netsh lines of a set's extras, run after the set's own: the IPv4 extras of a static set,
// and the IPv6 part of any set. AdapterIPv6 holds the static IPv6 addresses the adapter has now,
// which "automatic" deletes; texts that are not IPv6 addresses are left out.
std::vector<std::string> ExtraLines(const TIPSetValues& Values,
                                    const std::vector<std::string>& AdapterIPv6);

// The extras the lines from From on seem to carry, and the addresses they delete; false when a
// line has none of their shapes. Whether they really are the lines of those extras is told by
// building the lines again.
bool GuessExtras(const std::vector<std::string>& Lines, std::size_t From, TIPSetExtras& Extras,
                 std::vector<std::string>& AdapterIPv6);

// True when every extra the set applies passes its check, and its IPv6 texts are canonical, so
// that no value can leave its place on the line.
bool AreSafeExtras(const TIPSetValues& Values);

// True for a line of the extras: they are followed by no pause, the verification waits instead.
bool IsExtraLine(const std::string& CommandLine);

// The success balloon's line of each extra value the set applies, in the order of the lines.
std::vector<std::string> ExtraBalloonLines(const TIPSetValues& Values);
