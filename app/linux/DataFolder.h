#pragma once

#include <string>

// The user's folder for Quelvano's data: $XDG_DATA_HOME/quelvano, by default
// ~/.local/share/quelvano.
std::string DataFolder();

// Creates the folder and its missing parents; false with errno set when one cannot be made.
bool MakeFolder(const std::string& Path);

// Makes the data folder, points DataPath at it and writes the database file from the template
// the program carries when it is missing. Raises when the folder or the file cannot be made.
void ProvisionDataFolder();
