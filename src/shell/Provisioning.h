#pragma once

#include <string>

// Writes Bytes to FileName when no file of that name exists; a file that exists, whatever it
// holds, is left alone. The bytes go to a temporary file in the same folder first and are renamed
// into place, so an interrupted write never leaves a damaged database behind. Raises
// "Cannot create file "%s". %s" with the reason; the temporary file is removed then. Returns true
// when it wrote the file.
bool ProvisionFile(const std::string& FileName, const std::string& Bytes);
