// The dialogs' real windows, from the templates quelvano.exe links, driven under Wine as a person
// would drive them.
#include "base/TApplication.h"
#include "ui/f_IPSet.h"
#include "ui/win32/Dialogs.h"

#include "fakes/TempStore.h"
#include "ui/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace driver;

namespace {

const char* const AddCaption = "Agregar nueva IP";

class DialogViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterWin32Dialogs(); }
    void SetUp() override {
        Application().Title = "Quelvano v1.47";
        Ethernet = PostConnection(Store.Db, "Ethernet");
        WiFi = PostConnection(Store.Db, "Wi-Fi");
    }

    std::unique_ptr<TFrmIPSet> OpenEditor(const std::string& Caption, bool ForEdit) {
        auto Form = std::make_unique<TFrmIPSet>(nullptr);
        Form->SetIPSetsTable(Store.Db.IPSets());
        Form->SetConnectionsTable(Store.Db.ConnectionNames());
        if (ForEdit)
            Form->LoadForEdit();
        else
            Form->PrepareNew();
        Form->SetCaption(Caption);
        return Form;
    }

    TempStore Store;
    int Ethernet = 0, WiFi = 0;
};

TEST_F(DialogViews, Editor_TypedEntryIsFilteredCheckedAndStored) {
    auto Form = OpenEditor(AddCaption, false);
    const int Result = RunWithUser(*Form, AddCaption, [] {
        const HWND D = WaitForDialog(AddCaption);
        ASSERT_NE(D, nullptr);
        const HWND Name = Field(D, "Descripcion :");
        EXPECT_TRUE(WaitForFocus(D, Name));
        Type(Name, "  oficina \xc3\xb1u ");
        EXPECT_EQ(Text(Name), "  OFICINA \xc3\xb1U ");

        // Only digits and at most three dots get into an address box, fifteen at most.
        const HWND Address = Field(D, "Direccion IP :");
        Type(Address, "12345678901234567");
        EXPECT_EQ(Text(Address), "123456789012345");
        Type(Address, "19a2.168.-1.1 0.5");
        EXPECT_EQ(Text(Address), "192.168.1.105");
        // Right-clicking offers no menu: the box answers at once instead of tracking one.
        DWORD_PTR Ignored = 0;
        EXPECT_NE(SendMessageTimeoutW(Address, WM_CONTEXTMENU, WPARAM(Address), 0, SMTO_NORMAL,
                                      3000, &Ignored),
                  0);
        EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr);
        Type(Field(D, "Subnet Mask :"), "255.255.255.0");
        Type(Field(D, "Puerta de enlace :"), "192.168.1.1");
        Type(Field(D, "DNS preferido :"), "8.8.8.8");

        // Arrow keys choose, Delete clears.
        const HWND List = Field(D, "Adaptador de Red :");
        EXPECT_EQ(SendMessageW(List, CB_GETCOUNT, 0, 0), 2);
        Key(List, VK_DOWN);
        Key(List, VK_DELETE);
        EXPECT_EQ(SendMessageW(List, CB_GETCURSEL, 0, 0), CB_ERR);
        Key(List, VK_DOWN);
        Key(List, VK_DOWN);
        EXPECT_EQ(Text(List), "Wi-Fi");

        Press(Button(D, "&Aceptar"));
        EXPECT_EQ(Answer("Wizard"), "Servidor DNS alternativo no es valida.");
        const HWND Dns2 = Field(D, "DNS alternativo :");
        EXPECT_TRUE(WaitForFocus(D, Dns2));

        // DHCP greys the address boxes out, keeping their text; unticked they are white again.
        const HWND Dhcp = Button(D, "Habilitar DHCP");
        Press(Dhcp);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Address); }));
        EXPECT_EQ(PaintedBackground(Address), RGB(223, 223, 223));
        EXPECT_EQ(Text(Address), "192.168.1.105");
        Press(Dhcp);
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(Address); }));
        EXPECT_EQ(PaintedBackground(Address), RGB(255, 255, 255));

        Type(Dns2, "8.8.4.4");
        Press(Button(D, "&Aceptar"));
    });
    EXPECT_EQ(Result, mrOK);
    TDataSet& T = *Store.Db.IPSets();
    ASSERT_TRUE(T.Locate("ID", 1));
    EXPECT_EQ(T.FieldByName("IPSET_NAME").AsString(), "OFICINA \xc3\xb1U");
    EXPECT_EQ(T.FieldByName("IPADDRESS").AsString(), "192.168.1.105");
    EXPECT_EQ(T.FieldByName("DNS2").AsString(), "8.8.4.4");
    EXPECT_EQ(T.FieldByName("CONNECTION").AsInteger(), WiFi);
    EXPECT_FALSE(T.FieldByName("DHCP").AsBoolean());
}

} // namespace
