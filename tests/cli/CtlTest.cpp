#include "cli/CtlFixture.h"
#include "fakes/TempStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Another program deletes set 1 just before the console program's connection starts the first
// statement whose text holds Watch->first (cleared then), on the file Watch->second.
int DeleteFirstSetBefore(unsigned, void* Watch, void* Statement, void*) {
    auto& [Sql, File] = *static_cast<std::pair<std::string, std::string>*>(Watch);
    if (Sql.empty() || std::string(sqlite3_sql(static_cast<sqlite3_stmt*>(Statement))).find(Sql) ==
                           std::string::npos)
        return 0;
    Sql.clear();
    TgtIPDBManager Other(nullptr);
    Other.OpenDatabase(File);
    if (Other.IPSets()->Locate("ID", 1))
        Other.IPSets()->Delete();
    return 0;
}

// One session on one store, written as a terminal shows it. "$" gives a command line (words split
// at blanks, "..." holds blanks, \n inside quotes is a line break, a line ending in "\" goes on);
// "~" the exit codes the runner answers its next apply's steps with; "!" a line of standard error;
// "=" the exit code when it is not 0. Every other line is standard output.
const char* const Session = R"(
$ list
ID  Nombre  Conexion  Configuracion
$ connections
ID  Nombre
1   LAN 1
2   Wi-Fi
$ add --name ab --connection "LAN 1" --dhcp
! quelvanoctl: El nombre de configuracion de IP no es valida. (--name)
= 2
$ add --name Oficina --connection "LAN 1" --ip 0.0.0.0
! quelvanoctl: La direccion IP no es valida. (--ip)
= 2
$ add --name Oficina --connection "LAN 1" --ip 10.0.0.9 --mask 255.255.255
! quelvanoctl: La mascara de red no es valida. (--mask)
= 2
$ add --name Oficina --connection "LAN 1" --ip 10.0.0.9 --mask 255.0.0.0 --gateway 10.0.0.01
! quelvanoctl: La direccion del gateway no es valida. (--gateway)
= 2
$ add --name Oficina --connection "LAN 1" --ip 10.0.0.9 --mask 255.0.0.0 --gateway 10.0.0.1 \
      --dns1 " 10.0.0.2"
! quelvanoctl: Servidor DNS preferido no es valida. (--dns1)
= 2
$ add --name Oficina --connection "LAN 1" --ip 10.0.0.9 --mask 255.0.0.0 --gateway 10.0.0.1 \
      --dns1 10.0.0.2
! quelvanoctl: Servidor DNS alternativo no es valida. (--dns2)
= 2
$ add --name Oficina --dhcp
! quelvanoctl: Seleccione un adaptador de red. (--connection)
= 2
$ add --name Oficina --connection Cable --dhcp
! quelvanoctl: No hay ninguna conexion "Cable"; "quelvanoctl connections" las muestra.
= 2
$ add --name Oficina --connection "LAN 1" --dhcp --ip 10.0.0.9
! quelvanoctl: Una configuracion DHCP no lleva direcciones (--ip).
= 2
$ add --name "Hotel\nX" --connection "LAN 1" --dhcp
! quelvanoctl: El nombre no puede contener caracteres de control. (--name)
= 2
$ add --name NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN --connection "LAN 1" --dhcp
! quelvanoctl: El campo IPSet_Name admite como maximo 50 caracteres.
= 2
$ list
ID  Nombre  Conexion  Configuracion
$ add --name " Oficina " --connection "lan 1" --ip 192.0.2.10 --mask 255.255.255.0 \
      --gateway 192.0.2.1 --dns1 192.0.2.53 --dns2 198.51.100.53
