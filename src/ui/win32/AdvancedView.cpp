#include "ui/win32/AdvancedView.h"

#include "ui/win32/AdvancedDialogIds.h"
#include "ui/win32/DialogBase.h"
#include "ui/win32/DlgControls.h"

#include <array>
#include <optional>

namespace {

// The controls of one list, numbered from its base, bound to the list's controller.
class TDlgEntryList {
public:
    TDlgEntryList(const TDialog& Dialog, int Base, TEntryList& List, TEditKind Kind, bool Second)
        : FBase(Base), FList(List), FValue(Dialog, Base + ADV_VALUE, Kind),
          FListBox(Dialog, Base + ADV_LIST), FAgregar(Dialog, Base + ADV_AGREGAR),
          FModificar(Dialog, Base + ADV_MODIFICAR), FQuitar(Dialog, Base + ADV_QUITAR),
          FSubir(Dialog, Base + ADV_SUBIR), FBajar(Dialog, Base + ADV_BAJAR) {
        if (Second)
            FSecond.emplace(Dialog, Base + ADV_SECOND, TEditKind::Address);
        List.List = &FListBox;
        List.Value = &FValue;
        List.Second = FSecond ? &*FSecond : nullptr;
        List.btnAgregar = &FAgregar;
        List.btnModificar = &FModificar;
        List.btnQuitar = &FQuitar;
        List.btnSubir = &FSubir;
        List.btnBajar = &FBajar;
    }

    // True when the command was one of this list's.
    bool Command(HWND Dialog, int Id, int Code) {
        if (Id < FBase || Id > FBase + ADV_BAJAR)
            return false;
        switch (Id - FBase) {
        case ADV_VALUE:
        case ADV_SECOND:
            // Enter in a list's boxes adds the entry instead of ending the dialog.
            if (Code == EN_SETFOCUS)
                SendMessageW(Dialog, DM_SETDEFID, WPARAM(FBase + ADV_AGREGAR), 0);
            else if (Code == EN_KILLFOCUS)
                SendMessageW(Dialog, DM_SETDEFID, IDOK, 0);
            break;
        case ADV_LIST:
            if (Code == LBN_SELCHANGE)
                FList.ListClick();
            break;
        default:
            if (Code == BN_CLICKED)
                Press(Id - FBase);
        }
        return true;
    }

private:
    void Press(int Button) {
        switch (Button) {
        case ADV_AGREGAR:
            FList.btnAgregarClick();
            break;
        case ADV_MODIFICAR:
            FList.btnModificarClick();
            break;
        case ADV_QUITAR:
            FList.btnQuitarClick();
            break;
        case ADV_SUBIR:
            FList.btnSubirClick();
            break;
        case ADV_BAJAR:
            FList.btnBajarClick();
            break;
        }
    }

    int FBase;
    TEntryList& FList;
    TDlgEdit FValue;
    std::optional<TDlgEdit> FSecond; // the mask, metric or prefix length
    TDlgListBox FListBox;
    TDlgButton FAgregar, FModificar, FQuitar, FSubir, FBajar;
};

class TAdvancedView : public TModalDialog {
public:
    explicit TAdvancedView(TFrmAdvancedOptions& Form)
        : TModalDialog(IDD_ADVANCED, TPlacement::Owner), FForm(Form) {
        Form.rbSinCambios = &FKeep;
        Form.rbAutomatica = &FAutomatic;
        Form.rbEstatica = &FStatic;
        Form.edtIPv6Gateway = &FGateway;
    }

private:
    // The dialog gave its first box the focus before this view could hear of it.
    void OnShow() override {
        FForm.FormShow();
        const int Focused = GetDlgCtrlID(GetFocus());
        for (TDlgEntryList* List : Lists())
            List->Command(Handle(), Focused, EN_SETFOCUS);
    }

    std::array<TDlgEntryList*, 5> Lists() {
        return {&FAddresses, &FGateways, &FDns, &FIPv6Addresses, &FIPv6Dns};
    }
    void OnCloseBox() override { FForm.btnCancelarClick(); }

    void OnCommand(int Id, int Code) override {
        for (TDlgEntryList* List : Lists())
            if (List->Command(Handle(), Id, Code))
                return;
        if ((Id == IDC_ADV_KEEP || Id == IDC_ADV_AUTOMATIC || Id == IDC_ADV_STATIC) &&
            Code == BN_CLICKED)
            FForm.IPv6ModeClick();
        else if (Id == IDOK)
            FForm.btnAceptarClick();
        else if (Id == IDCANCEL)
            FForm.btnCancelarClick();
    }

    TFrmAdvancedOptions& FForm;
    TDlgEntryList FAddresses{*this, IDC_ADV_ADDRESSES, FForm.Addresses, TEditKind::Address, true};
    TDlgEntryList FGateways{*this, IDC_ADV_GATEWAYS, FForm.Gateways, TEditKind::Address, true};
    TDlgEntryList FDns{*this, IDC_ADV_DNS, FForm.Dns, TEditKind::Address, false};
    TDlgEntryList FIPv6Addresses{*this, IDC_ADV_IPV6_ADDRESSES, FForm.IPv6Addresses,
                                 TEditKind::Plain, true};
    TDlgEntryList FIPv6Dns{*this, IDC_ADV_IPV6_DNS, FForm.IPv6Dns, TEditKind::Plain, false};
    TDlgCheck FKeep{*this, IDC_ADV_KEEP};
    TDlgCheck FAutomatic{*this, IDC_ADV_AUTOMATIC};
    TDlgCheck FStatic{*this, IDC_ADV_STATIC};
    TDlgEdit FGateway{*this, IDC_ADV_IPV6_GATEWAY};
};

} // namespace

std::unique_ptr<TFormView> MakeAdvancedView(TFrmAdvancedOptions& Form) {
    return std::make_unique<TAdvancedView>(Form);
}
