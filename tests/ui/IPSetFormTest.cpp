#include "ui/f_IPSet.h"

#include "data/ExtrasStore.h"
#include "fakes/FakeControls.h"
#include "fakes/TempStore.h"
#include "ui/FakeAdvancedView.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

const char* const AddressColumns[] = {"IPADDRESS", "SUBNETMASK", "GATEWAY", "DNS", "DNS2"};

struct FakeIPSetView : FakeFormView {
    explicit FakeIPSetView(TFrmIPSet& F) {
        F.edtIPSetName = &Name;
        TEdit** Bound[] = {&F.edtIPAddress, &F.edtSubnetMask, &F.edtDefGateway, &F.edtDNS1,
                           &F.edtDNS2};
        for (int I = 0; I < 5; ++I)
            *Bound[I] = &Boxes[I];
        F.edtConnection = &Connection;
        F.DHCPCheck = &Dhcp;
    }
    FakeEdit Name{"edtIPSetName"};
    FakeEdit Boxes[5] = {FakeEdit("edtIPAddress"), FakeEdit("edtSubnetMask"),
                         FakeEdit("edtDefGateway"), FakeEdit("edtDNS1"), FakeEdit("edtDNS2")};
    FakeCombo Connection{"edtConnection"};
    FakeCheck Dhcp{"DHCPCheck"};
};

// What the user types and picks.
struct Entry {
    std::string Name;
    std::array<std::string, 5> Addresses;
    std::string Connection;
    bool Dhcp = false;
};

