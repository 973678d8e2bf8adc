#pragma once

#include "tray/Menus.h"

#include <windows.h>

// Shows Menu as a standard pop-up menu at the screen point At, owned by Owner, and runs the
// chosen item's click before returning. Separators, submenus, disabled items, the bold default
// item, the shortcut text beside a caption and the items' pictures are drawn by the system.
void TrackMenu(HWND Owner, TPopupMenu& Menu, POINT At);
