#include "cli/CtlMain.h"

#include "adapters/o_AdapterInformation.h"
#include "cli/CtlCommands.h"
#include "connections/o_SystemConnections.h"
#include "data/o_DatabaseConnection.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace {

const char* const ExitCodes = "Codigos de salida:\n"
                              "  0  correcto\n"
                              "  1  fallo un paso al aplicar, u otro error del sistema\n"
                              "  2  error de uso o de datos; no se escribio nada\n"
                              "  3  no se pudo abrir la base de datos\n";

const char* const ProgramHelp =
    "Uso: quelvanoctl COMANDO [OPCIONES]\n"
    "     quelvanoctl COMANDO --help\n"
    "     quelvanoctl --version\n"
    "\n"
    "Administra las configuraciones IP de Quelvano desde la consola. Usa la misma base de datos\n"
    "que la ventana de Quelvano, tambien mientras la ventana esta abierta, que muestra los\n"
    "cambios al \"Refrescar lista\". Antes de cada comando pone al dia la lista de conexiones\n"
    "de red, como la ventana al empezar.\n"
    "\n"
    "Comandos:\n";

const char* const NameOrID =
    "NOMBRE es el nombre de una configuracion IP como lo muestra el arbol, sin distinguir\n"
    "mayusculas de minusculas; ID es su numero, el que muestra \"quelvanoctl list\".\n";

const char* const SetOptions =
    "  --name NOMBRE          nombre de la configuracion (3 caracteres como minimo); se guarda\n"
    "                         en mayusculas, como lo escribe el editor\n"
    "  --connection CONEXION  la conexion de red, una de \"quelvanoctl connections\"\n"
    "  --dhcp                 la configuracion usa DHCP\n"
    "  --ip DIRECCION         direccion IP\n"
    "  --mask MASCARA         mascara de subred\n"
    "  --gateway DIRECCION    puerta de enlace\n"
    "  --dns1 DIRECCION       servidor DNS preferido\n"
    "  --dns2 DIRECCION       servidor DNS alternativo\n"
    "\n"
    "Opciones avanzadas (las que se repiten reemplazan, juntas, la lista guardada):\n"
    "  --extra-ip DIR/MASCARA otra direccion IP; MASCARA punteada o longitud de prefijo\n"
    "                         (se repite; no con DHCP)\n"
    "  --extra-gateway DIR[,METRICA]\n"
    "                         otra puerta de enlace, con su metrica de 1 a 9999 (1 si no se\n"
    "                         indica; se repite; no con DHCP)\n"
    "  --extra-dns DIRECCION  otro servidor DNS tras los dos (se repite; no con DHCP)\n"
    "  --ipv6 keep|auto|static\n"
    "                         IPv6 sin cambios (keep), automatica (auto) o estatica (static)\n"
    "  --ipv6-address DIR/PREFIJO\n"
    "                         direccion IPv6 con su longitud de prefijo de 1 a 128 (se\n"
    "                         repite; solo con static)\n"
    "  --ipv6-gateway DIR     puerta de enlace IPv6 (solo con static)\n"
    "  --ipv6-dns DIRECCION   servidor DNS IPv6 (se repite; solo con static)\n";

struct TCtlCommand {
    const char* Name;
    TCtlSyntax Syntax;
    std::string Usage;
    const char* Summary;
    std::string Details;
    int (*Run)(TCtlSession&);
};

