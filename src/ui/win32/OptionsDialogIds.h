#pragma once

// Controls of the options dialog's template; Aceptar and Cancelar are IDOK and IDCANCEL.
#define IDD_OPTIONS 200
#define IDC_OPTIONS_CURRENT_USER 201
#define IDC_OPTIONS_ALL_USERS 202
#define IDC_OPTIONS_RUN 203
#define IDC_OPTIONS_MINIMIZED 204
#define IDC_OPTIONS_HELP 205
