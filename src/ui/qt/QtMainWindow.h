#pragma once

// Makes the Qt window the view of the main form. Called once at start-up, after the QApplication
// is made.
void RegisterQtMainWindow();

// Shows the main window and runs the program's events until it closes; the exit code.
int RunMainWindow();
