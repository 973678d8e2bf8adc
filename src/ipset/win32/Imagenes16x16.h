#pragma once

#include "ipset/TreeView.h"

#include <windows.h>

#include <commctrl.h>

// Builds ilImagenes16x16: 16-pixel pictures at every index up to 29; those the trees use are
// drawn here, the others are left blank. The caller frees it with ImageList_Destroy.
HIMAGELIST CreateImagenes16x16();
