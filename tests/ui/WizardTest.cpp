#include "fakes/FakeControls.h"
#include "fakes/TempStore.h"
#include "ui/frmWizardUnit.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

const char* const NoConnection = "Debe seleccionar un adaptador de Red.";
const char* const NoAddress = "Ingrese la direccion IP y la mascara de Red.";
const char* const NoGateway = "Ingrese la direccion IP del gateway por defecto.";
const char* const NoDns = "Ingrese las direcciones IP de los servidores DNS.";
const char* const ShortName = "La descripcion debe tener al menos 3 caracteres.";
const char* const LeaveQuestion = "\u00bfDesea salir del asistente de configuracion de IP...?";

// A wizard over a fresh store holding two connections, with its controls in memory and its row
// put into insert state as the main window does.
struct WizardRun {
    TempStore Store;
    int Lan = PostConnection(Store.Db, "Conexión de área local");
    int Wifi = PostConnection(Store.Db, "Wi-Fi");
    FakeNotebook nbWizard;
    FakeButton btnAtras{"btnAtras"}, btnSiguiente{"btnSiguiente"};
    FakeCombo edtConnection{"edtConnection"};
    FakeCheck rbNoDhcp{"rbNoDhcp"}, rbSiDhcp{"rbSiDhcp"};
    FakeEdit txtDireccionIP{"txtDireccionIP"}, txtMascaraRed{"txtMascaraRed"},
        txtGateway{"txtGateway"}, edtDNS1{"edtDNS1"}, edtDNS2{"edtDNS2"},
        txtDescripcion{"txtDescripcion"}, txtResumen{"txtResumen"};
    FakeMessages Messages;
    FakeFormView* View = nullptr;
    std::unique_ptr<TfrmWizard> Form;

    WizardRun() {
        FakeFocus::Name.clear();
        TfrmWizard::ViewFactory = [this](TfrmWizard& F) {
            F.nbWizard = &nbWizard;
            F.btnAtras = &btnAtras;
            F.btnSiguiente = &btnSiguiente;
            F.edtConnection = &edtConnection;
            F.rbNoDhcp = &rbNoDhcp;
            F.rbSiDhcp = &rbSiDhcp;
            F.txtDireccionIP = &txtDireccionIP;
            F.txtMascaraRed = &txtMascaraRed;
            F.txtGateway = &txtGateway;
            F.edtDNS1 = &edtDNS1;
            F.edtDNS2 = &edtDNS2;
            F.txtDescripcion = &txtDescripcion;
            F.txtResumen = &txtResumen;
            auto V = std::make_unique<FakeFormView>();
            View = V.get();
            return V;
        };
        Form = std::make_unique<TfrmWizard>(nullptr);
        Form->SetIPSetsTable(Store.Db.IPSets());
        Form->SetConnectionsTable(Store.Db.ConnectionNames());
        Form->dsIPSets()->Insert();
    }
    ~WizardRun() { TfrmWizard::ViewFactory = nullptr; }

    void Pick(int Index) {
        edtConnection.Index = Index;
        Form->edtConnectionChange();
    }
    void ChooseDhcp(bool Dhcp) {
        rbSiDhcp.IsChecked = Dhcp;
        rbNoDhcp.IsChecked = !Dhcp;
        if (Dhcp)
            Form->rbSiDhcpClick();
        else
            Form->rbNoDhcpClick();
    }
    // The IP address, mask, gateway, preferred and alternate DNS boxes.
    void Type(const std::vector<std::string>& Values) {
        FakeEdit* Boxes[] = {&txtDireccionIP, &txtMascaraRed, &txtGateway, &edtDNS1, &edtDNS2};
        for (std::size_t I = 0; I < 5; ++I)
            Boxes[I]->Value = Values[I];
    }
    // Walks forward with valid values to the page given.
    void WalkTo(int Page) {
        Pick(1);
        Type({"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8", "8.8.4.4"});
        while (Form->PageIndex() < Page)
            Form->btnSiguienteClick();
    }
    std::string Stored(const char* Column) {
        return Store.Db.IPSets()->FieldByName(Column).AsString();
    }
};

