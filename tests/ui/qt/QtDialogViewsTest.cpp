// The editor, the options and the about box in their Qt windows, driven through their widgets as a
// person would drive them.
#include "base/TApplication.h"
#include "shell/GlobalUnit.h"
#include "ui/f_AdvancedOptions.h"
#include "ui/f_IPSet.h"
#include "ui/frmAcercaDeUnit.h"
#include "ui/frmOpcionesUnit.h"

#include "fakes/TempStore.h"
#include "ui/qt/QtDriver.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGuiApplication>
#include <QListWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <sys/stat.h>

using namespace qtdriver;

namespace {

const char* const AddCaption = "Agregar nueva IP";

// Sets an environment variable while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char* Name, const std::string& Value) : FName(Name) {
        if (const char* Old = std::getenv(Name))
            FOld = Old;
        setenv(Name, Value.c_str(), 1);
    }
    ~ScopedEnv() { FOld.empty() ? unsetenv(FName) : setenv(FName, FOld.c_str(), 1); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* FName;
    std::string FOld;
};

class QtDialogViews : public ::testing::Test {
protected:
    void SetUp() override {
        Application().Title = "Quelvano v1.47";
        Ethernet = PostConnection(Store.Db, "Ethernet");
        WiFi = PostConnection(Store.Db, "Wi-Fi");
    }

    std::unique_ptr<TFrmIPSet> OpenEditor() {
        auto Form = std::make_unique<TFrmIPSet>(nullptr);
        Form->SetIPSetsTable(Store.Db.IPSets());
        Form->SetConnectionsTable(Store.Db.ConnectionNames());
        Form->SetDatabase(Store.Db.AdoConnection());
        Form->PrepareNew();
        Form->SetCaption(AddCaption);
        return Form;
    }

    TempStore Store;
    int Ethernet = 0, WiFi = 0;
};

QColor BoxColour(QWidget* Box) {
    return Box->palette().color(QPalette::Base);
}

// Enter in a list's box adds the entry rather than ending the dialog; a click on an entry brings
// it back into the boxes.
TEST_F(QtDialogViews, Advanced_EnterAddsAndAClickedEntryComesBack) {
    TFrmAdvancedOptions Form(nullptr);
    Form.LoadExtras({}, false);
    const int Result = RunWithUser(Form, [](QWidget* D) {
        Messages None;
        auto* const Gateway = Field<QLineEdit>(D, "Puerta de enlace :");
        auto* const Metric = Field<QLineEdit>(D, "Metrica :");
        Type(Gateway, "10.0.0.1");
        Type(Metric, "5");
        QTest::mouseClick(Metric, Qt::LeftButton);
        QTest::keyClick(Metric, Qt::Key_Return);
        Type(Gateway, "10.0.0.2");
        QTest::mouseClick(Gateway, Qt::LeftButton);
        QTest::keyClick(Gateway, Qt::Key_Return);
        EXPECT_TRUE(None.Boxes.empty());
        auto* const List = D->findChild<QListWidget*>("lstGateways");
        ASSERT_EQ(List->count(), 2);
        EXPECT_EQ(Str(List->item(1)->text()), "10.0.0.2, metrica 1");
        EXPECT_TRUE(D->isVisible());
        const QRect First = List->visualItemRect(List->item(0));
        QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, First.center());
        EXPECT_EQ(Str(Gateway->text()), "10.0.0.1");
        EXPECT_EQ(Str(Metric->text()), "5");
        QTest::keyClick(List, Qt::Key_Return);
    });
    EXPECT_EQ(Result, mrOK);
    EXPECT_EQ(Form.Extras().Gateways.size(), 2u);
}

