// The wizard's real window, from the templates quelvano.exe links, walked under Wine as a person
// would walk it.
#include "ui/frmWizardUnit.h"
#include "ui/win32/Dialogs.h"

#include "fakes/TempStore.h"
#include "ui/WizardPages.h"
#include "ui/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

using namespace driver;

namespace {

const char* const Caption = "Asistente de Configuracion de IP";
const char* const Leave = "\u00bfDesea salir del asistente de configuracion de IP...?";

// The client size at 96 DPI on Windows, whose dialog font gives 6 x 13 pixels for 4 x 8 dialog
// units; Wine's stand-in for it is wider (7 x 13).
SIZE WindowsClientSize(HWND Dialog) {
    RECT Units = {0, 0, 4, 8};
    MapDialogRect(Dialog, &Units);
    const SIZE Client = ClientSize(Dialog);
    return {MulDiv(Client.cx, 6, Units.right), MulDiv(Client.cy, 13, Units.bottom)};
}

std::set<std::string> VisibleTexts(HWND Wizard) {
    std::set<std::string> Texts;
    EnumChildWindows(
        Wizard,
        [](HWND C, LPARAM Param) {
            if (IsWindowVisible(C) && ClassOf(C) == L"Static")
                reinterpret_cast<std::set<std::string>*>(Param)->insert(Text(C));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&Texts));
    return Texts;
}

// Waits for page Index and checks that its texts, and no other page's, show; the page.
HWND ExpectPage(HWND Wizard, int Index) {
    SCOPED_TRACE("page " + std::to_string(Index));
    const std::string& Title = WizardPages[Index].Texts[0];
    EXPECT_TRUE(WaitFor([&] { return VisibleTexts(Wizard).count(Title) == 1; }));
    const std::set<std::string> Shown = VisibleTexts(Wizard);
    for (int P = 0; P < 6; ++P)
        for (const std::string& T : WizardPages[P].Texts)
            EXPECT_EQ(Shown.count(T), P == Index ? 1u : 0u) << T;
    EXPECT_EQ(TabOrder(Wizard), WizardPages[Index].Tabs);
    HWND Page = nullptr;
    for (HWND C = GetWindow(Wizard, GW_CHILD); C; C = GetWindow(C, GW_HWNDNEXT))
        if (ClassOf(C) == L"#32770" && IsWindowVisible(C))
            Page = C;
    return Page;
}

class Win32Wizard : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterWin32Dialogs(); }
    void SetUp() override {
        Ethernet = PostConnection(Store.Db, "Ethernet");
        WiFi = PostConnection(Store.Db, "Wi-Fi");
        Form.SetIPSetsTable(Store.Db.IPSets());
        Form.SetConnectionsTable(Store.Db.ConnectionNames());
        Form.dsIPSets()->Insert();
    }

    TempStore Store;
    int Ethernet = 0, WiFi = 0;
    TfrmWizard Form{nullptr};
};

