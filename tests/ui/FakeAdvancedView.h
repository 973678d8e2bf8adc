#pragma once

#include "fakes/FakeControls.h"
#include "ui/f_AdvancedOptions.h"

#include <string>

// The controls of "Opciones avanzadas" in memory, each named after its list and role.
struct FakeEntryList {
    FakeEntryList(TEntryList& L, const std::string& Name, bool HasSecond)
        : List(Name + ".List"), Value(Name + ".Value"),
          Second(Name + ".Second"), Buttons{FakeButton(Name + ".Agregar"),
                                            FakeButton(Name + ".Modificar"),
                                            FakeButton(Name + ".Quitar"),
                                            FakeButton(Name + ".Subir"),
                                            FakeButton(Name + ".Bajar")} {
        L.List = &List;
        L.Value = &Value;
        L.Second = HasSecond ? &Second : nullptr;
        TButton** Bound[] = {&L.btnAgregar, &L.btnModificar, &L.btnQuitar, &L.btnSubir,
                             &L.btnBajar};
        for (int I = 0; I < 5; ++I)
            *Bound[I] = &Buttons[I];
    }
    // Which of Agregar, Modificar, Quitar, Subir, Bajar are enabled, as "10110".
    std::string Enabled() const {
        std::string Result;
        for (const FakeButton& B : Buttons)
            Result += B.IsEnabled ? '1' : '0';
        return Result;
    }
    FakeListBox List;
    FakeEdit Value, Second;
    FakeButton Buttons[5];
};

struct FakeAdvancedView : FakeFormView {
    explicit FakeAdvancedView(TFrmAdvancedOptions& F)
        : Addresses(F.Addresses, "Addresses", true), Gateways(F.Gateways, "Gateways", true),
          Dns(F.Dns, "Dns", false), IPv6Addresses(F.IPv6Addresses, "IPv6Addresses", true),
          IPv6Dns(F.IPv6Dns, "IPv6Dns", false) {
        F.rbSinCambios = &Keep;
        F.rbAutomatica = &Automatic;
        F.rbEstatica = &Static;
        F.edtIPv6Gateway = &Gateway;
    }
    FakeEntryList Addresses, Gateways, Dns, IPv6Addresses, IPv6Dns;
    FakeCheck Keep{"Keep"}, Automatic{"Automatic"}, Static{"Static"};
    FakeEdit Gateway{"Gateway"};
};
