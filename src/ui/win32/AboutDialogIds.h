#pragma once

// Controls of the about box's template; Aceptar is IDOK.
#define IDD_ABOUT 300
#define IDC_ABOUT_NAME 301
#define IDC_ABOUT_LINK 302
#define IDB_BANNER 310