enum TAct { Next, Back, Pick, Clear, Dhcp, Static };
struct TStep {
    TAct Act;
    int Page;
    const char* Focus;   // where the focus is afterwards; nullptr: not moved
    const char* Warning; // the one warning shown, or nullptr
};

TEST(Wizard_Pages, WalkStaticAndDhcpBothWaysWithTheirChecksAndFocus) {
    // clang-format off
    const TStep Steps[] = {
        {Next, 1, "edtConnection", nullptr},     {Next, 1, "edtConnection", NoConnection},
        {Pick, 1, nullptr, nullptr},             {Clear, 1, nullptr, nullptr}, // the Delete key
        {Next, 1, "edtConnection", NoConnection}, {Pick, 1, nullptr, nullptr},
        {Next, 2, "rbNoDhcp", nullptr},          {Next, 3, "txtGateway", nullptr},
        {Next, 4, "edtDNS1", nullptr},           {Next, 5, "txtDescripcion", nullptr},
        {Back, 4, nullptr, nullptr},             {Back, 3, nullptr, nullptr},
        {Back, 2, nullptr, nullptr},             {Dhcp, 2, nullptr, nullptr},
        {Next, 5, "txtDescripcion", nullptr},    {Back, 2, nullptr, nullptr},
        {Back, 1, nullptr, nullptr},             {Next, 2, "rbNoDhcp", nullptr},
        {Next, 5, "txtDescripcion", nullptr},    {Back, 2, nullptr, nullptr},
        {Static, 2, "txtDireccionIP", nullptr},  {Next, 3, "txtGateway", nullptr},
        {Back, 2, nullptr, nullptr},             {Back, 1, nullptr, nullptr},
        {Back, 0, nullptr, nullptr},             {Back, 0, nullptr, nullptr},
    };
    // clang-format on
    WizardRun W;
    EXPECT_EQ(W.View->Caption, "Asistente de Configuracion de IP");
    EXPECT_EQ(W.edtConnection.Items, (std::vector<std::string>{"Conexión de área local", "Wi-Fi"}));
    EXPECT_EQ(W.edtConnection.Index, -1);
    EXPECT_EQ(W.nbWizard.PageIndex, 0);
    W.Type({"10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.2", "10.0.0.3"});
    for (const TStep& S : Steps) {
        SCOPED_TRACE(&S - Steps);
        const std::size_t Boxes = W.Messages.Boxes.size();
        const std::string FocusBefore = FakeFocus::Name;
        if (S.Act == Next)
            W.Form->btnSiguienteClick();
        else if (S.Act == Back)
            W.Form->btnAtrasClick();
        else if (S.Act == Pick || S.Act == Clear)
            W.Pick(S.Act == Pick ? 0 : -1);
        else
            W.ChooseDhcp(S.Act == Dhcp);
        EXPECT_EQ(W.nbWizard.PageIndex, S.Page);
        EXPECT_EQ(W.btnAtras.IsEnabled, S.Page != 0);
        EXPECT_EQ(W.btnSiguiente.Caption, S.Page == 5 ? "&Finalizar" : "&Siguiente");
        EXPECT_EQ(FakeFocus::Name, S.Focus ? S.Focus : FocusBefore);
        EXPECT_EQ(W.Stored("CONNECTION"), std::to_string(W.edtConnection.Index < 0 ? 0 : W.Lan));
        for (const FakeEdit* Box : {&W.txtDireccionIP, &W.txtMascaraRed}) {
            EXPECT_EQ(Box->IsEnabled, W.rbNoDhcp.IsChecked);
            EXPECT_EQ(Box->Color, W.rbNoDhcp.IsChecked ? clWhite : clBtnFace);
        }
        ASSERT_EQ(W.Messages.Boxes.size(), Boxes + (S.Warning ? 1 : 0));
        if (S.Warning) {
            EXPECT_EQ(W.Messages.Boxes.back().Text, S.Warning);
            EXPECT_EQ(W.Messages.Boxes.back().Caption, "Wizard");
            EXPECT_EQ(W.Messages.Boxes.back().Flags, 0x30u);
        }
    }
    EXPECT_EQ(W.Form->dsIPSets()->State(), TDataSetState::dsInsert);
}