TEST_F(Win32Wizard, TypedStaticSetIsCheckedPageByPageAndStored) {
    const int Result = RunWithUser(Form, Caption, [] {
        const HWND W = WaitForDialog(Caption);
        ASSERT_NE(W, nullptr);
        const SIZE Client = WindowsClientSize(W);
        EXPECT_NEAR(Client.cx, 510, 2);
        EXPECT_NEAR(Client.cy, 282, 2);
        ExpectPage(W, 0);
        const HWND Next = Button(W, "&Siguiente");
        Press(Next);

        HWND Page = ExpectPage(W, 1);
        const HWND List = Field(Page, "Adaptador de Red :");
        EXPECT_TRUE(WaitForFocus(W, List));
        Press(Next);
        EXPECT_EQ(Answer("Wizard"), "Debe seleccionar un adaptador de Red.");
        Key(List, VK_DOWN);
        Key(List, VK_DOWN);
        Key(List, VK_DELETE); // clears the choice again
        EXPECT_EQ(Text(List), "");
        Key(List, VK_DOWN);
        Key(List, VK_DOWN);
        EXPECT_EQ(Text(List), "Wi-Fi");
        Press(Next);

        Page = ExpectPage(W, 2);
        const HWND Static = Button(Page, "Configuración estatica");
        EXPECT_TRUE(WaitForFocus(W, Static));
        const HWND Address = Field(Page, "Dirección IP :");
        Press(Button(Page, "Usar DHCP"));
        EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Address); }));
        EXPECT_EQ(PaintedBackground(Address), GetSysColor(COLOR_BTNFACE));
        Press(Static);
        EXPECT_TRUE(WaitForFocus(W, Address));
        EXPECT_EQ(PaintedBackground(Address), RGB(255, 255, 255));
        Type(Address, "192.168.1.300");
        Type(Field(Page, "Máscara de subred :"), "255.255.255.0");
        Press(Next);
        EXPECT_EQ(Answer("Wizard"), "Ingrese la direccion IP y la mascara de Red.");
        EXPECT_TRUE(WaitForFocus(W, Address));
        Type(Address, "192.168.1.10x"); // the key filter drops the letter
        Press(Next);

        Page = ExpectPage(W, 3);
        const HWND Gateway = Field(Page, "Puerta de enlace predeterminado :");
        EXPECT_TRUE(WaitForFocus(W, Gateway));
        Type(Gateway, "192.168.1.1");
        Press(Next);

        Page = ExpectPage(W, 4);
        const HWND Dns1 = Field(Page, "DNS preferido :");
        EXPECT_TRUE(WaitForFocus(W, Dns1));
        Type(Dns1, "8.8.8.8");
        Type(Field(Page, "DNS alternativo :"), "8.8.4.4");
        Press(Next);

        Page = ExpectPage(W, 5);
        const HWND Name = Field(Page, "Nombre de la configuracion IP :");
        EXPECT_TRUE(WaitForFocus(W, Name));
        Type(Name, "abc");
        EXPECT_EQ(Text(Name), "ABC");
        const HWND Summary = Field(Page, "Resumen :");
        EXPECT_EQ(Text(Summary), "Adaptador      : Wi-Fi\r\n"
                                 "Direccion IP   : 192.168.1.10\r\n"
                                 "Mascara Red    : 255.255.255.0\r\n"
                                 "Gateway        : 192.168.1.1\r\n"
                                 "DNS Preferido  : 8.8.8.8\r\n"
                                 "DNS Alternativo: 8.8.4.4\r\n"
                                 "DHCP           : No");
        for (const HWND Box : {Name, Summary}) {
            LOGFONTW Font = {};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Box, WM_GETFONT, 0, 0)), sizeof Font,
                       &Font);
            EXPECT_STREQ(Font.lfFaceName, L"Courier New");
        }
        // Esc asks the cancel question from the summary too, which takes every key itself.
        SendMessageW(W, WM_NEXTDLGCTL, WPARAM(Summary), TRUE);
        PostMessageW(Summary, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(Answer("Wizard", IDNO), Leave);
        // Back and forth: what was typed is still there.
        Press(Button(W, "&Atras"));
        EXPECT_EQ(Text(Field(ExpectPage(W, 4), "DNS preferido :")), "8.8.8.8");
        Press(Next);
        ExpectPage(W, 5);
        Press(Button(W, "&Finalizar"));
    });
    EXPECT_EQ(Result, mrOK);
    TDataSet& T = *Store.Db.IPSets();
    ASSERT_TRUE(T.Locate("ID", 1));
    EXPECT_EQ(T.FieldByName("IPSET_NAME").AsString(), "ABC");
    EXPECT_EQ(T.FieldByName("IPADDRESS").AsString(), "192.168.1.10");
    EXPECT_EQ(T.FieldByName("GATEWAY").AsString(), "192.168.1.1");
    EXPECT_EQ(T.FieldByName("DNS2").AsString(), "8.8.4.4");
    EXPECT_EQ(T.FieldByName("CONNECTION").AsInteger(), WiFi);
    EXPECT_FALSE(T.FieldByName("DHCP").AsBoolean());
}

TEST_F(Win32Wizard, CancelAsksAndTheCloseBoxDiscardsWithoutAsking) {
    const int Result = RunWithUser(Form, Caption, [] {
        const HWND W = WaitForDialog(Caption);
        ASSERT_NE(W, nullptr);
        const HWND Next = Button(W, "&Siguiente");
        Press(Next);
        ExpectPage(W, 1);
        // "&Atras" goes grey on the first page: its focus passes to "&Siguiente".
        Press(Button(W, "&Atras"));
        ExpectPage(W, 0);
        EXPECT_TRUE(WaitForFocus(W, Next));
        Press(Next);
        ExpectPage(W, 1);
        Press(Button(W, "&Cancelar"));
        EXPECT_EQ(Answer("Wizard", IDNO), Leave);
        ExpectPage(W, 1);
        PostMessageW(W, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_EQ(Store.Db.IPSets()->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(PostIPSet(Store.Db, "SIGUIENTE", Ethernet, true, {}), 1);
}

} // namespace
