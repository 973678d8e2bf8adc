#pragma once

#include <string>

// Writes the resource of this type and name in the program's own module to FileName, when nothing
// of that name exists yet (see ProvisionFile). Raises "Resource %s not found" when the module
// holds no such resource, and the provisioning error when the file can't be written.
bool SaveResourceToFile(const std::string& ResType, const std::string& ResName,
                        const std::string& FileName);
