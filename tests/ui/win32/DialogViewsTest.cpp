// The dialogs' real windows, from the templates quelvano.exe links, driven under Wine as a person
// would drive them.
#include "base/TApplication.h"
#include "shell/GlobalUnit.h"
#include "shell/SettingsStore.h"
#include "ui/f_IPSet.h"
#include "ui/frmAcercaDeUnit.h"
#include "ui/frmOpcionesUnit.h"
#include "ui/win32/AboutDialogIds.h"
#include "ui/win32/Dialogs.h"
#include "ui/win32/IPSetDialogIds.h"
#include "ui/win32/OptionsDialogIds.h"

#include "fakes/TempStore.h"
#include "ui/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
        Form->SetDatabase(Store.Db.AdoConnection());
        ForEdit ? Form->LoadForEdit() : Form->PrepareNew();
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
        LOGFONTW Font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Name, WM_GETFONT, 0, 0)), sizeof Font,
                   &Font);
        EXPECT_EQ(std::wstring(Font.lfFaceName), L"Courier New");

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

TEST_F(DialogViews, Editor_RefusedNameKeepsItOpenAndEveryWayOutStoresNothing) {
    const struct {
        const char* Way;
        void (*Leave)(HWND Dialog);
    } Ways[] = {
        {"close box", [](HWND D) { PostMessageW(D, WM_CLOSE, 0, 0); }},
        {"Esc", [](HWND D) { PostMessageW(Focused(D), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"Cancelar", [](HWND D) { Press(Button(D, "&Cancelar")); }},
    };
    for (const auto& W : Ways) {
        SCOPED_TRACE(W.Way);
        auto Form = OpenEditor(AddCaption, false);
        const int Result = RunWithUser(*Form, AddCaption, [&] {
            const HWND D = WaitForDialog(AddCaption);
            ASSERT_NE(D, nullptr);
            Type(Field(D, "Descripcion :"), std::string(51, 'N'));
            SendMessageW(Button(D, "Habilitar DHCP"), BM_CLICK, 0, 0);
            Key(Field(D, "Adaptador de Red :"), VK_DOWN);
            Press(Button(D, "&Aceptar"));
            EXPECT_NE(Answer("Quelvano v1.47"), "");
            EXPECT_TRUE(IsWindowVisible(D));
            W.Leave(D);
        });
        EXPECT_EQ(Result, mrCancel);
        EXPECT_EQ(Store.Db.IPSets()->State(), TDataSetState::dsBrowse);
    }
    Store.Db.IPSets()->Refresh();
    EXPECT_EQ(Store.Db.IPSets()->RecordCount(), 0);
    EXPECT_EQ(PostIPSet(Store.Db, "Primero", Ethernet, true, {}), 1);
}

// The options are the user's registry values; the prefix belongs to the build, so they may go.
TEST_F(DialogViews, Options_ShowTheRegistryValuesAndAceptarStoresThem) {
    SetRunAtStartup("", RunValueName, false);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quelvano147");
    const struct {
        bool Shown[2], Click[2], Accept;
        int Result;
        std::string RunAfter, MinimizedAfter;
    } Steps[] = {
        {{false, false}, {true, true}, true, mrOK, Application().ExeName(), "1"},
        {{true, true}, {true, false}, false, mrCancel, Application().ExeName(), "1"},
        {{true, true}, {true, false}, true, mrOK, "", "1"},
    };
    for (const auto& S : Steps) {
        TfrmOpciones Form(nullptr);
        const int Result = RunWithUser(Form, "Opciones", [&] {
            const HWND D = WaitForDialog("Opciones");
            ASSERT_NE(D, nullptr);
            const HWND Current = Button(D, "Configuracion para usuario actual");
            EXPECT_EQ(SendMessageW(Current, BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_FALSE(IsWindowEnabled(Current) ||
                         IsWindowEnabled(Button(D, "Configuracion para todos los usuarios")));
            const HWND Boxes[] = {Button(D, "Iniciar con Windows"),
                                  Button(D, "Iniciar Minimizado")};
            for (int I = 0; I < 2; ++I) {
                EXPECT_EQ(SendMessageW(Boxes[I], BM_GETCHECK, 0, 0) == BST_CHECKED, S.Shown[I]);
                if (S.Click[I])
                    SendMessageW(Boxes[I], BM_CLICK, 0, 0);
            }
            if (S.Accept)
                Press(Button(D, "&Aceptar"));
            else
                PostMessageW(D, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(Result, S.Result);
        std::string Run;
        OpenUserSettingsKey(RunKeyPath, false)->ReadString(RunValueName, Run);
        EXPECT_EQ(Run, S.RunAfter);
        EXPECT_EQ(ReadSetting(StartMinimizedName), S.MinimizedAfter);
    }
}

// Stands a recorder in for the handler of .html files (Wine looks handlers up in the machine's
// classes only) while it lives.
class PageHandler {
public:
    PageHandler() {
        std::filesystem::remove(Record);
        Set(L".html", L"Quelvano.TestPage");
        Set(L"Quelvano.TestPage\\shell\\open\\command",
            L"\"" + (Folder() / "page_opener.exe").wstring() + L"\" \"%1\"");
    }
    ~PageHandler() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Quelvano.TestPage");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".html");
    }
    PageHandler(const PageHandler&) = delete;
    PageHandler& operator=(const PageHandler&) = delete;

    // The file the handler was asked to open, once its record is written whole: the record
    // exists before its text does, so a path that names an existing page is the sign.
    std::filesystem::path Opened() const {
        std::filesystem::path Page;
        WaitFor([&] {
            std::ifstream In(Record, std::ios::binary);
            const std::string Bytes(std::istreambuf_iterator<char>(In), {});
            Page = std::wstring(reinterpret_cast<const wchar_t*>(Bytes.data()), Bytes.size() / 2);
            std::error_code Error;
            return Page.extension() == ".html" && std::filesystem::is_regular_file(Page, Error);
        });
        return Page;
    }

private:
    static std::filesystem::path Folder() {
        wchar_t Module[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, Module, MAX_PATH);
        return std::filesystem::path(Module).parent_path();
    }
    static void Set(const wchar_t* Path, const std::wstring& Value) {
        RegSetValueW(HKEY_CLASSES_ROOT, Path, REG_SZ, Value.c_str(),
                     DWORD(Value.size() * sizeof(wchar_t)));
    }

    const std::filesystem::path Record = Folder() / "opened.txt";
};

TEST_F(DialogViews, About_ShowsTheProgramAndItsLinkOpensTheHelpPage) {
    PageHandler Handler;
    std::filesystem::path Page;
    {
        TfrmAcercaDe Linked(nullptr);
        const int Result = RunWithUser(Linked, "Acerca de", [&] {
            const HWND D = WaitForDialog("Acerca de");
            ASSERT_NE(D, nullptr);
            for (const wchar_t* Shown : {L"Quelvano", L"Version 1.47 Build 351"})
                EXPECT_NE(FindWindowExW(D, nullptr, L"Static", Shown), nullptr);
            const HWND Link = FindWindowExW(D, nullptr, L"SysLink", nullptr);
            PostMessageW(Link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageW(Link, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            Page = Handler.Opened();
            PostMessageW(D, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(Result, mrCancel);
    }
    std::ifstream In(Page, std::ios::binary);
    const std::string Html(std::istreambuf_iterator<char>(In), {});
    EXPECT_NE(Html.find("<html lang=\"es\">"), std::string::npos) << Page.string();

    // Aceptar has the focus, though Tab never reaches it, and Enter presses it.
    TfrmAcercaDe Entered(nullptr);
    const int Result = RunWithUser(Entered, "Acerca de", [] {
        const HWND Aceptar = Button(WaitForDialog("Acerca de"), "&Aceptar");
        EXPECT_TRUE(WaitForFocus(GetParent(Aceptar), Aceptar));
        PostMessageW(Aceptar, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(Result, mrOK);
}

// The size of a dialog template, in dialog units.
SIZE TemplateSize(int Id) {
    const HMODULE Module = GetModuleHandleW(nullptr);
    const HRSRC Info = FindResourceW(Module, MAKEINTRESOURCEW(Id), RT_DIALOG);
    const auto* Words = static_cast<const WORD*>(LockResource(LoadResource(Module, Info)));
    // DLGTEMPLATEEX: version, signature, help ID, ex-style and style (two words each), count of
    // items, x, y, cx, cy.
    EXPECT_EQ(Words[1], 0xFFFF);
    return {static_cast<short>(Words[11]), static_cast<short>(Words[12])};
}

// Sizes are the forms' client areas at 96 DPI, where the dialog font (Tahoma 8) makes four
// horizontal units 6 pixels and eight vertical units 13; Wine's Tahoma is a pixel shorter, so
// the pixels on screen here are checked against the template through the live dialog's units.
TEST_F(DialogViews, Layout_SizesTabOrderAndLabelsAreTheForms) {
    const struct {
        std::string Caption;
        std::function<std::unique_ptr<TForm>()> Open;
        int Template;
        SIZE Client;
        std::vector<std::string> TabOrder;
    } Dialogs[] = {
        {AddCaption,
         [&] { return OpenEditor(AddCaption, false); },
         IDD_IPSET,
         {370, 235},
         {"Descripcion :", "Direccion IP :", "Subnet Mask :", "Puerta de enlace :",
          "DNS preferido :", "DNS alternativo :", "Adaptador de Red :", "Habilitar DHCP",
          "A&vanzado...", "&Aceptar", "&Cancelar", "Ay&uda"}},
        {"Opciones",
         [] { return std::make_unique<TfrmOpciones>(nullptr); },
         IDD_OPTIONS,
         {353, 181},
         {"Iniciar con Windows", "Iniciar Minimizado", "Ay&uda", "&Aceptar", "&Cancelar"}},
        {"Acerca de",
         [] { return std::make_unique<TfrmAcercaDe>(nullptr); },
         IDD_ABOUT,
         {432, 164},
         {"<a>Ayuda de Quelvano</a>"}},
    };
    for (const auto& Dialog : Dialogs) {
        SCOPED_TRACE(Dialog.Caption);
        const SIZE Units = TemplateSize(Dialog.Template);
        EXPECT_NEAR(MulDiv(Units.cx, 6, 4), Dialog.Client.cx, 2);
        EXPECT_NEAR(MulDiv(Units.cy, 13, 8), Dialog.Client.cy, 2);
        auto Form = Dialog.Open();
        RunWithUser(*Form, Dialog.Caption, [&] {
            const HWND D = WaitForDialog(Dialog.Caption);
            ASSERT_NE(D, nullptr);
            RECT Expected = {0, 0, Units.cx, Units.cy}, Client = {};
            MapDialogRect(D, &Expected);
            GetClientRect(D, &Client);
            EXPECT_EQ(Client.right, Expected.right);
            EXPECT_EQ(Client.bottom, Expected.bottom);
            EXPECT_EQ(TabOrder(D), Dialog.TabOrder);
            PostMessageW(D, WM_CLOSE, 0, 0);
        });
    }
}

} // namespace
