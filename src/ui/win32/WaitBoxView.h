#pragma once

// Registers the wait box's window class and installs its window as the view of every new
// wait box. Called once at start-up.
void RegisterWin32WaitBox();
