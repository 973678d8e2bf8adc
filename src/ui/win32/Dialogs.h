#pragma once

// Installs the windows of the program's dialogs as the views of their forms, and the system's
// message box as the application's. Called once at start-up.
void RegisterWin32Dialogs();
