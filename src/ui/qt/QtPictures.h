#pragma once

#include <QIcon>

// A picture of the main window's 16-pixel image list (TreeView.h names the ones in use); an empty
// icon for any other index, which then draws nothing.
QIcon Picture16(int Index);

// One of the program's own pictures, drawn from resources/icons at build time: "quelvano" (the
// program's icon) or a toolbar picture such as "activar".
QIcon ProgramIcon(const char* Name);