const std::vector<TCtlCommand>& Commands() {
    const std::vector<std::string> SetValues = {
        "name", "connection", "ip", "mask", "gateway", "dns1", "dns2", "ipv6", "ipv6-gateway"};
    const std::vector<std::string> ExtraLists = {"extra-ip", "extra-gateway", "extra-dns",
                                                 "ipv6-address", "ipv6-dns"};
    static const std::vector<TCtlCommand> Table = {
        {"list",
         {0, 0, {}, {"json"}, {}},
         "list [--json]",
         "Lista las configuraciones IP.",
         "Muestra el ID, el nombre, la conexion y DHCP o la direccion y la mascara de cada\n"
         "configuracion IP, en el orden de la tabla.\n\n"
         "  --json  en JSON, con el formato de \"export\" mas el ID de cada configuracion\n",
         CtlList},
        {"show",
         {1, 1, {}, {"json"}, {}},
         "show NOMBRE|ID [--json]",
         "Muestra los valores de una configuracion IP.",
         std::string("Muestra los valores guardados de una configuracion IP.\n\n") + NameOrID +
             "\n  --json  en JSON\n",
         CtlShow},
        {"apply",
         {1, 1, {}, {}, {}},
         "apply NOMBRE|ID",
         "Aplica una configuracion IP a su conexion.",
         std::string("Aplica la configuracion IP como la ventana: las mismas ordenes, una tras\n"
                     "otra. Escribe cada paso al terminar en la salida de errores y al final el\n"
                     "mismo aviso que la ventana. Termina con 0 solo si el adaptador muestra\n"
                     "despues la configuracion (un DHCP sin respuesta todavia avisa en la salida\n"
                     "de errores).\n\n") +
             NameOrID,
         CtlApply},
        {"undo",
         {0, 1, {}, {}, {}},
         "undo [CONEXION]",
         "Deshace el ultimo cambio de una conexion.",
         "Vuelve a aplicar la configuracion que tenia la conexion antes del ultimo cambio\n"
         "(de Quelvano o de quelvanoctl), como \"Deshacer ultimo cambio\" en la ventana. Sin\n"
         "CONEXION, la de la ultima configuracion aplicada. Deshacer tambien es un cambio:\n"
         "dos veces seguidas vuelven a la configuracion de antes. Escribe los pasos y el\n"
         "aviso como \"apply\" y termina con los mismos codigos; si no hay nada que deshacer,\n"
         "con 2.\n",
         CtlUndo},
        {"add",
         {0, 0, SetValues, {"dhcp"}, ExtraLists},
         "add --name NOMBRE --connection CONEXION\n"
         "         (--dhcp | --ip DIR --mask MASCARA --gateway DIR --dns1 DIR --dns2 DIR)",
         "Agrega una configuracion IP.",
         std::string("Agrega una configuracion IP con las comprobaciones y los mensajes del\n"
                     "editor. Si algo no es valido no se guarda nada.\n\n") +
             SetOptions,
         CtlAdd},
        {"edit",
         {1, 1, SetValues, {"dhcp", "no-dhcp", "clear-extras"}, ExtraLists},
         "edit NOMBRE|ID [OPCIONES]",
         "Cambia una configuracion IP.",
         std::string("Cambia los valores indicados de una configuracion IP; los demas quedan\n"
                     "como estaban. Se comprueba como en el editor y, si algo no es valido, no\n"
                     "se guarda nada.\n\n") +
             NameOrID + "\n" + SetOptions +
             "  --no-dhcp              la configuracion deja de usar DHCP (hay que dar las\n"
             "                         cinco direcciones)\n"
             "  --clear-extras         borra las opciones avanzadas antes de aplicar las dadas\n",
         CtlEdit},
        {"delete",
         {1, 1, {}, {}, {}},
         "delete NOMBRE|ID",
         "Borra una configuracion IP.",
         std::string("Borra una configuracion IP.\n\n") + NameOrID,
         CtlDelete},
        {"connections",
         {0, 0, {}, {"json"}, {}},
         "connections [--json]",
         "Lista las conexiones de red conocidas.",
         "Muestra el ID y el nombre de cada conexion de red que Quelvano conoce.\n\n"
         "  --json  en JSON\n",
         CtlConnections},
        {"adapters",
         {0, 0, {}, {"json"}, {}},
         "adapters [--json]",
         "Muestra los adaptadores de red y su configuracion actual.",
         "Muestra los adaptadores de red y su configuracion actual, como el arbol de\n"
         "adaptadores de la ventana.\n\n"
         "  --json  en JSON\n",
         CtlAdapters},
        {"export",
         {0, 1, {}, {}, {}},
         "export [ARCHIVO]",
         "Exporta todas las configuraciones IP en JSON.",
         "Escribe todas las configuraciones IP, con el nombre de su conexion, en JSON (formato\n"
         "\"quelvano-ipsets\", version 2) en ARCHIVO o, sin ARCHIVO, en la salida.\n",
         CtlExport},
        {"import",
         {1, 1, {}, {"replace"}, {}},
         "import ARCHIVO [--replace]",
         "Importa configuraciones IP de un archivo JSON.",
         "Agrega las configuraciones IP de un archivo escrito por \"export\" (un archivo comun\n"
         "de 4 MiB como maximo). Comprueba todas antes de guardar ninguna, como el editor;\n"
         "agrega las conexiones que falten. Si algo falla no se guarda nada. Lee las\n"
         "versiones 1 y 2 del formato.\n\n"
         "  --replace  reemplaza la configuracion del mismo nombre en lugar de rechazar el\n"
         "             archivo\n",
         CtlImport},
    };
    return Table;
}

