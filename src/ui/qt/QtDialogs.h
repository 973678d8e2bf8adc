#pragma once

// Installs Qt's message box as the application's (and so as its general error display), the wait
// box's window and the windows of the program's dialogs as the views of their forms. Called once
// at start-up, after the QApplication is made.
void RegisterQtDialogs();
