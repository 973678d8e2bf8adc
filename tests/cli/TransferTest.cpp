#include "cli/CtlFixture.h"
#include "cli/Json.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

const char* const Oficina =
    R"({"name": "oficina", "connection": "LAN 1", "dhcp": false, "ipAddress": "10.1.1.10",
        "subnetMask": "255.255.0.0", "gateway": "10.1.1.1", "dns1": "10.1.1.2", "dns2": "10.1.1.3"})";

std::string Document(const std::string& Sets, const std::string& Version = "1") {
    return R"({"format": "quelvano-ipsets", "version": )" + Version + R"(, "ipSets": [)" + Sets +
           "]}";
}

class Transfer : public Ctl {
protected:
    // Imports Text from a file; the outcome.
    Outcome Import(const std::string& Text, Words More = {}) {
        WriteWholeFile(Input, Text);
        Words Args = {"import", Input};
        Args.insert(Args.end(), More.begin(), More.end());
        return Run(Args);
    }
    std::string Export() { return Run({"export"}).Out; }
    std::string Connections() { return Run({"connections"}).Out; }

    std::string Input = Folder.File("entrada.json");
};

TEST_F(Transfer, FailedImport_SaysWhyAndWritesNothing) {
    ASSERT_EQ(Import(Document(Oficina)).Code, 0);
    const std::string Sets = Export(), Known = Connections();
    const std::string F = "quelvanoctl: El archivo \"" + Input + "\" ";
    const std::string Dhcp = R"({"name": "Casa", "connection": "Nueva", "dhcp": true})";
    const struct {
        std::string Text;
        std::string Err;
    } Cases[] = {
        {R"({"format": "quelvano-ipsets", )",
         F + "no es JSON valido: linea 1, columna 31: el documento termina antes de tiempo.\n"},
        {R"({"format": "otro", "version": 1, "ipSets": []})",
         F + "no es un documento de configuraciones IP de Quelvano (\"format\").\n"},
        {Document("", "3"),
         F + "tiene la version 3 del formato; esta version del programa lee la 1 y la 2.\n"},
        {Document(R"({"name": "Casa", "connection": "Wi-Fi", "dhcp": true, "dns_1": "1.1.1.1"})"),
         F + "tiene un miembro desconocido en la configuracion 1: \"dns_1\".\n"},
        {Document("") + std::string(4 << 20, ' '),
         F + "es demasiado grande: un archivo de configuraciones IP tiene como maximo 4 MiB.\n"},
        {Document(R"({"name": "Casa", "connection": "Wi-Fi"})"),
         F + "no dice si la configuracion 1 usa DHCP (\"dhcp\": true o false).\n"},
        // Extras only from version 2 on, each of its kind and checked as the editor does.
        {Document(R"({"name": "Casa", "connection": "Wi-Fi", "dhcp": true, "extraDns": []})"),
         F + "tiene un miembro desconocido en la configuracion 1: \"extraDns\".\n"},
        {Document(R"({"name": "Casa", "connection": "Wi-Fi", "dhcp": true,
                      "extraDns": "1.1.1.1"})",
                  "2"),
         F + "tiene un valor del tipo equivocado (\"extraDns\") en la configuracion 1.\n"},
        {Document(R"({"name": "Casa", "connection": "Wi-Fi", "dhcp": true,
                      "extraGateways": [{"gateway": "10.0.0.1", "metrica": 2}]})",
                  "2"),
         F + "tiene un miembro desconocido (\"extraGateways\": \"metrica\") en la "
             "configuracion 1.\n"},
        {Document(R"({"name": "Casa", "connection": "Wi-Fi", "dhcp": true,
                      "extraGateways": [{"gateway": "10.0.0.1", "metric": 1.5}]})",
                  "2"),
         "quelvanoctl: Configuracion 1 del archivo: La metrica del gateway debe estar entre 1 y "
         "9999. (\"extraGateways\")\n"},
        {Document(R"({"name": "Casa", "connection": "Wi-Fi", "dhcp": true, "ipv6": {"mode":
                      "static", "addresses": [{"address": "::ffff:10.0.0.1", "prefixLength": 64}]}})",
                  "2"),
         "quelvanoctl: Configuracion 1 del archivo: La direccion IPv6 no es valida. (\"ipv6\")\n"},
        // The editor's checks, set by set, before anything is written.
        {Document(Dhcp + R"(, {"name": "Hotel", "connection": "Wi-Fi", "dhcp": false,
                 "ipAddress": "0.0.0.0", "subnetMask": "255.0.0.0", "gateway": "10.0.0.1",
                 "dns1": "10.0.0.1", "dns2": "10.0.0.1"})"),
         "quelvanoctl: Configuracion 2 del archivo: La direccion IP no es valida. "
         "(\"ipAddress\")\n"},
        {Document(R"({"name": "Casa", "connection": null, "dhcp": true})"),
         "quelvanoctl: Configuracion 1 del archivo: Seleccione un adaptador de red. "
         "(\"connection\")\n"},
        {Document(R"({"name": "Casa", "connection": "A\"B", "dhcp": true})"),
         "quelvanoctl: Configuracion 1 del archivo: el nombre de la conexion no es valido.\n"},
        {Document(R"({"name": "Casa", "connection": "LAN 1\\", "dhcp": true})"),
         "quelvanoctl: Configuracion 1 del archivo: el nombre de la conexion no es valido.\n"},
        {Document(R"({"name": "Casa\u007f", "connection": "Wi-Fi", "dhcp": true})"),
         "quelvanoctl: Configuracion 1 del archivo: El nombre no puede contener caracteres de "
         "control. (\"name\")\n"},
        // Names: once per file, and once in the store unless replacing is allowed.
        {Document(Dhcp + ", " + R"({"name": " CASA", "connection": "Wi-Fi", "dhcp": true})"),
         "quelvanoctl: Configuracion 2 del archivo: el nombre \"CASA\" ya lo lleva la "
         "configuracion 1.\n"},
        {Document(Dhcp + ", " + Oficina),
         "quelvanoctl: Configuracion 2 del archivo: ya existe una configuracion IP \"OFICINA\" "
         "(ID 1); use --replace para reemplazarla.\n"},
        // The store refuses the second set after the first and its new connection went in.
        {Document(Dhcp + ", " + R"({"name": ")" + std::string(51, 'N') +
                  R"(", "connection": "Wi-Fi", "dhcp": true})"),
         "quelvanoctl: Configuracion 2 del archivo: El campo IPSet_Name admite como maximo 50 "
         "caracteres. No se importo nada.\n"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        const Outcome O = Import(C.Text);
        EXPECT_EQ(O.Code, 2);
        EXPECT_EQ(O.Err, C.Err);
        EXPECT_EQ(Export(), Sets);
        EXPECT_EQ(Connections(), Known);
    }
    const Outcome Missing = Run({"import", Folder.File("no-hay.json")});
    EXPECT_EQ(Missing.Code, 2);
    EXPECT_EQ(Missing.Err,
              "quelvanoctl: No se puede leer el archivo \"" + Folder.File("no-hay.json") + "\".\n");
    // Only an ordinary file is read, and one of a folder is never taken for the new file.
    using Pair = std::pair<const char*, std::string>;
    for (const auto& [Command, Said] : {Pair{"import", "importa de"}, Pair{"export", "exporta a"}})
        EXPECT_EQ(Run({Command, Folder.File("")}).Err,
                  "quelvanoctl: El archivo \"" + Folder.File("") +
                      "\" no es un archivo comun: no se " + Said +
                      " una carpeta, una tuberia ni un dispositivo.\n");
}

