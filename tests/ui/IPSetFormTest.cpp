#include "ui/f_IPSet.h"

#include "fakes/FakeControls.h"
#include "fakes/TempStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct FakeIPSetView : FakeFormView {
    explicit FakeIPSetView(TFrmIPSet& F) {
        F.edtIPSetName = &Name;
        F.edtIPAddress = &Address;
        F.edtSubnetMask = &Mask;
        F.edtDefGateway = &Gateway;
        F.edtDNS1 = &Dns1;
        F.edtDNS2 = &Dns2;
        F.edtConnection = &Connection;
        F.DHCPCheck = &Dhcp;
    }
    FakeEdit Name{"edtIPSetName"}, Address{"edtIPAddress"}, Mask{"edtSubnetMask"},
        Gateway{"edtDefGateway"}, Dns1{"edtDNS1"}, Dns2{"edtDNS2"};
    FakeCombo Connection{"edtConnection"};
    FakeCheck Dhcp{"DHCPCheck"};
    FakeEdit* AddressBoxes[5] = {&Address, &Mask, &Gateway, &Dns1, &Dns2};
};

// What the user types: name, the five addresses, the connection picked and DHCP.
struct Entry {
    std::string Name, Address, Mask, Gateway, Dns1, Dns2, Connection;
    bool Dhcp = false;
};

const Entry Valid = {"Oficina", "192.168.1.10", "255.255.255.0", "192.168.1.1",
                     "8.8.8.8", "8.8.4.4",      "Ethernet",      false};

const char* const AddressColumns[] = {"IPADDRESS", "SUBNETMASK", "GATEWAY", "DNS", "DNS2"};

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
        if (ForEdit)
            Form->LoadForEdit();
        else
            Form->PrepareNew();
        return Form;
    }

    void Type(const Entry& E, TFrmIPSet& Form) {
        View->Name.Value = E.Name;
        const std::string* Texts[] = {&E.Address, &E.Mask, &E.Gateway, &E.Dns1, &E.Dns2};
        for (int I = 0; I < 5; ++I)
            View->AddressBoxes[I]->Value = *Texts[I];
        View->Connection.Pick(E.Connection);
        Form.edtConnectionChange();
        View->Dhcp.IsChecked = E.Dhcp;
        Form.DHCPCheckClick();
    }

    // Types the entry and presses Aceptar while the dialog is shown; the modal result.
    int AddWith(const Entry& E) {
        auto Form = Open();
        View->User = [&] {
            Type(E, *Form);
            Fire([&] { Form->btnAceptarClick(); });
        };
        return Form->ShowModal();
    }

    // The number of rows in the file, seen through a connection of its own.
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
        {{"", "", "", "", "", "", "", false},
         "El nombre de configuracion de IP no es valida.",
         "edtIPSetName"},
        {{"  ab \t", "x", "", "", "", "", "", true},
         "El nombre de configuracion de IP no es valida.",
         "edtIPSetName"},
        {{"abc", "", "", "", "", "", "", false}, "La direccion IP no es valida.", "edtIPAddress"},
        {{"abc", "0.0.0.0", "255.255.255.0", "1.1.1.1", "8.8.8.8", "8.8.4.4", "Ethernet", false},
         "La direccion IP no es valida.",
         "edtIPAddress"},
        {{"abc", "10.0.0.1", "", "", "", "", "", false},
         "La mascara de red no es valida.",
         "edtSubnetMask"},
        {{"abc", "10.0.0.1", "255.0.0.0", "1.2.3", "", "", "", false},
         "La direccion del gateway no es valida.",
         "edtDefGateway"},
        {{"abc", "10.0.0.1", "255.0.0.0", "10.0.0.2", "01.2.3.4", "", "", false},
         "Servidor DNS preferido no es valida.",
         "edtDNS1"},
        {{"abc", "10.0.0.1", "255.0.0.0", "10.0.0.2", "1.2.3.4", "", "Ethernet", false},
         "Servidor DNS alternativo no es valida.",
         "edtDNS2"},
        {{"abc", "10.0.0.1", "255.0.0.0", "10.0.0.2", "1.2.3.4", "1.2.3.5", "", false},
         "Seleccione un adaptador de red.",
         "edtConnection"},
        {{"abc", "", "", "", "", "", "", true}, "Seleccione un adaptador de red.", "edtConnection"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Message + std::string(" / ") + C.Typed.Name + " " + C.Typed.Address);
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
    const struct {
        Entry Typed;
        std::string Name;
        std::string Address; // every address column for DHCP, the first one otherwise
    } Cases[] = {
        {{"  Oficina 2 ", "192.168.1.10", "255.255.255.0", "192.168.1.1", "8.8.8.8", "8.8.4.4",
          "Wi-Fi", false},
         "Oficina 2",
         "192.168.1.10"},
        {{"Casa", "", "", "", "", "", "Ethernet", true}, "Casa", "0.0.0.0"},
        {{"Hotel", "1.2.3.4", "x", "", "", "", "Wi-Fi", true}, "Hotel", "0.0.0.0"},
        {{"ab\xc3\xb1", "10.1.1.1", "255.0.0.0", "10.1.1.254", "10.1.1.2", "10.1.1.3", "Ethernet",
          false},
         "ab\xc3\xb1",
         "10.1.1.1"},
    };
    int Id = 0;
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Messages.Boxes.clear();
        ASSERT_EQ(AddWith(C.Typed), mrOK);
        EXPECT_TRUE(Messages.Boxes.empty());
        ASSERT_TRUE(IPSets().Locate("ID", ++Id)); // one ID per stored set, none skipped
        EXPECT_EQ(IPSets().FieldByName("IPSET_NAME").AsString(), C.Name);
        EXPECT_EQ(IPSets().FieldByName("DHCP").AsBoolean(), C.Typed.Dhcp);
        EXPECT_EQ(IPSets().FieldByName("CONNECTION").AsInteger(),
                  C.Typed.Connection == "Wi-Fi" ? WiFi : Ethernet);
        const std::string Typed[] = {C.Typed.Address, C.Typed.Mask, C.Typed.Gateway, C.Typed.Dns1,
                                     C.Typed.Dns2};
        for (int I = 0; I < 5; ++I)
            EXPECT_EQ(IPSets().FieldByName(AddressColumns[I]).AsString(), C.Typed.Dhcp ? "0.0.0.0"
                                                                          : I == 0     ? C.Address
                                                                                       : Typed[I]);
    }
}

