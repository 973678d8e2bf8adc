#pragma once

#include "tray/TrayServices.h"

#include <QIcon>

// The notification area through QSystemTrayIcon: balloons through showMessage, the mouse turned
// into the shell's notifications, the tray icon's menu popped up at the cursor. Made after the
// QApplication; lives until the program ends.
TTrayServices QtTrayServices();

// A picture of the program as the tray icon shows it.
TIcon MakeTrayIcon(const QIcon& Picture);
