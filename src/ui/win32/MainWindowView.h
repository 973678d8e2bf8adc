#pragma once

// Registers the main window's class and installs its window as the view of TFrmMain.
void RegisterWin32MainWindow();

// Shows FrmMain's window, lets it paint, then finishes what waited for the first paint; an error
// there goes on to the caller, as any error of the start does.
void ShowMainWindow();

// Runs the program's message loop until FrmMain's window is closed; returns the exit code.
int RunMainWindow();