TEST_F(Transfer, Import_AddsNewConnectionsAndReplacesOnlyWhenAllowed) {
    EXPECT_EQ(Import(Document("")).Out,
              "Importadas 0 configuraciones IP: 0 nuevas, 0 reemplazadas.\n");
    ASSERT_EQ(Import(Document(Oficina)).Code, 0);
    const std::string Moved =
        R"({"id": 9, "name": "Oficina", "connection": "Cable", "dhcp": true, "ipAddress": "x"})";
    // A byte order mark, as Windows editors write, is no fault.
    const Outcome O = Import("\xEF\xBB\xBF" + Document(Moved), {"--replace"});
    EXPECT_EQ(O.Code, 0) << O.Err;
    EXPECT_EQ(O.Out, "Importadas 1 configuraciones IP: 0 nuevas, 1 reemplazadas.\n");
    EXPECT_EQ(Run({"list"}).Out, "ID  Nombre   Conexion  Configuracion\n"
                                 "1   Oficina  Cable     DHCP\n");
    EXPECT_EQ(Connections(), "ID  Nombre\n1   LAN 1\n2   Wi-Fi\n3   Cable\n");
}

// The shape of every document the program writes agrees with the schema in the repository.
void CheckAgainstSchema(const TJson& Value, const TJson& Schema, const TJson& Defs) {
    const TJson* Ref = Schema.Find("$ref");
    const TJson& S =
        Ref ? *Defs.Find(Ref->AsString().substr(std::string("#/$defs/").size())) : Schema;
    const TJson* Properties = S.Find("properties");
    if (Properties == nullptr)
        return;
    ASSERT_EQ(Value.Kind(), TJson::TKind::Object);
    std::set<std::string> Required;
    const auto AddAll = [&Required](const TJson* List) {
        if (List != nullptr)
            for (const TJson& Name : List->Items())
                Required.insert(Name.AsString());
    };
    AddAll(S.Find("required"));
    const TJson* Dhcp = Value.Find("dhcp");
    if (S.Find("then") != nullptr && Dhcp != nullptr && !Dhcp->AsBoolean())
        AddAll(S.Find("then")->Find("required"));
    for (const std::string& Name : Required)
        EXPECT_NE(Value.Find(Name), nullptr) << Name;
    for (const TJson::TMember& M : Value.Members()) {
        const TJson* Property = Properties->Find(M.first);
        ASSERT_NE(Property, nullptr) << M.first;
        if (M.second.Kind() == TJson::TKind::Object)
            CheckAgainstSchema(M.second, *Property, Defs);
        if (M.second.Kind() == TJson::TKind::Array)
            for (const TJson& Item : M.second.Items())
                CheckAgainstSchema(Item, *Property->Find("items"), Defs);
    }
}

