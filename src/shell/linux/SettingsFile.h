#pragma once

#include <string>
#include <utility>
#include <vector>

// The file that holds one key's values: a line "name=value" per value, where a backslash, a line
// break, a carriage return and "=" are written as "\\", "\n", "\r" and "\=".
using TSettingsValues = std::vector<std::pair<std::string, std::string>>;

TSettingsValues ParseSettingsFile(const std::string& Text);
std::string FormatSettingsFile(const TSettingsValues& Values);