Configuracion IP agregada con el ID 1.
$ add --name Casa --connection Wi-Fi --dhcp
Configuracion IP agregada con el ID 2.
$ add --name casa --connection Wi-Fi --dhcp
Configuracion IP agregada con el ID 3.
$ show Casa
! quelvanoctl: "Casa" nombra varias configuraciones IP (ID 2, 3); indique el ID.
= 2
$ delete 3
Configuracion IP 3 borrada.
$ list
ID  Nombre   Conexion  Configuracion
1   OFICINA  LAN 1     192.0.2.10/255.255.255.0
2   CASA     Wi-Fi     DHCP
$ show casa
ID: 2
Nombre: CASA
Conexion: Wi-Fi
DHCP: Si
IP: 0.0.0.0
Mascara de subred: 0.0.0.0
Gateway: 0.0.0.0
DNS preferido: 0.0.0.0
DNS alternativo: 0.0.0.0
$ show 2 --json
{
  "id": 2,
  "name": "CASA",
  "connection": "Wi-Fi",
  "dhcp": true,
  "ipAddress": "0.0.0.0",
  "subnetMask": "0.0.0.0",
  "gateway": "0.0.0.0",
  "dns1": "0.0.0.0",
  "dns2": "0.0.0.0",
  "active": false
}
$ undo
! quelvanoctl: No hay ningun cambio que deshacer.
= 2
$ apply nada
! quelvanoctl: No hay ninguna configuracion IP "nada".
= 2
~ 0 5 0
$ apply oficina
Error al aplicar configuracion IP
Paso 2 de 3: netsh termino con el codigo 5
DNS: se esperaba 192.0.2.53, 198.51.100.53; el adaptador tiene 10.0.2.3, 198.51.100.53
! Paso 1 de 3: netsh interface ip set address "LAN 1"  static 192.0.2.10 255.255.255.0 192.0.2.1 1 -> correcto
! Paso 2 de 3: netsh interface ip set dns "LAN 1"  static 192.0.2.53 primary -> netsh termino con el codigo 5
! Paso 3 de 3: netsh interface ip add dns "LAN 1" 198.51.100.53 2 -> correcto
= 1
$ apply casa
Cambio de IP satisfactorio!
DHCP: Si
! Paso 1 de 2: netsh interface ip set address "Wi-Fi"  dhcp  -> correcto
! Paso 2 de 2: netsh interface ip set dns "Wi-Fi"  dhcp  -> correcto
$ edit oficina
! quelvanoctl: Indique al menos un valor que cambiar.
= 2
$ edit casa --no-dhcp
! quelvanoctl: La direccion IP no es valida. (--ip)
= 2
$ edit 1 --gateway 192.0.2.254 --connection Wi-Fi --name centro
Configuracion IP 1 modificada.
$ edit 1 --dhcp --no-dhcp
! quelvanoctl: Indique --dhcp o --no-dhcp, no ambas.
= 2
$ list
ID  Nombre  Conexion  Configuracion
1   CENTRO  Wi-Fi     192.0.2.10/255.255.255.0
2   CASA    Wi-Fi     DHCP *
$ apply 1
Cambio de IP satisfactorio!
IP: 192.0.2.10
Mascara de subred: 255.255.255.0
Gateway: 192.0.2.254
DNS preferido: 192.0.2.53
DNS alternativo: 198.51.100.53
DHCP: No
! Paso 1 de 3: netsh interface ip set address "Wi-Fi"  static 192.0.2.10 255.255.255.0 192.0.2.254 1 -> correcto
! Paso 2 de 3: netsh interface ip set dns "Wi-Fi"  static 192.0.2.53 primary -> correcto
! Paso 3 de 3: netsh interface ip add dns "Wi-Fi" 198.51.100.53 2 -> correcto
$ list
ID  Nombre  Conexion  Configuracion
1   CENTRO  Wi-Fi     192.0.2.10/255.255.255.0 *
2   CASA    Wi-Fi     DHCP
$ --version
quelvanoctl (Quelvano) 1.47.351
Copyright (C) los autores de Quelvano
$ frobnicate
! quelvanoctl: Comando desconocido: "frobnicate". "quelvanoctl --help" muestra los comandos.
= 2
$ list extra
! quelvanoctl: Sobran argumentos: extra. "quelvanoctl list --help" muestra como usarlo.
= 2
$ show
! quelvanoctl: Faltan argumentos. "quelvanoctl show --help" muestra como usarlo.
= 2
$ add --name
! quelvanoctl: Falta el valor de la opcion --name. "quelvanoctl add --help" muestra como usarlo.
= 2
$ list --dhcp
! quelvanoctl: Opcion desconocida: --dhcp. "quelvanoctl list --help" muestra como usarlo.
= 2
$ delete -- -1
! quelvanoctl: No hay ninguna configuracion IP "-1".
= 2
$ show 9999999999
! quelvanoctl: No hay ninguna configuracion IP "9999999999".
= 2
$ delete 1 --help
Uso: quelvanoctl delete NOMBRE|ID

Borra una configuracion IP.

NOMBRE es el nombre de una configuracion IP como lo muestra el arbol, sin distinguir
mayusculas de minusculas; ID es su numero, el que muestra "quelvanoctl list".

Codigos de salida:
  0  correcto
  1  fallo un paso al aplicar, u otro error del sistema
  2  error de uso o de datos; no se escribio nada
  3  no se pudo abrir la base de datos
)";