TEST_F(QtDialogViews, Editor_TypedEntryIsFilteredCheckedAndStored) {
    auto Form = OpenEditor();
    const int Result = RunWithUser(*Form, [](QWidget* D) {
        EXPECT_EQ(Str(D->windowTitle()), AddCaption);
        auto* const Name = Field<QLineEdit>(D, "Descripcion :");
        EXPECT_EQ(D->focusWidget(), Name);
        Type(Name, "  oficina \xc3\xb1u ");
        EXPECT_EQ(Str(Name->text()), "  OFICINA \xc3\xb1U ");
        EXPECT_TRUE(QFontInfo(Name->font()).fixedPitch());

        // Only digits and at most three dots get into an address box, fifteen at most; nothing
        // is pasted and right-clicking offers no menu.
        auto* const Address = Field<QLineEdit>(D, "Direccion IP :");
        Type(Address, "12345678901234567");
        EXPECT_EQ(Str(Address->text()), "123456789012345");
        Type(Address, "19a2.168.-1.1 0.5");
        EXPECT_EQ(Str(Address->text()), "192.168.1.105");
        QGuiApplication::clipboard()->setText("9.9.9.9");
        QTest::keyClick(Address, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(Address, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(Str(Address->text()), "192.168.1.105");
        EXPECT_EQ(Address->contextMenuPolicy(), Qt::PreventContextMenu);
        EXPECT_TRUE(QFontInfo(Address->font()).fixedPitch());
        Type(Field<QLineEdit>(D, "Subnet Mask :"), "255.255.255.0");
        Type(Field<QLineEdit>(D, "Puerta de enlace :"), "192.168.1.1");
        Type(Field<QLineEdit>(D, "DNS preferido :"), "8.8.8.8");

        // Arrow keys choose, Delete clears.
        auto* const List = Field<QComboBox>(D, "Adaptador de Red :");
        EXPECT_EQ(List->count(), 2);
        EXPECT_EQ(List->currentIndex(), -1);
        QTest::keyClick(List, Qt::Key_Down);
        QTest::keyClick(List, Qt::Key_Delete);
        EXPECT_EQ(List->currentIndex(), -1);
        QTest::keyClick(List, Qt::Key_Down);
        QTest::keyClick(List, Qt::Key_Down);
        EXPECT_EQ(Str(List->currentText()), "Wi-Fi");

        Messages Answered;
        Press(Button(D, "&Aceptar"));
        ASSERT_EQ(Answered.Boxes.size(), 1u);
        EXPECT_EQ(Answered.Boxes[0].Text, "Servidor DNS alternativo no es valida.");
        EXPECT_EQ(Answered.Boxes[0].Caption, "Wizard");
        EXPECT_EQ(Answered.Boxes[0].Icon, QMessageBox::Warning);
        auto* const Dns2 = Field<QLineEdit>(D, "DNS alternativo :");
        EXPECT_EQ(D->focusWidget(), Dns2);

        // DHCP greys the address boxes out, keeping their text; unticked they are white again.
        QAbstractButton* const Dhcp = Button(D, "Habilitar DHCP");
        Press(Dhcp);
        EXPECT_FALSE(Address->isEnabled());
        EXPECT_EQ(BoxColour(Address), QColor(223, 223, 223));
        EXPECT_EQ(Str(Address->text()), "192.168.1.105");
        Press(Dhcp);
        EXPECT_TRUE(Address->isEnabled());
        EXPECT_EQ(BoxColour(Address), QColor(Qt::white));

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

TEST_F(QtDialogViews, Editor_RefusedNameKeepsItOpenAndEveryWayOutStoresNothing) {
    const struct {
        const char* Way;
        void (*Leave)(QWidget* Dialog);
    } Ways[] = {
        {"close box", [](QWidget* D) { D->close(); }},
        {"Esc", [](QWidget* D) { QTest::keyClick(D->focusWidget(), Qt::Key_Escape); }},
        {"Cancelar", [](QWidget* D) { Press(Button(D, "&Cancelar")); }},
    };
    for (const auto& W : Ways) {
        SCOPED_TRACE(W.Way);
        auto Form = OpenEditor();
        const int Result = RunWithUser(*Form, [&](QWidget* D) {
            Type(Field<QLineEdit>(D, "Descripcion :"), std::string(51, 'N'));
            Press(Button(D, "Habilitar DHCP"));
            QTest::keyClick(Field(D, "Adaptador de Red :"), Qt::Key_Down);
            Messages Answered;
            Press(Button(D, "&Aceptar"));
            ASSERT_EQ(Answered.Boxes.size(), 1u);
            EXPECT_EQ(Answered.Boxes[0].Caption, "Quelvano v1.47");
            EXPECT_EQ(Answered.Boxes[0].Icon, QMessageBox::Critical);
            EXPECT_TRUE(D->isVisible());
            EXPECT_EQ(Form->ModalResult(), mrNone);
            W.Leave(D);
        });
        EXPECT_EQ(Result, mrCancel);
        EXPECT_EQ(Store.Db.IPSets()->State(), TDataSetState::dsBrowse);
    }
    Store.Db.IPSets()->Refresh();
    EXPECT_EQ(Store.Db.IPSets()->RecordCount(), 0);
}

// The options are the user's own files: the autostart entry and the program's settings, here in
// a configuration folder of the test's.
TEST_F(QtDialogViews, Options_ShowTheSettingsAndAceptarStoresThem) {
    TempFolder Config;
    ScopedEnv Home("XDG_CONFIG_HOME", Config.Path().string());
    const auto Entry = Config.Path() / "autostart" / "quelvano.desktop";
    const struct {
        bool Shown[2], Click[2];
        const char* End;
        int Result;
        bool RunAfter;
        std::string MinimizedAfter;
    } Steps[] = {
        {{false, false}, {true, true}, "&Aceptar", mrOK, true, "1"},
        {{true, true}, {true, false}, "close box", mrCancel, true, "1"},
        {{true, true}, {false, true}, "&Cancelar", mrCancel, true, "1"},
        {{true, true}, {true, false}, "&Aceptar", mrOK, false, "1"},
        {{false, true}, {false, true}, "&Aceptar", mrOK, false, "0"},
    };
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.End);
        TfrmOpciones Form(nullptr);
        const int Result = RunWithUser(Form, [&](QWidget* D) {
            QAbstractButton* const Current = Button(D, "Configuracion para usuario actual");
            EXPECT_TRUE(Current->isChecked());
            EXPECT_FALSE(Current->isEnabled() ||
                         Button(D, "Configuracion para todos los usuarios")->isEnabled());
            QAbstractButton* const Boxes[] = {Button(D, "Iniciar con Windows"),
                                              Button(D, "Iniciar Minimizado")};
            for (int I = 0; I < 2; ++I) {
                EXPECT_EQ(Boxes[I]->isChecked(), S.Shown[I]);
                if (S.Click[I])
                    Press(Boxes[I]);
            }
            S.End == std::string("close box") ? (void)D->close() : Press(Button(D, S.End));
        });
        EXPECT_EQ(Result, S.Result);
        EXPECT_EQ(std::filesystem::exists(Entry), S.RunAfter);
        EXPECT_EQ(IsRunAtStartup(RunValueName), S.RunAfter);
        EXPECT_EQ(ReadSetting(StartMinimizedName), S.MinimizedAfter);
    }
}

TEST_F(QtDialogViews, About_ShowsTheProgramAndItsLinkOpensTheHelpPage) {
    // A stand-in for xdg-open, first on PATH, that writes the file it was given beside itself.
    TempFolder Bin;
    const std::string Opener = Bin.File("xdg-open");
    WriteWholeFile(Opener,
                   "#!/bin/sh\nprintf %s \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.log\"\n");
    chmod(Opener.c_str(), 0755);
    ScopedEnv Path("PATH", Bin.Path().string() + ":" + std::getenv("PATH"));

    TfrmAcercaDe Linked(nullptr);
    const int Linking = RunWithUser(Linked, [&](QWidget* D) {
        EXPECT_EQ(Str(D->windowTitle()), "Acerca de");
        Label(D, "Quelvano");
        Label(D, "Version 1.47 Build 351");
        const QPixmap Icon = D->findChild<QLabel*>("Image1")->pixmap();
        EXPECT_EQ(Icon.size(), QSize(32, 32));
        EXPECT_EQ(D->findChild<QLabel*>("Image2")->pixmap().size(), QSize(416, 55));
        QLabel* const Link = Field<QLabel>(D, "Ayuda:");
        QTest::mouseClick(Link, Qt::LeftButton, {}, QPoint(4, Link->height() / 2));
        EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(Opener + ".log"); }));
        D->close();
    });
    EXPECT_EQ(Linking, mrCancel);
    EXPECT_NE(ReadWholeFile(ReadWholeFile(Opener + ".log")).find("<html lang=\"es\">"),
              std::string::npos);

    // Aceptar has the focus, though Tab never reaches it, and Enter presses it.
    TfrmAcercaDe Entered(nullptr);
    const int Result = RunWithUser(Entered, [](QWidget* D) {
        QAbstractButton* const Aceptar = Button(D, "&Aceptar");
        EXPECT_EQ(D->focusWidget(), Aceptar);
        QTest::keyClick(Aceptar, Qt::Key_Return);
    });
    EXPECT_EQ(Result, mrOK);
}