TEST_F(IPSetEditor, NameTheStoreRefuses_ShowsItsErrorWithTheDialogOpenAndTheRowPending) {
    Application().Title = "Quelvano v1.47";
    auto Form = Open();
    Entry E = Valid;
    E.Name = std::string(51, 'N');
    View->User = [&] {
        Type(E, *Form);
        Fire([&] { Form->btnAceptarClick(); });
        ASSERT_EQ(Messages.Boxes.size(), 1u);
        EXPECT_EQ(Messages.Boxes[0].Caption, "Quelvano v1.47");
        EXPECT_EQ(Messages.Boxes[0].Flags, 0x10u);
        EXPECT_FALSE(View->Ended);
        EXPECT_EQ(IPSets().State(), TDataSetState::dsInsert);
        EXPECT_EQ(RowsInFile(), 0);
        // Corrected, it goes in as the first set.
        View->Name.Value = std::string(50, 'N');
        Fire([&] { Form->btnAceptarClick(); });
    };
    EXPECT_EQ(Form->ShowModal(), mrOK);
    EXPECT_EQ(IPSets().FieldByName("ID").AsInteger(), 1);
    EXPECT_EQ(RowsInFile(), 1);
}

TEST_F(IPSetEditor, CancelOrCloseBox_WriteNothingAndUseUpNoID) {
    const int Kept = PostIPSet(Store.Db, "Kept", Ethernet, false,
                               {"10.0.0.1", "255.0.0.0", "10.0.0.254", "10.0.0.2", "10.0.0.3"});
    for (const bool Close : {false, true}) {
        for (const bool ForEdit : {false, true}) {
            SCOPED_TRACE(std::string(Close ? "close box" : "Cancelar") +
                         (ForEdit ? " edit" : " add"));
            ASSERT_TRUE(IPSets().Locate("ID", Kept));
            auto Form = Open(ForEdit);
            View->User = [&] {
                Entry E = Valid;
                E.Name = "Changed";
                E.Connection = "Wi-Fi";
                Type(E, *Form);
                if (Close)
                    Form->CloseBoxClick();
                else
                    Form->btnCancelarClick();
            };
            EXPECT_EQ(Form->ShowModal(), mrCancel);
            EXPECT_EQ(IPSets().State(), TDataSetState::dsBrowse);
            IPSets().Refresh();
            EXPECT_EQ(ColumnValues(IPSets(), "IPSET_NAME"), std::vector<std::string>{"Kept"});
            EXPECT_EQ(ColumnValues(IPSets(), "CONNECTION"),
                      std::vector<std::string>{std::to_string(Ethernet)});
        }
    }
    ASSERT_EQ(AddWith(Valid), mrOK);
    EXPECT_EQ(IPSets().FieldByName("ID").AsInteger(), Kept + 1);
}