// The options of a set's extras: every list given replaces the stored one, each value checked
// as the editor checks it, IPv6 texts kept canonical; what applies is shown after the set's own.
const char* const ExtrasSession = R"(
$ add --name Oficina --connection "LAN 1" --ip 192.0.2.10 --mask 255.255.255.0 \
      --gateway 192.0.2.1 --dns1 192.0.2.53 --dns2 198.51.100.53 --extra-ip 192.0.2.11/24 \
      --extra-ip=10.0.0.5/255.0.0.0 --extra-gateway 192.0.2.254,20 --extra-gateway 192.0.2.253 \
      --extra-dns 192.0.2.54 --ipv6 static --ipv6-address 2001:DB8:0:0::1/64 \
      --ipv6-gateway FE80::1 --ipv6-dns 2001:db8::53 --ipv6-dns 2001:db8::54
Configuracion IP agregada con el ID 1.
$ edit 1 --extra-ip 192.0.2.12
! quelvanoctl: La mascara de red de la direccion adicional no es valida. (--extra-ip)
= 2
$ edit 1 --extra-ip 192.0.2.12/33
! quelvanoctl: La mascara de red de la direccion adicional no es valida. (--extra-ip)
= 2
$ edit 1 --extra-gateway 192.0.2.9,10000
! quelvanoctl: La metrica del gateway debe estar entre 1 y 9999. (--extra-gateway)
= 2
$ edit 1 --ipv6-address 2001:db8::9
! quelvanoctl: La longitud de prefijo debe estar entre 1 y 128. (--ipv6-address)
= 2
$ edit 1 --ipv6 never
! quelvanoctl: El modo IPv6 es keep, auto o static (--ipv6).
= 2
$ edit 1 --ipv6 auto --ipv6-dns 2001:db8::55
! quelvanoctl: Los valores IPv6 solo se usan con --ipv6 static (--ipv6-dns).
= 2
$ edit 1 --dhcp --extra-dns 192.0.2.55
! quelvanoctl: Una configuracion DHCP no lleva direcciones (--extra-dns).
= 2
$ show 1
ID: 1
Nombre: OFICINA
Conexion: LAN 1
DHCP: No
IP: 192.0.2.10
Mascara de subred: 255.255.255.0
Gateway: 192.0.2.1
DNS preferido: 192.0.2.53
DNS alternativo: 198.51.100.53
IP adicional: 192.0.2.11/255.255.255.0
IP adicional: 10.0.0.5/255.0.0.0
Gateway adicional: 192.0.2.254 (metrica 20)
Gateway adicional: 192.0.2.253 (metrica 1)
DNS adicional: 192.0.2.54
IPv6: Estatica
IPv6 direccion: 2001:db8::1/64
IPv6 gateway: fe80::1
IPv6 DNS: 2001:db8::53
IPv6 DNS: 2001:db8::54
$ edit 1 --clear-extras --ipv6 auto
Configuracion IP 1 modificada.
$ show 1
ID: 1
Nombre: OFICINA
Conexion: LAN 1
DHCP: No
IP: 192.0.2.10
Mascara de subred: 255.255.255.0
Gateway: 192.0.2.1
DNS preferido: 192.0.2.53
DNS alternativo: 198.51.100.53
IPv6: Automatica
)";

struct Step {
    std::string Line;
    Words Args;
    std::vector<int> Runner;
    Outcome Expected{0, "", ""};
};

Words Split(const std::string& Line) {
    Words Result;
    std::string Word;
    bool Quoted = false, Started = false;
    for (std::size_t I = 0; I < Line.size(); ++I) {
        const char C = Line[I];
        if (C == ' ' && !Quoted) {
            if (Started)
                Result.push_back(Word);
            Word.clear();
            Started = false;
        } else if (C == '"') {
            Quoted = !Quoted;
            Started = true;
        } else if (Quoted && Line.compare(I, 2, "\\n") == 0) {
            Word += '\n';
            ++I;
        } else {
            Word += C;
            Started = true;
        }
    }
    if (Started)
        Result.push_back(Word);
    return Result;
}

