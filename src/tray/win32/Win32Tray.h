#pragma once

#include "tray/TrayServices.h"

// The Windows shell and application services for tray icons; they live as long as the process.
TTrayServices Win32TrayServices();
