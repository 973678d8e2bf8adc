#pragma once

#include <string>
#include <vector>

// Every text a wizard page shows, each the whole text of one label, and what Tab walks through
// while the page shows, from its first stop on; both front ends follow the Windows templates.
struct TWizardPageTexts {
    std::vector<std::string> Texts;
    std::vector<std::string> Tabs;
};

inline const TWizardPageTexts WizardPages[] = {
    {{"Bienvenido al Asistente de Configuracion de IP",
      "Este Wizard lo guiara en el proceso de creacion de una configuracion de IP.",
      "Para continuar presione el boton \"Siguiente\", si desea cancelar el wizard presione el "
      "boton \"Cancelar\""},
     {"Ay&uda", "&Siguiente", "&Cancelar"}},
    {{"Adaptador de Red",
      "Seleccione el adaptador de Red al cual la configuracion IP sera aplicado.",
      "Adaptador de Red :",
      "Usted puede tener mas de una misma configuracion IP, para distintos adaptadores de Red."},
     {"Adaptador de Red :", "Ay&uda", "&Atras", "&Siguiente", "&Cancelar"}},
    {{"Configuracion IP - Tipo de asignacion de IP", "Puede seleccionar de dos tipos:",
      "La primera DHCP, es un servicio que permite la configuracion automatica de la direccion "
      "IP, mascara de red, gateway, etc. mediante un servidor DHCP.\r\nLa segunda es una "
      "configuracion estatica, es decir ingresar los valores de direccion IP, mascara de red, "
      "etc. manualmente.",
      "Dirección IP :", "Máscara de subred :"},
     {"Configuración estatica", "Dirección IP :", "Máscara de subred :", "Ay&uda", "&Atras",
      "&Siguiente", "&Cancelar"}},
    {{"Configuracion IP - Gateway",
      "La puerta de acceso predeterminado, es aquella pasarela por donde se saldra generalmente "
      "a la Internet.",
      "Puerta de enlace predeterminado :"},
     {"Puerta de enlace predeterminado :", "Ay&uda", "&Atras", "&Siguiente", "&Cancelar"}},
    {{"Configuracion IP - Servidores DNS",
      "Los servidores de DNS permiten resolver nombres de dominio en direcciones IP. Por "
      "ejemplo, cuando usted abre la pagina es.wikipedia.org en su navegador, los servicios de "
      "DNS le entregan la direccion IP real del servidor que la publica.",
      "DNS preferido :", "DNS alternativo :"},
     {"DNS preferido :", "DNS alternativo :", "Ay&uda", "&Atras", "&Siguiente", "&Cancelar"}},
    {{"Finalizar Configuracion IP",
      "Para guardar la configuracion IP haga click en el boton \"Finalizar\", si desea "
      "descartar la configuracion ingresada haga click en el boton \"Cancelar\".",
      "Nombre de la configuracion IP :", "Resumen :"},
     {"Nombre de la configuracion IP :", "Resumen :", "Ay&uda", "&Atras", "&Finalizar",
      "&Cancelar"}},
};