TEST_F(IPSetEditor, LoadForEdit_ShowsTheSetAndKeepsItsIDWhenSaved) {
    const int Dhcp = PostIPSet(Store.Db, "DHCP", WiFi, true,
                               {"0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0"});
    const int Gone = PostIPSet(Store.Db, "GONE", 99, false,
                               {"10.0.0.1", "255.0.0.0", "10.0.0.254", "10.0.0.2", "10.0.0.3"});

    // A DHCP set opens grey and disabled with its stored texts; unchecked, they fail the checks.
    ASSERT_TRUE(IPSets().Locate("ID", Dhcp));
    auto Form = Open(true);
    EXPECT_EQ(IPSets().State(), TDataSetState::dsEdit);
    EXPECT_EQ(View->Name.Value, "DHCP");
    EXPECT_EQ(View->Connection.Text(), "Wi-Fi");
    for (FakeEdit* Box : View->AddressBoxes) {
        EXPECT_EQ(Box->Value, "0.0.0.0");
        EXPECT_FALSE(Box->IsEnabled);
        EXPECT_EQ(Box->Color, RGBColor(223, 223, 223));
    }
    View->Dhcp.IsChecked = false;
    Form->DHCPCheckClick();
    for (FakeEdit* Box : View->AddressBoxes) {
        EXPECT_TRUE(Box->IsEnabled);
        EXPECT_EQ(Box->Color, clWhite);
    }
    Fire([&] { Form->btnAceptarClick(); });
    ASSERT_EQ(Messages.Boxes.size(), 1u);
    EXPECT_EQ(Messages.Boxes[0].Text, "La direccion IP no es valida.");
    Form->CloseBoxClick();

    // A set whose connection is gone shows none and asks for one; the new choice is saved.
    Messages.Boxes.clear();
    ASSERT_TRUE(IPSets().Locate("ID", Gone));
    Form = Open(true);
    EXPECT_EQ(View->Connection.ItemIndex(), -1);
    EXPECT_EQ(View->Connection.Items, (std::vector<std::string>{"Ethernet", "Wi-Fi"}));
    EXPECT_EQ(View->Connection.Data, (std::vector<int>{Ethernet, WiFi}));
    View->User = [&] {
        Fire([&] { Form->btnAceptarClick(); });
        View->Connection.Pick("Ethernet");
        Form->edtConnectionChange();
        View->Connection.Pick(""); // the Delete key
        Form->edtConnectionChange();
        Fire([&] { Form->btnAceptarClick(); });
        View->Connection.Pick("Wi-Fi");
        Form->edtConnectionChange();
        Fire([&] { Form->btnAceptarClick(); });
    };
    EXPECT_EQ(Form->ShowModal(), mrOK);
    ASSERT_EQ(Messages.Boxes.size(), 2u);
    EXPECT_EQ(Messages.Boxes[1].Text, "Seleccione un adaptador de red.");
    IPSets().Refresh();
    EXPECT_EQ(IPSets().RecordCount(), 2);
    ASSERT_TRUE(IPSets().Locate("ID", Gone));
    EXPECT_EQ(IPSets().FieldByName("CONNECTION").AsInteger(), WiFi);
    EXPECT_EQ(IPSets().FieldByName("IPADDRESS").AsString(), "10.0.0.1");
}

} // namespace
