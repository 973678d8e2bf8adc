#include "ui/qt/AdvancedView.h"

#include "ui/qt/QtControls.h"
#include "ui/qt/QtDialog.h"

#include "ui_AdvancedDialog.h"

#include <QEvent>

#include <memory>
#include <optional>

namespace {

// While one of a list's boxes has the focus, Enter adds the entry instead of ending the dialog.
class TDefaultWhileFocused : public QObject {
public:
    TDefaultWhileFocused(QLineEdit* Box, QPushButton* Add, QPushButton* Accept)
        : QObject(Box), FAdd(Add), FAccept(Accept) {
        Box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::FocusIn)
            FAdd->setDefault(true);
        else if (Event->type() == QEvent::FocusOut)
            FAccept->setDefault(true);
        return false;
    }

private:
    QPushButton* FAdd;
    QPushButton* FAccept;
};

// The widgets of one list, bound to the list's controller.
class TQtEntryList {
public:
    TQtEntryList(TEntryList& List, QListWidget* Items, QLineEdit* Value, QLineEdit* Second,
                 TEditKind Kind, const std::array<QPushButton*, 5>& Buttons, QPushButton* Accept)
        : FItems(Items, [&List] { List.ListClick(); }), FValue(Value, Kind), FAgregar(Buttons[0]),
          FModificar(Buttons[1]), FQuitar(Buttons[2]), FSubir(Buttons[3]), FBajar(Buttons[4]) {
        if (Second != nullptr)
            FSecond.emplace(Second, TEditKind::Address);
        List.List = &FItems;
        List.Value = &FValue;
        List.Second = FSecond ? &*FSecond : nullptr;
        List.btnAgregar = &FAgregar;
        List.btnModificar = &FModificar;
        List.btnQuitar = &FQuitar;
        List.btnSubir = &FSubir;
        List.btnBajar = &FBajar;
        void (TEntryList::*const Handlers[])() = {
            &TEntryList::btnAgregarClick, &TEntryList::btnModificarClick,
            &TEntryList::btnQuitarClick, &TEntryList::btnSubirClick, &TEntryList::btnBajarClick};
        for (std::size_t I = 0; I < Buttons.size(); ++I)
            QObject::connect(Buttons[I], &QPushButton::clicked, Buttons[I],
                             [&List, H = Handlers[I]] { RunHandler([&] { (List.*H)(); }); });
        for (QLineEdit* Box : {Value, Second})
            if (Box != nullptr)
                new TDefaultWhileFocused(Box, Buttons[0], Accept);
    }

private:
    TQtListBox FItems;
    TQtEdit FValue;
    std::optional<TQtEdit> FSecond;
    TQtButton FAgregar, FModificar, FQuitar, FSubir, FBajar;
};

class TQtAdvancedView : public TQtDialog {
public:
    explicit TQtAdvancedView(TFrmAdvancedOptions& Form)
        : TQtDialog(TPlacement::Owner), FForm(Form) {
        FixSize();
        Form.rbSinCambios = &FKeep;
        Form.rbAutomatica = &FAutomatic;
        Form.rbEstatica = &FStatic;
        Form.edtIPv6Gateway = &FGateway;
        for (QRadioButton* Mode : {FUi.rbSinCambios, FUi.rbAutomatica, FUi.rbEstatica})
            connect(Mode, &QRadioButton::clicked, this,
                    [this] { RunHandler([this] { FForm.IPv6ModeClick(); }); });
        connect(FUi.btnAceptar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnAceptarClick(); }); });
        connect(FUi.btnCancelar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnCancelarClick(); }); });
    }

private:
    void OnShow() override { FForm.FormShow(); }
    void OnCloseBox() override { FForm.btnCancelarClick(); }

    TFrmAdvancedOptions& FForm;
    TQtForm<Ui::AdvancedDialog> FUi{this};
    TQtEntryList FAddresses{FForm.Addresses,
                            FUi.lstAddresses,
                            FUi.edtAddresses,
                            FUi.edtAddressesSecond,
                            TEditKind::Address,
                            {FUi.btnAddressesAgregar, FUi.btnAddressesModificar,
                             FUi.btnAddressesQuitar, FUi.btnAddressesSubir, FUi.btnAddressesBajar},
                            FUi.btnAceptar};
    TQtEntryList FGateways{FForm.Gateways,
                           FUi.lstGateways,
                           FUi.edtGateways,
                           FUi.edtGatewaysSecond,
                           TEditKind::Address,
                           {FUi.btnGatewaysAgregar, FUi.btnGatewaysModificar, FUi.btnGatewaysQuitar,
                            FUi.btnGatewaysSubir, FUi.btnGatewaysBajar},
                           FUi.btnAceptar};
    TQtEntryList FDns{FForm.Dns,
                      FUi.lstDns,
                      FUi.edtDns,
                      nullptr,
                      TEditKind::Address,
                      {FUi.btnDnsAgregar, FUi.btnDnsModificar, FUi.btnDnsQuitar, FUi.btnDnsSubir,
                       FUi.btnDnsBajar},
                      FUi.btnAceptar};
    TQtEntryList FIPv6Addresses{FForm.IPv6Addresses,
                                FUi.lstIPv6Addresses,
                                FUi.edtIPv6Addresses,
                                FUi.edtIPv6AddressesSecond,
                                TEditKind::Plain,
                                {FUi.btnIPv6AddressesAgregar, FUi.btnIPv6AddressesModificar,
                                 FUi.btnIPv6AddressesQuitar, FUi.btnIPv6AddressesSubir,
                                 FUi.btnIPv6AddressesBajar},
                                FUi.btnAceptar};
    TQtEntryList FIPv6Dns{FForm.IPv6Dns,
                          FUi.lstIPv6Dns,
                          FUi.edtIPv6Dns,
                          nullptr,
                          TEditKind::Plain,
                          {FUi.btnIPv6DnsAgregar, FUi.btnIPv6DnsModificar, FUi.btnIPv6DnsQuitar,
                           FUi.btnIPv6DnsSubir, FUi.btnIPv6DnsBajar},
                          FUi.btnAceptar};
    TQtCheck FKeep{FUi.rbSinCambios};
    TQtCheck FAutomatic{FUi.rbAutomatica};
    TQtCheck FStatic{FUi.rbEstatica};
    TQtEdit FGateway{FUi.edtIPv6Gateway};
};

} // namespace

std::unique_ptr<TFormView> MakeQtAdvancedView(TFrmAdvancedOptions& Form) {
    return std::make_unique<TQtAdvancedView>(Form);
}
