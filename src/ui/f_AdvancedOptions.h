#pragma once

#include "data/IPSetExtras.h"
#include "ui/EntryList.h"
#include "ui/Forms.h"

// "Opciones avanzadas": a set's extra IPv4 addresses, gateways and DNS servers, and its IPv6
// part. It works on a copy of the extras, which the editor takes back only after Aceptar.
class TFrmAdvancedOptions : public TForm {
public:
    static inline TFormViewFactory<TFrmAdvancedOptions> ViewFactory;

    explicit TFrmAdvancedOptions(TComponent* AOwner);

    // Bound by the view.
    TEntryList Addresses;
    TEntryList Gateways;
    TEntryList Dns;
    TEntryList IPv6Addresses;
    TEntryList IPv6Dns;
    TCheckControl* rbSinCambios = nullptr;
    TCheckControl* rbAutomatica = nullptr;
    TCheckControl* rbEstatica = nullptr;
    TEdit* edtIPv6Gateway = nullptr;

    // Shows the extras; a DHCP set has its IPv4 lists disabled, their entries kept.
    void LoadExtras(const TIPSetExtras& Extras, bool Dhcp);
    // What Aceptar accepted.
    const TIPSetExtras& Extras() const { return FExtras; }

    void FormShow();
    void IPv6ModeClick();
    void btnAceptarClick();
    void btnCancelarClick();

private:
    TIPv6Mode Mode() const;

    TIPSetExtras FExtras;
};
