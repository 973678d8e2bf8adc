#include "ui/f_AdvancedOptions.h"

#include "fakes/FakeControls.h"
#include "ui/FakeAdvancedView.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class AdvancedOptions : public ::testing::Test {
protected:
    void SetUp() override {
        TFrmAdvancedOptions::ViewFactory = [this](TFrmAdvancedOptions& F) {
            auto V = std::make_unique<FakeAdvancedView>(F);
            View = V.get();
            return V;
        };
        Form = std::make_unique<TFrmAdvancedOptions>(nullptr);
    }
    void TearDown() override { TFrmAdvancedOptions::ViewFactory = nullptr; }

    // Types an entry into a list's boxes and presses Agregar.
    static void Add(TEntryList& L, FakeEntryList& V, const std::string& Value,
                    const std::string& Second = {}) {
        V.Value.Value = Value;
        V.Second.Value = Second;
        L.btnAgregarClick();
    }

    FakeMessages Messages;
    FakeAdvancedView* View = nullptr;
    std::unique_ptr<TFrmAdvancedOptions> Form;
};

TEST_F(AdvancedOptions, Agregar_ChecksTheEntryAndFocusesTheRefusedBox) {
    Form->LoadExtras({}, false);
    View->Static.IsChecked = true;
    Form->IPv6ModeClick();
    TFrmAdvancedOptions& F = *Form;
    FakeAdvancedView& V = *View;
    const struct {
        TEntryList& List;
        FakeEntryList& Boxes;
        const char* Value;
        const char* Second;
        const char* Message; // empty: listed as Shown
        const char* Focus;
        const char* Shown;
    } Cases[] = {
        {F.Addresses, V.Addresses, "10.0.0.300", "255.0.0.0",
         "La direccion IP adicional no es valida.", "Addresses.Value", ""},
        {F.Addresses, V.Addresses, "10.0.0.3", "255.0.255.0",
         "La mascara de red de la direccion adicional no es valida.", "Addresses.Second", ""},
        {F.Addresses, V.Addresses, " 10.0.0.3 ", "255.0.0.0", "", "", "10.0.0.3 / 255.0.0.0"},
        {F.Gateways, V.Gateways, "0.0.0.0", "1", "La direccion del gateway adicional no es valida.",
         "Gateways.Value", ""},
        {F.Gateways, V.Gateways, "10.0.0.2", "10000",
         "La metrica del gateway debe estar entre 1 y 9999.", "Gateways.Second", ""},
        {F.Gateways, V.Gateways, "10.0.0.2", "x",
         "La metrica del gateway debe estar entre 1 y 9999.", "Gateways.Second", ""},
        {F.Gateways, V.Gateways, "10.0.0.2", "20", "", "", "10.0.0.2, metrica 20"},
        {F.Dns, V.Dns, "1.2.3", "", "El servidor DNS adicional no es valido.", "Dns.Value", ""},
        {F.IPv6Addresses, V.IPv6Addresses, "fe80::1%eth0", "64", "La direccion IPv6 no es valida.",
         "IPv6Addresses.Value", ""},
        {F.IPv6Addresses, V.IPv6Addresses, "2001:db8::5", "129",
         "La longitud de prefijo debe estar entre 1 y 128.", "IPv6Addresses.Second", ""},
        {F.IPv6Addresses, V.IPv6Addresses, "2001:DB8:0:0:0:0:0:5", "64", "", "", "2001:db8::5/64"},
        {F.IPv6Dns, V.IPv6Dns, "::1", "", "El servidor DNS IPv6 no es valido.", "IPv6Dns.Value",
         ""},
        {F.IPv6Dns, V.IPv6Dns, "2001:4860:0:0::8888", "", "", "", "2001:4860::8888"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::string(C.Value) + " " + C.Second);
        Messages.Boxes.clear();
        FakeFocus::Name.clear();
        const auto Before = C.Boxes.List.Items;
        Add(C.List, C.Boxes, C.Value, C.Second);
        if (*C.Message) {
            ASSERT_EQ(Messages.Boxes.size(), 1u);
            EXPECT_EQ(Messages.Boxes[0].Text, C.Message);
            EXPECT_EQ(Messages.Boxes[0].Flags, 0x30u);
            EXPECT_EQ(FakeFocus::Name, C.Focus);
            EXPECT_EQ(C.Boxes.List.Items, Before);
        } else {
            EXPECT_TRUE(Messages.Boxes.empty());
            ASSERT_FALSE(C.Boxes.List.Items.empty());
            EXPECT_EQ(C.Boxes.List.Items.back(), C.Shown);
            EXPECT_EQ(C.Boxes.Value.Value, "");
        }
    }
}