const TCtlCommand* FindCommand(const std::string& Name) {
    for (const TCtlCommand& C : Commands())
        if (Name == C.Name)
            return &C;
    return nullptr;
}

std::string ProgramHelpText() {
    std::vector<std::vector<std::string>> Rows;
    for (const TCtlCommand& C : Commands())
        Rows.push_back(
            {"  " + C.Usage.substr(0, std::min(C.Usage.find(" [-"), C.Usage.find(" --"))),
             C.Summary});
    std::ostringstream Text;
    Text << ProgramHelp;
    PrintColumns(Text, Rows);
    Text << "\n" << NameOrID << "\n" << ExitCodes;
    return Text.str();
}

std::string CommandHelpText(const TCtlCommand& C) {
    return "Uso: quelvanoctl " + C.Usage + "\n\n" + C.Details + "\n" + ExitCodes;
}

// As the window's general error display words it: a period after a message that lacks one.
void ReportError(std::ostream& Err, const std::string& Message) {
    Err << "quelvanoctl: " << Message;
    if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.')
        Err << '.';
    Err << std::endl;
}

bool AsksForHelp(const std::vector<std::string>& Words) {
    for (const std::string& W : Words) {
        if (W == "--")
            return false;
        if (W == "--help" || W == "-h")
            return true;
    }
    return false;
}

// As the window at its start, without balloons. A failure is only a warning: the table still
// holds every name found before.
void BringConnectionsInStep(TgtIPDBManager& Db, std::ostream& Err) {
    try {
        AdapterManager()->RefreshAdapters();
        TgtIPSystemConnections& Discovery = *GetIPSystemConnections();
        Discovery.SetTrayIcon(nullptr);
        Discovery.SetConnectionsDataSet(Db.ConnectionNames());
        Discovery.SetIPSetDataSet(Db.IPSets());
        Discovery.UpdateConnections();
    } catch (const std::exception& E) {
        ReportError(Err,
                    std::string("aviso: no se pudieron leer las conexiones de red: ") + E.what());
    }
}

int RunCommandLine(const std::vector<std::string>& Args, const TCtlEnvironment& Env) {
    if (Args.empty()) {
        Env.Err << ProgramHelpText();
        return ceUsage;
    }
    if (Args[0] == "--help" || Args[0] == "-h" || Args[0] == "help") {
        const TCtlCommand* C = Args.size() > 1 ? FindCommand(Args[1]) : nullptr;
        Env.Out << (C != nullptr ? CommandHelpText(*C) : ProgramHelpText());
        return ceOK;
    }
    if (Args[0] == "--version") {
        Env.Out << "quelvanoctl (Quelvano) " QUELVANO_VERSION "\n"
                   "Copyright (C) los autores de Quelvano\n";
        return ceOK;
    }
    const TCtlCommand* Command = FindCommand(Args[0]);
    if (Command == nullptr) {
        ReportError(Env.Err, "Comando desconocido: \"" + Args[0] +
                                 "\". \"quelvanoctl --help\" muestra los comandos.");
        return ceUsage;
    }
    const std::vector<std::string> Words(Args.begin() + 1, Args.end());
    if (AsksForHelp(Words)) {
        Env.Out << CommandHelpText(*Command);
        return ceOK;
    }
    TCtlArgs Parsed;
    try {
        Parsed = ParseCtlArgs(Words, Command->Syntax);
    } catch (const ECtlUsage& E) {
        ReportError(Env.Err, E.Message() + " \"quelvanoctl " + Command->Name +
                                 " --help\" muestra como usarlo.");
        return ceUsage;
    }
    TgtIPDBManager& Db = *GetIPDBManager();
    try {
        Env.OpenStore(Db);
    } catch (const std::exception& E) {
        ReportError(Env.Err, E.what());
        return ceNoDatabase;
    }
    BringConnectionsInStep(Db, Env.Err);
    TCtlSession Session{Db, Env, Parsed};
    try {
        return Command->Run(Session);
    } catch (const ECtlUsage& E) {
        ReportError(Env.Err, E.Message());
        return ceUsage;
    } catch (const std::exception& E) {
        ReportError(Env.Err, E.what());
        return ceStepFailed;
    }
}

} // namespace

int QuelvanoCtl(const std::vector<std::string>& Args, const TCtlEnvironment& Env) {
    const int Code = RunCommandLine(Args, Env);
    // A full disk or a closed pipe fails a write silently until the stream is flushed; a short
    // output must not end as a success.
    if (!Env.Out.flush()) {
        ReportError(Env.Err, "No se pudo escribir la salida completa.");
        return ceStepFailed;
    }
    return Code;
}
