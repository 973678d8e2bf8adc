#pragma once

// The configuration wizard's templates: the outer dialog with the button row, and its six pages.
// "&Cancelar" is IDCANCEL, so that Esc asks the same question.
#define IDD_WIZARD 400
#define IDD_WIZARD_DEFAULT 401
#define IDD_WIZARD_ADAPTADOR 402
#define IDD_WIZARD_IPSUBMASK 403
#define IDD_WIZARD_GATEWAY 404
#define IDD_WIZARD_DNS 405
#define IDD_WIZARD_FINALIZAR 406

#define IDB_WIZARD_SIDE 410
#define IDB_WIZARD_HEAD 411

#define IDC_WIZARD_AYUDA 420
#define IDC_WIZARD_ATRAS 421
#define IDC_WIZARD_SIGUIENTE 422

// On every page: its title, and on pages 1 to 4 the white heading band and its picture.
#define IDC_WIZARD_TITLE 430
#define IDC_WIZARD_BAND 431
#define IDC_WIZARD_PICTURE 432

#define IDC_WIZARD_CONNECTION 440
#define IDC_WIZARD_NODHCP 441
#define IDC_WIZARD_SIDHCP 442
#define IDC_WIZARD_ADDRESS 443
#define IDC_WIZARD_MASK 444
#define IDC_WIZARD_GATEWAY 445
#define IDC_WIZARD_DNS1 446
#define IDC_WIZARD_DNS2 447
#define IDC_WIZARD_NAME 448
#define IDC_WIZARD_SUMMARY 449
