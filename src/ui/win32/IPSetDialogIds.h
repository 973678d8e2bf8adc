#pragma once

// Controls of the IP-set editor's template. The buttons Aceptar and Cancelar are IDOK and
// IDCANCEL, so that Enter and Esc reach them.
#define IDD_IPSET 100
#define IDC_IPSET_NAME 101
#define IDC_IPSET_ADDRESS 102
#define IDC_IPSET_MASK 103
#define IDC_IPSET_GATEWAY 104
#define IDC_IPSET_DNS1 105
#define IDC_IPSET_DNS2 106
#define IDC_IPSET_CONNECTION 107
#define IDC_IPSET_DHCP 108
#define IDC_IPSET_HELP 109
#define IDC_IPSET_ADVANCED 110
