#include "cli/CtlFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Words Static = {"--ip",      "192.0.2.10", "--mask",     "255.255.255.0", "--gateway",
                      "192.0.2.1", "--dns1",     "192.0.2.53", "--dns2",        "198.51.100.53"};

Words Add(const std::string& Name, const std::string& Connection, Words Rest) {
    Words W = {"add", "--name", Name, "--connection", Connection};
    W.insert(W.end(), Rest.begin(), Rest.end());
    return W;
}

Words With(Words W, std::size_t At, const std::string& Value) {
    W[At] = Value;
    return W;
}

const std::string Steps =
    "Paso 1 de 3: netsh interface ip set address \"LAN 1\"  static 192.0.2.10 "
    "255.255.255.0 192.0.2.1 1 -> correcto\n"
    "Paso 2 de 3: netsh interface ip set dns \"LAN 1\"  static 192.0.2.53 "
    "primary -> netsh termino con el codigo 5\n"
    "Paso 3 de 3: netsh interface ip add dns \"LAN 1\" 198.51.100.53 2 -> "
    "correcto\n";

// One session, command after command on the same store, as a script would run them.
TEST_F(Ctl, Session_EachCommandLineGivesItsOutputAndExitCode) {
    const std::string Q = "quelvanoctl: ";
    const struct {
        Words Args;
        std::vector<int> Runner;
        int Code;
        std::string Out;
        std::string Err;
    } Cases[] = {
        {{"list"}, {}, 0, "ID  Nombre  Conexion  Configuracion\n", ""},
        {{"connections"}, {}, 0, "ID  Nombre\n1   LAN 1\n2   Wi-Fi\n", ""},
        // The editor's checks in its order, each naming the option to correct; nothing written.
        {Add("ab", "LAN 1", Static),
         {},
         2,
         "",
         Q + "El nombre de configuracion de IP no es valida. (--name)\n"},
        {Add("Oficina", "LAN 1", With(Static, 1, "0.0.0.0")),
         {},
         2,
         "",
         Q + "La direccion IP no es valida. (--ip)\n"},
        {Add("Oficina", "LAN 1", With(Static, 3, "255.255.255")),
         {},
         2,
         "",
         Q + "La mascara de red no es valida. (--mask)\n"},
        {Add("Oficina", "LAN 1", With(Static, 5, "192.0.2.01")),
         {},
         2,
         "",
         Q + "La direccion del gateway no es valida. (--gateway)\n"},
        {Add("Oficina", "LAN 1", With(Static, 7, " 192.0.2.53")),
         {},
         2,
         "",
         Q + "Servidor DNS preferido no es valida. (--dns1)\n"},
        {Add("Oficina", "LAN 1",
             {"--ip", "192.0.2.10", "--mask", "255.255.255.0", "--gateway", "192.0.2.1", "--dns1",
              "192.0.2.53"}),
         {},
         2,
         "",
         Q + "Servidor DNS alternativo no es valida. (--dns2)\n"},
        {Add("Oficina", "", Static),
         {},
         2,
         "",
         Q + "Seleccione un adaptador de red. (--connection)\n"},
        {Add("Oficina", "Cable", Static),
         {},
         2,
         "",
         Q + "No hay ninguna conexion \"Cable\"; \"quelvanoctl connections\" las muestra.\n"},
        {Add("Oficina", "LAN 1", {"--dhcp", "--ip", "1.2.3.4"}),
         {},
         2,
         "",
         Q + "Una configuracion DHCP no lleva direcciones (--ip).\n"},
        {Add("Hotel\nX", "LAN 1", {"--dhcp"}),
         {},
         2,
         "",
         Q + "El nombre no puede contener caracteres de control. (--name)\n"},
        // The store's own rule: a name longer than its column.
        {Add(std::string(51, 'N'), "LAN 1", {"--dhcp"}),
         {},
         2,
         "",
         Q + "El campo IPSet_Name admite como maximo 50 caracteres.\n"},
        {{"list"}, {}, 0, "ID  Nombre  Conexion  Configuracion\n", ""},
        // Trimmed and upper-cased as the editor keeps a name; a connection in any letter case.
        {Add(" Oficina ", "lan 1", Static), {}, 0, "Configuracion IP agregada con el ID 1.\n", ""},
        {Add("Casa", "Wi-Fi", {"--dhcp"}), {}, 0, "Configuracion IP agregada con el ID 2.\n", ""},
        {Add("casa", "Wi-Fi", {"--dhcp"}), {}, 0, "Configuracion IP agregada con el ID 3.\n", ""},
        {{"show", "Casa"},
         {},
         2,
         "",
         Q + "\"Casa\" nombra varias configuraciones IP (ID 2, 3); indique el ID.\n"},
        {{"delete", "3"}, {}, 0, "Configuracion IP 3 borrada.\n", ""},
        {{"list"},
         {},
         0,
         "ID  Nombre   Conexion  Configuracion\n"
         "1   OFICINA  LAN 1     192.0.2.10/255.255.255.0\n"
         "2   CASA     Wi-Fi     DHCP\n",
         ""},
        {{"show", "casa"},
         {},
         0,
         "ID: 2\nNombre: CASA\nConexion: Wi-Fi\nDHCP: Si\nIP: 0.0.0.0\nMascara de subred: "
         "0.0.0.0\nGateway: 0.0.0.0\nDNS preferido: 0.0.0.0\nDNS alternativo: 0.0.0.0\n",
         ""},
        {{"show", "2", "--json"},
         {},
         0,
         "{\n  \"id\": 2,\n  \"name\": \"CASA\",\n  \"connection\": \"Wi-Fi\",\n  \"dhcp\": true,\n"
         "  \"ipAddress\": \"0.0.0.0\",\n  \"subnetMask\": \"0.0.0.0\",\n  \"gateway\": "
         "\"0.0.0.0\",\n  \"dns1\": \"0.0.0.0\",\n  \"dns2\": \"0.0.0.0\"\n}\n",
         ""},
        {{"connections", "--json"},
         {},
         0,
         "{\n  \"connections\": [\n    {\n      \"id\": 1,\n      \"name\": \"LAN 1\"\n    },\n"
         "    {\n      \"id\": 2,\n      \"name\": \"Wi-Fi\"\n    }\n  ]\n}\n",
         ""},
        // Applying: every step on the error stream, the balloon's text, 0 only when all went well.
        {{"apply", "nada"}, {}, 2, "", Q + "No hay ninguna configuracion IP \"nada\".\n"},
        {{"apply", "oficina"},
         {0, 5, 0},
         1,
         "Error al aplicar configuracion IP\nPaso 2 de 3: netsh termino con el codigo 5\n",
         Steps},
        {{"apply", "1"},
         {},
         0,
         "Cambio de IP satisfactorio!\nIP: 192.0.2.10\nMascara de subred: 255.255.255.0\n"
         "Gateway: 192.0.2.1\nDNS preferido: 192.0.2.53\nDNS alternativo: 198.51.100.53\n"
         "DHCP: No\n",
         "Paso 1 de 3: netsh interface ip set address \"LAN 1\"  static 192.0.2.10 "
         "255.255.255.0 192.0.2.1 1 -> correcto\n"
         "Paso 2 de 3: netsh interface ip set dns \"LAN 1\"  static 192.0.2.53 primary -> "
         "correcto\n"
         "Paso 3 de 3: netsh interface ip add dns \"LAN 1\" 198.51.100.53 2 -> correcto\n"},
        {{"apply", "casa"},
         {},
         0,
         "Cambio de IP satisfactorio!\nDHCP: Si\n",
         "Paso 1 de 2: netsh interface ip set address \"Wi-Fi\"  dhcp  -> correcto\n"
         "Paso 2 de 2: netsh interface ip set dns \"Wi-Fi\"  dhcp  -> correcto\n"},
        // Editing changes what is given and checks the result as the editor would.
        {{"edit", "oficina"}, {}, 2, "", Q + "Indique al menos un valor que cambiar.\n"},
        {{"edit", "casa", "--no-dhcp"}, {}, 2, "", Q + "La direccion IP no es valida. (--ip)\n"},
        {{"edit", "1", "--gateway", "192.0.2.254", "--connection", "Wi-Fi", "--name", "centro"},
         {},
         0,
         "Configuracion IP 1 modificada.\n",
         ""},
        {{"edit", "1", "--dhcp", "--no-dhcp"},
         {},
         2,
         "",
         Q + "Indique --dhcp o --no-dhcp, no ambas.\n"},
        {{"list"},
         {},
         0,
         "ID  Nombre  Conexion  Configuracion\n"
         "1   CENTRO  Wi-Fi     192.0.2.10/255.255.255.0\n"
         "2   CASA    Wi-Fi     DHCP\n",
         ""},
        // Faults of the command line itself.
        {{"frobnicate"},
         {},
         2,
         "",
         Q + "Comando desconocido: \"frobnicate\". \"quelvanoctl --help\" muestra los comandos.\n"},
        {{"list", "extra"},
         {},
         2,
         "",
         Q + "Sobran argumentos: extra. \"quelvanoctl list --help\" muestra como usarlo.\n"},
        {{"show"},
         {},
         2,
         "",
         Q + "Faltan argumentos. \"quelvanoctl show --help\" muestra como usarlo.\n"},
        {{"add", "--name"},
         {},
         2,
         "",
         Q + "Falta el valor de la opcion --name. \"quelvanoctl add --help\" muestra como "
             "usarlo.\n"},
        {{"add", "--name=a", "--name", "b"},
         {},
         2,
         "",
         Q + "La opcion --name se indico dos veces. \"quelvanoctl add --help\" muestra como "
             "usarlo.\n"},
        {{"list", "--dhcp"},
         {},
         2,
         "",
         Q + "Opcion desconocida: --dhcp. \"quelvanoctl list --help\" muestra como usarlo.\n"},
        {{"delete", "--", "-1"}, {}, 2, "", Q + "No hay ninguna configuracion IP \"-1\".\n"},
        {{"show", "9999999999"},
         {},
         2,
         "",
         Q + "No hay ninguna configuracion IP \"9999999999\".\n"},
    };
    for (const auto& C : Cases) {
        std::string Line;
        for (const std::string& W : C.Args)
            Line += W + " ";
        SCOPED_TRACE(Line);
        RunnerResults = C.Runner;
        const Outcome O = Run(C.Args);
        EXPECT_EQ(O.Code, C.Code);
        EXPECT_EQ(O.Out, C.Out);
        EXPECT_EQ(O.Err, C.Err);
    }
}

} // namespace
