#pragma once

#include "tray/Menus.h"

#include <QPoint>

// Shows Menu as it stands at the screen point and returns when it closes; the chosen item's
// command then runs, its errors going to the general error display.
void PopupMenu(TPopupMenu& Menu, QPoint At);