std::vector<Step> ReadSession(const std::string& Text) {
    std::vector<Step> Steps;
    std::vector<int> Runner;
    std::istringstream In(Text);
    for (std::string Line; std::getline(In, Line);) {
        while (!Line.empty() && Line.back() == '\\') {
            std::string More;
            std::getline(In, More);
            Line.pop_back();
            Line += More.substr(More.find_first_not_of(' '));
        }
        const std::string Rest = Line.size() > 2 ? Line.substr(2) : "";
        if (Line.rfind("$ ", 0) == 0) {
            Steps.push_back({Rest, Split(Rest), Runner});
            Runner.clear();
        } else if (Line.rfind("~ ", 0) == 0) {
            std::istringstream Codes(Rest);
            for (int Code; Codes >> Code;)
                Runner.push_back(Code);
        } else if (Line.rfind("! ", 0) == 0) {
            Steps.back().Expected.Err += Rest + "\n";
        } else if (Line.rfind("= ", 0) == 0) {
            Steps.back().Expected.Code = std::stoi(Rest);
        } else if (!Steps.empty()) {
            Steps.back().Expected.Out += Line + "\n";
        }
    }
    return Steps;
}

TEST_F(Ctl, Session_EachCommandLineGivesItsOutputAndExitCode) {
    for (const auto& [Text, Count] : {std::pair{Session, 42u}, std::pair{ExtrasSession, 11u}}) {
        File = Folder.File(std::to_string(Count) + ".ipdb");
        CreateEmptyDatabase(File);
        const std::vector<Step> Steps = ReadSession(Text);
        ASSERT_EQ(Steps.size(), Count); // every "$" line, continuations joined
        for (const Step& S : Steps) {
            SCOPED_TRACE(S.Line);
            RunnerResults = S.Runner;
            const Outcome O = Run(S.Args);
            EXPECT_EQ(O.Code, S.Expected.Code);
            EXPECT_EQ(O.Out, S.Expected.Out);
            EXPECT_EQ(O.Err, S.Expected.Err);
        }
    }
}

TEST_F(Ctl, SetDeletedByAnotherProgramBetweenTheSteps_IsNeitherMistakenNorLost) {
    const std::string Import = Folder.File("oficina.json");
    WriteWholeFile(Import, R"({"format": "quelvano-ipsets", "version": 1, "ipSets": [{"name":
        "Oficina", "connection": "LAN 1", "dhcp": true}]})");
    const struct {
        const char* Sql;
        Words Command;
        int Code;
        std::vector<std::string> Left;
    } Cases[] = {
        {"FROM IPSets WHERE ID = ?", {"edit", "1", "--name", "centro"}, 2, {"CASA"}},
        {"UPDATE IPSets", {"edit", "1", "--name", "centro"}, 2, {"CASA"}},
        {"BEGIN", {"edit", "1", "--ipv6", "auto"}, 2, {"CASA"}},
        {"FROM IPSets WHERE ID = ?", {"delete", "1"}, 2, {"CASA"}},
        {"FROM IPSets WHERE ID = ?", {"apply", "1"}, 2, {"CASA"}},
        {"BEGIN", {"import", Import, "--replace"}, 0, {"CASA", "Oficina"}},
    };
    for (const auto& C : Cases) {
        TempFolder Fresh;
        File = Fresh.File("quelvano.ipdb");
        CreateEmptyDatabase(File);
        for (const char* Name : {"oficina", "casa"})
            Run({"add", "--name", Name, "--connection", "LAN 1", "--dhcp"});
        std::pair<std::string, std::string> Watch{C.Sql, File};
        Opened = [&Watch](TgtIPDBManager& Db) {
            sqlite3_trace_v2(Db.AdoConnection()->Handle(), SQLITE_TRACE_STMT, DeleteFirstSetBefore,
                             &Watch);
        };
        const Outcome O = Run(C.Command);
        Opened = [](TgtIPDBManager&) {};
        EXPECT_EQ(O.Code, C.Code) << C.Sql;
        const char* Gone =
            "quelvanoctl: La configuracion IP ya no existe: otro programa la elimino.\n";
        EXPECT_EQ(O.Err, C.Code == 2 ? Gone : "") << C.Sql;
        TgtIPDBManager Store(nullptr);
        Store.OpenDatabase(File);
        EXPECT_EQ(ColumnValues(*Store.IPSets(), "IPSET_NAME"), C.Left) << C.Sql;
    }
}

TEST_F(Ctl, StoreThatCannotBeOpened_Exits3AndIsLeftAlone) {
    WriteWholeFile(File, "not a database of ours");
    const Outcome O = Run({"add", "--name", "casa", "--connection", "LAN 1", "--dhcp"});
    EXPECT_EQ(O.Code, 3);
    EXPECT_EQ(O.Err,
              "quelvanoctl: El archivo \"" + File + "\" no es una base de datos de Quelvano.\n");
    EXPECT_EQ(ReadWholeFile(File), "not a database of ours");
    EXPECT_EQ(Run({"--version"}).Code, 0); // it needs no database
}

} // namespace