// Each address box of a page, trimmed, must be a valid address. Until now any seven characters
// passed, and "1234567", "0.0.0.0", "999.1.1.1", "1..2..3", "10.0.0.1 x" or "8.8.04.4" were
// stored, to fail only when the set was applied.
TEST(Wizard_AddressCheck, EveryBoxOfThePageMustHoldAValidAddress) {
    const struct {
        int Page;
        const char* A; // IP address, gateway or preferred DNS
        const char* B; // subnet mask or alternate DNS
        bool Passes;
    } Cases[] = {
        {2, " 192.168.1.10\t", " 255.255.255.0 ", true},
        {2, "1234567", "255.255.255.0", false},
        {2, "0.0.0.0", "255.255.255.0", false},
        {2, "999.1.1.1", "255.255.255.0", false},
        {2, "192.168.1.10", "1..2..3", false}, // only the mask is wrong: focus on the address
        {3, " 10.0.0.1 ", "", true},
        {3, "10.0.0.1 x", "", false},
        {3, "", "", false},
        {4, "8.8.8.8", "8.8.4.4", true},
        {4, "8.8.8.8", "8.8.04.4", false}, // only the alternate is wrong: focus on the preferred
    };
    const struct {
        const char* Warning;
        const char* Focus;
        const char* Next; // focus after passing
    } Pages[] = {{NoAddress, "txtDireccionIP", "txtGateway"},
                 {NoGateway, "txtGateway", "edtDNS1"},
                 {NoDns, "edtDNS1", "txtDescripcion"}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::string(C.A) + " / " + C.B);
        WizardRun W;
        W.WalkTo(C.Page);
        FakeEdit* Boxes[][2] = {{&W.txtDireccionIP, &W.txtMascaraRed},
                                {&W.txtGateway, nullptr},
                                {&W.edtDNS1, &W.edtDNS2}};
        const auto& P = Pages[C.Page - 2];
        Boxes[C.Page - 2][0]->Value = C.A;
        if (Boxes[C.Page - 2][1])
            Boxes[C.Page - 2][1]->Value = C.B;
        W.Form->btnSiguienteClick();
        EXPECT_EQ(W.Form->PageIndex(), C.Passes ? C.Page + 1 : C.Page);
        EXPECT_EQ(FakeFocus::Name, C.Passes ? P.Next : P.Focus);
        ASSERT_EQ(W.Messages.Boxes.size(), C.Passes ? 0u : 1u);
        if (!C.Passes) {
            EXPECT_EQ(W.Messages.Boxes[0].Text, P.Warning);
            EXPECT_EQ(W.Messages.Boxes[0].Flags, 0x30u);
        }
    }
}

TEST(Wizard_Finish, SummarizesThenStoresTrimmedValuesUnderTheUpperCasedNameOrRefusesAShortOne) {
    const struct {
        bool Dhcp;
        const char* Typed;
        const char* Stored; // nullptr: refused
    } Cases[] = {
        {false, "abc", "ABC"},
        {true, "  ab  ", nullptr},
        {false, "ñú", nullptr}, // two characters, four bytes
        {true, " café\tñu ", "CAFé\tñU"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Typed);
        WizardRun W;
        W.WalkTo(2);
        W.Type({" 192.168.1.10 ", "255.255.255.0\t", " 192.168.1.1", "8.8.8.8 ", "8.8.4.4"});
        W.ChooseDhcp(C.Dhcp);
        while (W.Form->PageIndex() < 5)
            W.Form->btnSiguienteClick();
        // The summary shows the boxes as typed.
        EXPECT_EQ(W.txtResumen.Value, C.Dhcp ? "Adaptador      : Wi-Fi\r\n"
                                               "DHCP           : Si"
                                             : "Adaptador      : Wi-Fi\r\n"
                                               "Direccion IP   :  192.168.1.10 \r\n"
                                               "Mascara Red    : 255.255.255.0\t\r\n"
                                               "Gateway        :  192.168.1.1\r\n"
                                               "DNS Preferido  : 8.8.8.8 \r\n"
                                               "DNS Alternativo: 8.8.4.4\r\n"
                                               "DHCP           : No");
        W.txtDescripcion.Value = C.Typed;
        W.View->User = [&] { W.Form->btnSiguienteClick(); };
        ASSERT_EQ(W.Form->ShowModal(), C.Stored ? mrOK : mrNone);
        if (!C.Stored) {
            ASSERT_EQ(W.Messages.Boxes.size(), 1u);
            EXPECT_EQ(W.Messages.Boxes[0].Text, ShortName);
            EXPECT_EQ(W.Messages.Boxes[0].Flags, 0x30u);
            EXPECT_EQ(FakeFocus::Name, "txtDescripcion");
            EXPECT_EQ(W.Form->dsIPSets()->State(), TDataSetState::dsInsert);
            continue;
        }
        EXPECT_TRUE(W.Messages.Boxes.empty());
        EXPECT_EQ(W.Store.Db.IPSets()->RecordCount(), 1);
        const char* const Columns[] = {"IPADDRESS", "SUBNETMASK", "GATEWAY", "DNS", "DNS2"};
        const char* const Static[] = {"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8",
                                      "8.8.4.4"};
        for (int I = 0; I < 5; ++I)
            EXPECT_EQ(W.Stored(Columns[I]), C.Dhcp ? "0.0.0.0" : Static[I]) << Columns[I];
        EXPECT_EQ(W.Stored("IPSET_NAME"), C.Stored);
        EXPECT_EQ(W.Stored("DHCP"), C.Dhcp ? "True" : "False");
        EXPECT_EQ(W.Stored("CONNECTION"), std::to_string(W.Wifi));
    }
}