// Each field is named by the label the Windows template puts before it, and Tab walks the
// template's order; the windows are at least the forms' sizes, which the desktop's font may grow.
TEST_F(QtDialogViews, Layout_SizesTabOrderAndLabelsAreTheForms) {
    const struct {
        std::string Caption;
        std::function<std::unique_ptr<TForm>()> Open;
        QSize Client;
        std::vector<std::string> TabOrder;
    } Dialogs[] = {
        {AddCaption,
         [&] { return OpenEditor(); },
         {370, 235},
         {"Descripcion :", "Direccion IP :", "Subnet Mask :", "Puerta de enlace :",
          "DNS preferido :", "DNS alternativo :", "Adaptador de Red :", "Habilitar DHCP",
          "A&vanzado...", "&Aceptar", "&Cancelar", "Ay&uda"}},
        {"Opciones",
         [] { return std::make_unique<TfrmOpciones>(nullptr); },
         {353, 181},
         {"Iniciar con Windows", "Iniciar Minimizado", "Ay&uda", "&Aceptar", "&Cancelar"}},
        // Aceptar starts with the focus; Tab leaves it for the link and never comes back.
        {"Acerca de",
         [] { return std::make_unique<TfrmAcercaDe>(nullptr); },
         {432, 164},
         {"&Aceptar", "Ayuda:"}},
    };
    for (const auto& Dialog : Dialogs) {
        SCOPED_TRACE(Dialog.Caption);
        auto Form = Dialog.Open();
        RunWithUser(*Form, [&](QWidget* D) {
            EXPECT_EQ(Str(D->windowTitle()), Dialog.Caption);
            EXPECT_GE(D->width(), Dialog.Client.width());
            EXPECT_GE(D->height(), Dialog.Client.height());
            EXPECT_EQ(D->minimumSize(), D->maximumSize());
            EXPECT_EQ(TabOrder(D), Dialog.TabOrder);
            D->close();
        });
    }
}

} // namespace