TEST_F(Transfer, ExportThenImportOnAFreshStore_GivesTheSameSets) {
    ASSERT_EQ(Run({"add", "--name", "A\xc3\xb1o nuevo", "--connection", "Wi-Fi", "--dhcp"}).Code,
              0);
    ASSERT_EQ(Import(Document(Oficina)).Code, 0);
    // Extras, IPv6 texts made canonical; a DHCP set keeps the IPv4 ones it does not apply.
    ASSERT_EQ(Import(Document(R"({"name": "Lab", "connection": "LAN 1", "dhcp": false,
        "ipAddress": "10.2.0.5", "subnetMask": "255.255.0.0", "gateway": "10.2.0.1", "dns1":
        "10.2.0.2", "dns2": "10.2.0.3", "extraAddresses": [{"address": "10.3.0.5", "mask":
        "255.0.0.0"}], "extraGateways": [{"gateway": "10.2.0.254", "metric": 5}], "ipv6": {"mode":
        "static", "addresses": [{"address": "2001:DB8:0::0:1", "prefixLength": 48}], "gateway":
        "2001:db8::fe", "dns": ["2001:db8::35"]}}, {"name": "Hotel", "connection": "Wi-Fi",
        "dhcp": true, "extraDns": ["10.9.0.1"], "ipv6": {"mode": "auto", "dns": ["2001:DB8::1"]}})",
                              "2"))
                  .Code,
              0);
    const std::string Exported = Folder.File("salida.json");
    WriteWholeFile(Exported + ".tmp", "mio"); // the user's own, which the export leaves alone
    ASSERT_EQ(Run({"export", Exported}).Out,
              "Exportadas 4 configuraciones IP a \"" + Exported + "\".\n");
    for (const char* Canonical : {"\"2001:db8::1\",", "\"2001:db8::1\"\n"})
        EXPECT_NE(ReadWholeFile(Exported).find(Canonical), std::string::npos) << Canonical;
    const std::string Listed = Run({"list"}).Out;
    const std::string AsJson = Run({"list", "--json"}).Out;

    TempFolder Fresh;
    File = Fresh.File("quelvano.ipdb");
    CreateEmptyDatabase(File);
    const Outcome O = Run({"import", Exported});
    EXPECT_EQ(O.Code, 0) << O.Err;
    EXPECT_EQ(ReadWholeFile(Exported), Export());
    EXPECT_EQ(ReadWholeFile(Exported + ".tmp"), "mio");
    EXPECT_EQ(Run({"list"}).Out, Listed);

    const TJson Schema = ParseJson(ReadWholeFile(QUELVANO_SCHEMA));
    for (const std::string& Text : {ReadWholeFile(Exported), AsJson})
        CheckAgainstSchema(ParseJson(Text), Schema, *Schema.Find("$defs"));
}

} // namespace
