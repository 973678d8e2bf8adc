#pragma once

// Registers the main window's class and installs its window as the view of TFrmMain.
void RegisterWin32MainWindow();

// Shows FrmMain's window and runs the program's message loop until that window is closed;
// returns the exit code.
int RunMainWindow();