// A person walks one list: the buttons that act on an entry wake only when they can act.
TEST_F(AdvancedOptions, ListButtons_AreEnabledOnlyWhenTheyCanAct) {
    Form->LoadExtras({}, false);
    TEntryList& L = Form->Dns;
    FakeEntryList& V = View->Dns;
    EXPECT_EQ(V.Enabled(), "10000");
    for (const char* Dns : {"10.0.0.1", "10.0.0.2", "10.0.0.3"})
        Add(L, V, Dns);
    EXPECT_EQ(V.List.Index, 2);
    EXPECT_EQ(V.Enabled(), "11110");
    const struct {
        void (TEntryList::*Press)();
        int Choose; // -1: as it stands
        std::vector<std::string> Items;
        int Index;
        const char* Enabled;
    } Steps[] = {
        {&TEntryList::btnSubirClick, -1, {"10.0.0.1", "10.0.0.3", "10.0.0.2"}, 1, "11111"},
        {&TEntryList::btnSubirClick, -1, {"10.0.0.3", "10.0.0.1", "10.0.0.2"}, 0, "11101"},
        {&TEntryList::btnBajarClick, 1, {"10.0.0.3", "10.0.0.2", "10.0.0.1"}, 2, "11110"},
        {&TEntryList::btnQuitarClick, 0, {"10.0.0.2", "10.0.0.1"}, 0, "11101"},
        {&TEntryList::btnQuitarClick, -1, {"10.0.0.1"}, 0, "11100"},
        {&TEntryList::btnQuitarClick, -1, {}, -1, "10000"},
    };
    for (const auto& S : Steps) {
        if (S.Choose >= 0) {
            V.List.Index = S.Choose;
            L.ListClick();
        }
        FakeFocus::Name.clear();
        (L.*S.Press)();
        EXPECT_EQ(V.List.Items, S.Items);
        EXPECT_EQ(V.List.Index, S.Index);
        EXPECT_EQ(V.Enabled(), S.Enabled);
    }
    // Subir at the top could not act again: the keyboard stays in the list.
    EXPECT_EQ(FakeFocus::Name, "Dns.List");
}

TEST_F(AdvancedOptions, ChoosingAnEntry_BringsItBackForModificar) {
    TIPSetExtras Given;
    Given.Gateways = {{"10.0.0.1", 5}, {"10.0.0.2", 7}};
    Form->LoadExtras(Given, false);
    FakeEntryList& V = View->Gateways;
    EXPECT_EQ(V.Second.Value, "1");
    V.List.Index = 1;
    Form->Gateways.ListClick();
    EXPECT_EQ(V.Value.Value, "10.0.0.2");
    EXPECT_EQ(V.Second.Value, "7");
    V.Second.Value = "0";
    Fire([&] { Form->Gateways.btnModificarClick(); });
    EXPECT_EQ(Messages.Boxes.size(), 1u);
    V.Second.Value = "9";
    Form->Gateways.btnModificarClick();
    EXPECT_EQ(V.List.Items,
              (std::vector<std::string>{"10.0.0.1, metrica 5", "10.0.0.2, metrica 9"}));
}

TEST_F(AdvancedOptions, DhcpAndIPv6Mode_DisableTheirPartsAndKeepTheirValues) {
    TIPSetExtras Given;
    Given.Addresses = {{"10.0.0.5", "255.0.0.0"}};
    Given.Dns = {"10.0.0.9"};
    Given.IPv6 = TIPv6Mode::Automatic;
    Given.IPv6Addresses = {{"2001:db8::5", 64}};
    Given.IPv6Gateway = "2001:db8::1";
    Form->LoadExtras(Given, true);
    EXPECT_TRUE(View->Automatic.IsChecked);
    for (FakeEntryList* L :
         {&View->Addresses, &View->Gateways, &View->Dns, &View->IPv6Addresses, &View->IPv6Dns}) {
        EXPECT_FALSE(L->List.IsEnabled) << L->List.Name;
        EXPECT_FALSE(L->Value.IsEnabled) << L->List.Name;
        EXPECT_EQ(L->Enabled(), "00000") << L->List.Name;
    }
    EXPECT_FALSE(View->Gateway.IsEnabled);
    Form->FormShow();
    EXPECT_EQ(FakeFocus::Name, "Automatic");
    View->Automatic.IsChecked = false;
    View->Static.IsChecked = true;
    Form->IPv6ModeClick();
    EXPECT_TRUE(View->Gateway.IsEnabled);
    EXPECT_EQ(View->IPv6Addresses.Enabled(), "10000");
    View->Gateway.Value = "2001:DB8::0:2";
    Form->btnAceptarClick();
    EXPECT_EQ(Form->ModalResult(), mrOK);
    TIPSetExtras Expected = Given;
    Expected.IPv6 = TIPv6Mode::Static;
    Expected.IPv6Gateway = "2001:db8::2";
    EXPECT_TRUE(Form->Extras() == Expected);
}

TEST_F(AdvancedOptions, AceptarWithABadIPv6Gateway_StaysOpenWithTheFocusThere) {
    Form->LoadExtras({}, false);
    View->Static.IsChecked = true;
    Form->IPv6ModeClick();
    View->Gateway.Value = "ff02::1";
    Form->btnAceptarClick();
    ASSERT_EQ(Messages.Boxes.size(), 1u);
    EXPECT_EQ(Messages.Boxes[0].Text, "La direccion del gateway IPv6 no es valida.");
    EXPECT_EQ(FakeFocus::Name, "Gateway");
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_TRUE(Form->Extras().Empty());
}

} // namespace
