#include "ui/IPSetEntry.h"

#include "base/TextUtils.h"
#include "data/DataSet.h"
#include "shell/GlobalUnit.h"

namespace {

const char* const DhcpAddress = "0.0.0.0";

struct TAddressColumn {
    std::string TIPSetEntry::*Text;
    const char* Column;
    TIPSetBox Box;
    const char* Message;
};

const TAddressColumn Addresses[] = {
    {&TIPSetEntry::IPAddress, "IPADDRESS", TIPSetBox::IPAddress, "La direccion IP no es valida."},
    {&TIPSetEntry::SubnetMask, "SUBNETMASK", TIPSetBox::SubnetMask,
     "La mascara de red no es valida."},
    {&TIPSetEntry::Gateway, "GATEWAY", TIPSetBox::Gateway,
     "La direccion del gateway no es valida."},
    {&TIPSetEntry::Dns, "DNS", TIPSetBox::Dns, "Servidor DNS preferido no es valida."},
    {&TIPSetEntry::Dns2, "DNS2", TIPSetBox::Dns2, "Servidor DNS alternativo no es valida."},
};

} // namespace

TIPSetCheck CheckIPSetEntry(const TIPSetEntry& Entry) {
    if (Utf8Length(Trim(Entry.Name)) < 3)
        return {TIPSetBox::Name, "El nombre de configuracion de IP no es valida."};
    // The addresses are judged as they stand, untrimmed; with DHCP none of them is looked at.
    if (!Entry.Dhcp)
        for (const TAddressColumn& A : Addresses)
            if (!IsValidIPAddress(Entry.*A.Text))
                return {A.Box, A.Message};
    if (Entry.Connection.empty())
        return {TIPSetBox::Connection, "Seleccione un adaptador de red."};
    return {};
}

TIPSetEntry ReadIPSetEntry(TDataSet& IPSets) {
    TIPSetEntry Entry;
    Entry.Name = IPSets.FieldByName("IPSET_NAME").AsString();
    for (const TAddressColumn& A : Addresses)
        Entry.*A.Text = IPSets.FieldByName(A.Column).AsString();
    Entry.Dhcp = IPSets.FieldByName("DHCP").AsBoolean();
    return Entry;
}

void PostIPSetEntry(TDataSet& IPSets, const TIPSetEntry& Entry) {
    IPSets.FieldByName("IPSET_NAME").SetAsString(Trim(Entry.Name));
    for (const TAddressColumn& A : Addresses)
        IPSets.FieldByName(A.Column).SetAsString(Entry.Dhcp ? DhcpAddress : Trim(Entry.*A.Text));
    IPSets.FieldByName("DHCP").SetAsBoolean(Entry.Dhcp);
    IPSets.Post();
}
