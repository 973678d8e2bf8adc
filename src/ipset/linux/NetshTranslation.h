#pragma once

#include <optional>
#include <string>
#include <vector>

using TArgv = std::vector<std::string>;

// The nmcli runs that carry out one of the five netsh lines an apply builds: the change to the
// named connection, then its re-activation. None when the line has another shape or carries a
// value NetworkManager cannot be given (a mask that is not contiguous).
std::optional<std::vector<TArgv>> TranslateNetshLine(const std::string& Line);

// The prefix length of a dotted-quad mask, or -1 when it is not one.
int MaskPrefixLength(const std::string& Mask);
