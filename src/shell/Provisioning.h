#pragma once

#include <string>

// Writes Bytes to FileName when no file of that name exists; a file that exists, whatever it
// holds, is left alone. The bytes reach the disk under a temporary name first and are then moved
// into place (see WriteFileDurably), so neither an interrupted write nor a power cut leaves a
// damaged database behind. Raises "Cannot create file "%s". %s" with the system's reason, also
// when a folder holds the name. Returns true when it wrote the file.
bool ProvisionFile(const std::string& FileName, const std::string& Bytes);
