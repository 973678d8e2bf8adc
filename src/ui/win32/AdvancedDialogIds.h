#pragma once

// Controls of the "Opciones avanzadas" template. Each list has its boxes, Agregar, the list and
// the buttons acting on the chosen entry, numbered in that order from its base.
#define IDD_ADVANCED 500
#define IDC_ADV_ADDRESSES 510
#define IDC_ADV_GATEWAYS 520
#define IDC_ADV_DNS 530
#define IDC_ADV_IPV6_ADDRESSES 540
#define IDC_ADV_IPV6_DNS 550
// Offsets from a list's base.
#define ADV_VALUE 0
#define ADV_SECOND 1
#define ADV_AGREGAR 2
#define ADV_LIST 3
#define ADV_MODIFICAR 4
#define ADV_QUITAR 5
#define ADV_SUBIR 6
#define ADV_BAJAR 7
#define IDC_ADV_KEEP 560
#define IDC_ADV_AUTOMATIC 561
#define IDC_ADV_STATIC 562
#define IDC_ADV_IPV6_GATEWAY 563
