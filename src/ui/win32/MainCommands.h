// Command numbers of the main window: its menu bar, shortcuts and toolbar send them, and the
// resource script names them too, so this header holds nothing but macros.
#pragma once

#define IDR_MAINMENU 100
#define IDR_SHORTCUTS 101

#define CM_WIZARD 1001
#define CM_REFRESH 1002
#define CM_EXIT 1003
#define CM_ACTIVATE 1004
#define CM_ADD 1005
#define CM_EDIT 1006
#define CM_DELETE 1007
#define CM_OPTIONS 1008
#define CM_HELP 1009
#define CM_ABOUT 1010
#define CM_UNDO 1011

// The toolbar's pictures, in the order of its buttons.
#define IDI_TB_ACTIVATE 201
#define IDI_TB_ADD 202
#define IDI_TB_EDIT 203
#define IDI_TB_DELETE 204
#define IDI_TB_REFRESH 205
#define IDI_TB_WIZARD 206
#define IDI_TB_OPTIONS 207
#define IDI_TB_HELP 208
#define IDI_TB_ABOUT 209