TEST(Wizard_Finish, RefusedPostLeavesTheLastPageOpenWithTheRowPending) {
    WizardRun W;
    W.WalkTo(5);
    W.txtDescripcion.Value = std::string(51, 'x');
    W.View->User = [&] {
        Fire([&] { W.Form->btnSiguienteClick(); });
        ASSERT_EQ(W.Messages.Boxes.size(), 1u); // the general error display
        EXPECT_EQ(W.Messages.Boxes[0].Flags, MsgBox::OK | MsgBox::IconError);
        EXPECT_FALSE(W.View->Ended);
        EXPECT_EQ(W.Form->PageIndex(), 5);
        EXPECT_EQ(W.Form->dsIPSets()->State(), TDataSetState::dsInsert);
        W.txtDescripcion.Value = std::string(50, 'x');
        W.Form->btnSiguienteClick();
    };
    EXPECT_EQ(W.Form->ShowModal(), mrOK);
    EXPECT_EQ(W.Stored("IPSET_NAME"), std::string(50, 'X'));
    EXPECT_EQ(W.Store.Db.IPSets()->FieldByName("ID").AsInteger(), 1);
}

TEST(Wizard_Cancel, NoKeepsEverythingYesAndTheCloseBoxDiscardWithoutUsingAnID) {
    for (const bool CloseBox : {false, true}) {
        WizardRun W;
        W.WalkTo(3);
        W.Messages.Answers = {MsgBox::IdNo, MsgBox::IdYes};
        W.View->User = [&] {
            if (CloseBox)
                return W.Form->CloseBoxClick();
            W.Form->btnCancelar1Click();
            EXPECT_EQ(W.Form->ModalResult(), mrNone);
            EXPECT_EQ(W.Form->PageIndex(), 3);
            EXPECT_EQ(W.txtGateway.Value, "192.168.1.1");
            EXPECT_EQ(W.Form->dsIPSets()->State(), TDataSetState::dsInsert);
            W.Form->btnCancelar1Click();
        };
        EXPECT_EQ(W.Form->ShowModal(), mrCancel);
        ASSERT_EQ(W.Messages.Boxes.size(), CloseBox ? 0u : 2u);
        for (const auto& Box : W.Messages.Boxes)
            EXPECT_EQ(std::tie(Box.Text, Box.Caption, Box.Flags),
                      std::make_tuple(std::string(LeaveQuestion), std::string("Wizard"), 0x24u));
        EXPECT_EQ(W.Store.Db.IPSets()->State(), TDataSetState::dsBrowse);
        EXPECT_EQ(PostIPSet(W.Store.Db, "SIGUIENTE", W.Lan, true, {}), 1);
    }
}

} // namespace