const Entry Valid = {
    "Oficina", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8", "8.8.4.4"}, "Ethernet"};

class IPSetEditor : public ::testing::Test {
protected:
    void SetUp() override {
        TFrmIPSet::ViewFactory = [this](TFrmIPSet& F) {
            auto V = std::make_unique<FakeIPSetView>(F);
            View = V.get();
            return V;
        };
        Ethernet = PostConnection(Store.Db, "Ethernet");
        WiFi = PostConnection(Store.Db, "Wi-Fi");
    }
    void TearDown() override { TFrmIPSet::ViewFactory = nullptr; }

    TDataSet& IPSets() { return *Store.Db.IPSets(); }

    // As the main window opens it: tables, then a new row or the current one.
    std::unique_ptr<TFrmIPSet> Open(bool ForEdit = false) {
        auto Form = std::make_unique<TFrmIPSet>(nullptr);
        Form->SetIPSetsTable(&IPSets());
        Form->SetConnectionsTable(Store.Db.ConnectionNames());
        Form->SetDatabase(Store.Db.AdoConnection());
        ForEdit ? Form->LoadForEdit() : Form->PrepareNew();
        return Form;
    }

    void Type(const Entry& E, TFrmIPSet& Form) {
        View->Name.Value = E.Name;
        for (int I = 0; I < 5; ++I)
            View->Boxes[I].Value = E.Addresses[I];
        Pick(E.Connection, Form);
        View->Dhcp.IsChecked = E.Dhcp;
        Form.DHCPCheckClick();
    }

    void Pick(const std::string& Connection, TFrmIPSet& Form) {
        View->Connection.Pick(Connection);
        Form.edtConnectionChange();
    }

    // Adds a set as typed, pressing Aceptar once; the modal result.
    int Add(const Entry& E) {
        auto Form = Open();
        View->User = [&] {
            Type(E, *Form);
            Fire([&] { Form->btnAceptarClick(); });
        };
        return Form->ShowModal();
    }

    int RowsInFile() {
        TgtIPDBManager Other(nullptr);
        Other.OpenDatabase(Store.FileName);
        return Other.IPSets()->RecordCount();
    }

    TempStore Store;
    FakeMessages Messages;
    FakeIPSetView* View = nullptr;
    int Ethernet = 0, WiFi = 0;
};

TEST_F(IPSetEditor, Aceptar_StopsAtTheFirstFailedCheckAndFocusesItsBox) {
    const struct {
        Entry Typed;
        const char* Message;
        const char* Focus;
    } Cases[] = {
        {{"", {}, ""}, "El nombre de configuracion de IP no es valida.", "edtIPSetName"},
        {{" ab\t", {}, "", true}, "El nombre de configuracion de IP no es valida.", "edtIPSetName"},
        {{"abc", {}, ""}, "La direccion IP no es valida.", "edtIPAddress"},
        {{"abc", {"0.0.0.0", "255.0.0.0", "1.1.1.1", "8.8.8.8", "8.8.4.4"}, "Ethernet"},
         "La direccion IP no es valida.",
         "edtIPAddress"},
        {{"abc", {"10.0.0.1"}, ""}, "La mascara de red no es valida.", "edtSubnetMask"},
        {{"abc", {"10.0.0.1", "255.0.0.0", "1.2.3"}, ""},
         "La direccion del gateway no es valida.",
         "edtDefGateway"},
        {{"abc", {"10.0.0.1", "255.0.0.0", "10.0.0.2", "01.2.3.4"}, ""},
         "Servidor DNS preferido no es valida.",
         "edtDNS1"},
        {{"abc", {"10.0.0.1", "255.0.0.0", "10.0.0.2", "1.2.3.4", ""}, "Ethernet"},
         "Servidor DNS alternativo no es valida.",
         "edtDNS2"},
        {{"abc", {"10.0.0.1", "255.0.0.0", "10.0.0.2", "1.2.3.4", "1.2.3.5"}, ""},
         "Seleccione un adaptador de red.",
         "edtConnection"},
        {{"abc", {"x"}, "", true}, "Seleccione un adaptador de red.", "edtConnection"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Message + (" '" + C.Typed.Name + "' " + C.Typed.Addresses[0]));
        auto Form = Open();
        Form->FormShow();
        EXPECT_EQ(FakeFocus::Name, "edtIPSetName");
        Type(C.Typed, *Form);
        Messages.Boxes.clear();
        Fire([&] { Form->btnAceptarClick(); });
        ASSERT_EQ(Messages.Boxes.size(), 1u);
        EXPECT_EQ(Messages.Boxes[0].Text, C.Message);
        EXPECT_EQ(Messages.Boxes[0].Caption, "Wizard");
        EXPECT_EQ(Messages.Boxes[0].Flags, 0x30u);
        EXPECT_EQ(FakeFocus::Name, C.Focus);
        EXPECT_EQ(Form->ModalResult(), mrNone);
        EXPECT_EQ(IPSets().State(), TDataSetState::dsInsert);
        Form->btnCancelarClick();
    }
}

TEST_F(IPSetEditor, Aceptar_StoresTrimmedTextsOrFiveZeroAddressesForDhcp) {
    const Entry Static = {"  Oficina 2 ", Valid.Addresses, "Wi-Fi"};
    const Entry Dhcp = {"Casa", {"1.2.3.4", "x"}, "Ethernet", true};
    ASSERT_EQ(Add(Static), mrOK);
    ASSERT_EQ(Add(Dhcp), mrOK);
    EXPECT_TRUE(Messages.Boxes.empty());
    IPSets().Refresh();
    EXPECT_EQ(ColumnValues(IPSets(), "ID"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(ColumnValues(IPSets(), "IPSET_NAME"),
              (std::vector<std::string>{"Oficina 2", "Casa"}));
    EXPECT_EQ(ColumnValues(IPSets(), "DHCP"), (std::vector<std::string>{"False", "True"}));
    EXPECT_EQ(ColumnValues(IPSets(), "CONNECTION"),
              (std::vector<std::string>{std::to_string(WiFi), std::to_string(Ethernet)}));
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(ColumnValues(IPSets(), AddressColumns[I]),
                  (std::vector<std::string>{Valid.Addresses[I], "0.0.0.0"}));
}

TEST_F(IPSetEditor, NameTheStoreRefuses_IsShownWithTheDialogOpenAndTheRowPending) {
    Application().Title = "Quelvano v1.47";
    auto Form = Open();
    View->User = [&] {
        Type({std::string(51, 'N'), Valid.Addresses, "Ethernet"}, *Form);
        Fire([&] { Form->btnAceptarClick(); });
        ASSERT_EQ(Messages.Boxes.size(), 1u);
        EXPECT_EQ(Messages.Boxes[0].Caption, "Quelvano v1.47");
        EXPECT_EQ(Messages.Boxes[0].Flags, 0x10u);
        EXPECT_FALSE(View->Ended);
        EXPECT_EQ(IPSets().State(), TDataSetState::dsInsert);
        EXPECT_EQ(RowsInFile(), 0);
        View->Name.Value = std::string(50, 'N');
        Fire([&] { Form->btnAceptarClick(); });
    };
    EXPECT_EQ(Form->ShowModal(), mrOK);
    EXPECT_EQ(IPSets().FieldByName("ID").AsInteger(), 1);
}

// Another command that moved the table meanwhile leaves no row to post: no OK for nothing saved.
TEST_F(IPSetEditor, RowNoLongerPending_AceptarSaysSoAndKeepsTheDialogOpen) {
    auto Form = Open();
    View->User = [&] {
        Type(Valid, *Form);
        IPSets().Cancel();
        Fire([&] { Form->btnAceptarClick(); });
        EXPECT_EQ(Messages.Boxes.size(), 1u);
        EXPECT_FALSE(View->Ended);
        Fire([&] { Form->btnCancelarClick(); });
    };
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(RowsInFile(), 0);
}

TEST_F(IPSetEditor, CancelOrCloseBox_WriteNothingAndUseUpNoID) {
    const int Kept = PostIPSet(Store.Db, "Kept", Ethernet, false,
                               {Valid.Addresses.begin(), Valid.Addresses.end()});
    for (const bool Close : {false, true}) {
        for (const bool ForEdit : {false, true}) {
            SCOPED_TRACE(std::string(Close ? "close box" : "Cancelar") +
                         (ForEdit ? " edit" : " add"));
            ASSERT_TRUE(IPSets().Locate("ID", Kept));
            auto Form = Open(ForEdit);
            View->User = [&] {
                Type({"Changed", Valid.Addresses, "Wi-Fi"}, *Form);
                Close ? Form->CloseBoxClick() : Form->btnCancelarClick();
            };
            EXPECT_EQ(Form->ShowModal(), mrCancel);
            IPSets().Refresh();
            EXPECT_EQ(ColumnValues(IPSets(), "IPSET_NAME"), std::vector<std::string>{"Kept"});
            EXPECT_EQ(ColumnValues(IPSets(), "CONNECTION"),
                      std::vector<std::string>{std::to_string(Ethernet)});
        }
    }
    ASSERT_EQ(Add(Valid), mrOK);
    EXPECT_EQ(IPSets().FieldByName("ID").AsInteger(), Kept + 1);
}

TEST_F(IPSetEditor, LoadForEdit_ShowsTheSetAndAsksAgainForAConnectionThatIsGone) {
    const std::vector<std::string> Zeros(5, "0.0.0.0");
    const int Dhcp = PostIPSet(Store.Db, "DHCP", WiFi, true, Zeros);
    const int Gone = PostIPSet(Store.Db, "GONE", 99, false, Zeros);
    const struct {
        int Id;
        const char* Shown;
        TColor Colour;
    } Cases[] = {{Dhcp, "Wi-Fi", RGBColor(223, 223, 223)}, {Gone, "", clWhite}};
    for (const auto& C : Cases) {
        ASSERT_TRUE(IPSets().Locate("ID", C.Id));
        auto Form = Open(true);
        EXPECT_EQ(IPSets().State(), TDataSetState::dsEdit);
        EXPECT_EQ(View->Connection.Text(), C.Shown);
        for (const FakeEdit& Box : View->Boxes) {
            EXPECT_EQ(Box.Value, "0.0.0.0");
            EXPECT_EQ(Box.IsEnabled, C.Colour == clWhite);
            EXPECT_EQ(Box.Color, C.Colour);
        }
        Messages.Boxes.clear();
        View->User = [&] {
            View->Name.Value = "Nuevo";
            View->Dhcp.IsChecked = true;
            Form->DHCPCheckClick();
            Pick("Ethernet", *Form);
            Pick("", *Form); // the Delete key
            Fire([&] { Form->btnAceptarClick(); });
            Pick("Ethernet", *Form);
            Fire([&] { Form->btnAceptarClick(); });
        };
        EXPECT_EQ(Form->ShowModal(), mrOK);
        ASSERT_EQ(Messages.Boxes.size(), 1u);
        EXPECT_EQ(Messages.Boxes[0].Text, "Seleccione un adaptador de red.");
        ASSERT_TRUE(IPSets().Locate("ID", C.Id));
        EXPECT_EQ(IPSets().FieldByName("IPSET_NAME").AsString(), "Nuevo");
        EXPECT_EQ(IPSets().FieldByName("CONNECTION").AsInteger(), Ethernet);
    }
    EXPECT_EQ(RowsInFile(), 2);
}

// "Opciones avanzadas" run through the editor's Avanzado, the user's script in Script.
struct AdvancedRun {
    AdvancedRun() {
        TFrmAdvancedOptions::ViewFactory = [this](TFrmAdvancedOptions& F) {
            auto V = std::make_unique<FakeAdvancedView>(F);
            V->User = [this, &F, View = V.get()] { Script(F, *View); };
            return V;
        };
    }
    ~AdvancedRun() { TFrmAdvancedOptions::ViewFactory = nullptr; }
    std::function<void(TFrmAdvancedOptions&, FakeAdvancedView&)> Script;
};

TEST_F(IPSetEditor, Aceptar_StoresTheExtrasWithTheSetAndCancelarOfEitherDialogNothing) {
    AdvancedRun Advanced;
    auto AddDns = [&](const std::string& Dns, bool Accept) {
        Advanced.Script = [=](TFrmAdvancedOptions& F, FakeAdvancedView& V) {
            V.Dns.Value.Value = Dns;
            F.Dns.btnAgregarClick();
            Accept ? F.btnAceptarClick() : F.btnCancelarClick();
        };
    };
    auto Form = Open();
    View->User = [&] {
        Type({"Dhcp", {}, "Ethernet", true}, *Form);
        AddDns("10.0.0.9", true);
        Form->btnAvanzadoClick();
        AddDns("10.0.0.8", false);
        Form->btnAvanzadoClick();
        Form->btnAceptarClick();
    };
    ASSERT_EQ(Form->ShowModal(), mrOK);
    const int ID = IPSets().FieldByName("ID").AsInteger();
    TIPSetExtras Stored;
    Stored.Dns = {"10.0.0.9"};
    EXPECT_TRUE(LoadIPSetExtras(*Store.Db.AdoConnection(), ID) == Stored);

    // Editing shows what the set has; the editor's Cancelar then keeps it.
    ASSERT_TRUE(IPSets().Locate("ID", ID));
    Form = Open(true);
    std::vector<std::string> Shown;
    Advanced.Script = [&](TFrmAdvancedOptions& F, FakeAdvancedView& V) {
        Shown = V.Dns.List.Items;
        EXPECT_FALSE(V.Dns.List.IsEnabled); // a DHCP set
        F.btnAceptarClick();
    };
    View->User = [&] {
        Form->btnAvanzadoClick();
        Form->btnCancelarClick();
    };
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(Shown, std::vector<std::string>{"10.0.0.9"});
    EXPECT_TRUE(LoadIPSetExtras(*Store.Db.AdoConnection(), ID) == Stored);
}

// The set's row and its extras are one change: when the extras cannot be written, neither is.
TEST_F(IPSetEditor, ExtrasTheStoreRefuses_LeaveNoSetBehind) {
    TStatement(*Store.Db.AdoConnection(), "DROP TABLE IPSetExtras").Step();
    AdvancedRun Advanced;
    Advanced.Script = [](TFrmAdvancedOptions& F, FakeAdvancedView& V) {
        V.Dns.Value.Value = "10.0.0.9";
        F.Dns.btnAgregarClick();
        F.btnAceptarClick();
    };
    auto Form = Open();
    View->User = [&] {
        Type(Valid, *Form);
        Form->btnAvanzadoClick();
        Fire([&] { Form->btnAceptarClick(); });
        EXPECT_EQ(Messages.Boxes.size(), 1u);
        Fire([&] { Form->btnCancelarClick(); });
    };
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(RowsInFile(), 0);
}

} // namespace
