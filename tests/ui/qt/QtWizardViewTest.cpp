// The wizard's Qt window walked as a person would walk it.
#include "ui/frmWizardUnit.h"

#include "fakes/TempStore.h"
#include "ui/WizardPages.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtDriver.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QStackedWidget>

#include <algorithm>
#include <set>

using namespace qtdriver;

namespace {

const char* const Leave = "\u00bfDesea salir del asistente de configuracion de IP...?";

std::set<std::string> VisibleTexts(QWidget* Wizard) {
    std::set<std::string> Texts;
    for (QLabel* L : Wizard->findChildren<QLabel*>())
        if (L->isVisible() && !L->text().isEmpty())
            Texts.insert(Str(L->text()));
    return Texts;
}

// Checks that page Index shows, with its texts and no other page's, and its tab order unless the
// page has boxes greyed out.
void ExpectPage(QWidget* Wizard, int Index, bool AllEnabled = true) {
    SCOPED_TRACE("page " + std::to_string(Index));
    static const char* const Names[] = {"Default", "Adaptador", "IPSubmask",
                                        "Gateway", "dns",       "Finalizar"};
    EXPECT_EQ(Str(Wizard->findChild<QStackedWidget*>("nbWizard")->currentWidget()->objectName()),
              Names[Index]);
    const std::set<std::string> Shown = VisibleTexts(Wizard);
    for (int P = 0; P < 6; ++P)
        for (const std::string& T : WizardPages[P].Texts)
            EXPECT_EQ(Shown.count(Str(QtText(T))), P == Index ? 1u : 0u) << T;
    if (!AllEnabled)
        return;
    QWidget* const Focus = Wizard->focusWidget();
    std::vector<std::string> Order = TabOrder(Wizard);
    const auto First = std::find(Order.begin(), Order.end(), WizardPages[Index].Tabs[0]);
    std::rotate(Order.begin(), First == Order.end() ? Order.begin() : First, Order.end());
    EXPECT_EQ(Order, WizardPages[Index].Tabs);
    Focus->setFocus(Qt::TabFocusReason);
}

class QtWizard : public ::testing::Test {
protected:
    void SetUp() override {
        PostConnection(Store.Db, "Ethernet");
        WiFi = PostConnection(Store.Db, "Wi-Fi");
        Form.SetIPSetsTable(Store.Db.IPSets());
        Form.SetConnectionsTable(Store.Db.ConnectionNames());
        Form.dsIPSets()->Insert();
    }

    TempStore Store;
    int WiFi = 0;
    TfrmWizard Form{nullptr};
};

TEST_F(QtWizard, TypedStaticSetIsCheckedPageByPageAndStored) {
    const int Result = RunWithUser(Form, [&](QWidget* W) {
        EXPECT_EQ(Str(W->windowTitle()), "Asistente de Configuracion de IP");
        EXPECT_GE(W->width(), 510);
        EXPECT_GE(W->height(), 282);
        ExpectPage(W, 0);
        EXPECT_FALSE(W->findChild<QAbstractButton*>("btnAtras")->isEnabled());
        Messages Answered;
        // Presses "&Siguiente" (or "&Finalizar"): the warning it gives and where the focus goes.
        auto Next = [&](int Page, const std::string& Warning, const char* Focus) {
            Press(Button(W, Page == 5 ? "&Finalizar" : "&Siguiente"));
            EXPECT_EQ(Answered.LastText(), Warning);
            Answered.Boxes.clear();
            if (Page < 5 || !Warning.empty()) {
                EXPECT_EQ(Str(W->focusWidget()->objectName()), Focus);
            }
        };

        Press(Button(W, "&Siguiente"));
        ExpectPage(W, 1);
        auto* const List = Field<QComboBox>(W, "Adaptador de Red :");
        Next(1, "Debe seleccionar un adaptador de Red.", "edtConnection");
        QTest::keyClick(List, Qt::Key_Down);
        QTest::keyClick(List, Qt::Key_Down);
        Next(1, "", "rbNoDhcp");
        ExpectPage(W, 2);

        auto* const Address = Field<QLineEdit>(W, "Dirección IP :");
        Type(Address, "10.0.0");
        Type(Field<QLineEdit>(W, "Máscara de subred :"), "255.0.0.0");
        Next(2, "Ingrese la direccion IP y la mascara de Red.", "txtDireccionIP");
        Type(Address, "10.0.0.5");
        Next(2, "", "txtGateway");
        ExpectPage(W, 3);
        Next(3, "Ingrese la direccion IP del gateway por defecto.", "txtGateway");
        Type(Field<QLineEdit>(W, "Puerta de enlace predeterminado :"), "10.0.0.1");
        Next(3, "", "edtDNS1");
        ExpectPage(W, 4);
        Type(Field<QLineEdit>(W, "DNS preferido :"), "1.1.1.1");
        Type(Field<QLineEdit>(W, "DNS alternativo :"), "1.0.0.1");
        Next(4, "", "txtDescripcion");
        ExpectPage(W, 5);

        auto* const Summary = Field<QPlainTextEdit>(W, "Resumen :");
        EXPECT_EQ(Str(Summary->toPlainText()), "Adaptador      : Wi-Fi\n"
                                               "Direccion IP   : 10.0.0.5\n"
                                               "Mascara Red    : 255.0.0.0\n"
                                               "Gateway        : 10.0.0.1\n"
                                               "DNS Preferido  : 1.1.1.1\n"
                                               "DNS Alternativo: 1.0.0.1\n"
                                               "DHCP           : No");
        EXPECT_TRUE(Summary->isReadOnly());
        EXPECT_TRUE(QFontInfo(Summary->font()).fixedPitch());
        auto* const Name = Field<QLineEdit>(W, "Nombre de la configuracion IP :");
        EXPECT_TRUE(QFontInfo(Name->font()).fixedPitch());
        Type(Name, " ab ");
        EXPECT_EQ(Str(Name->text()), " AB ");
        Next(5, "La descripcion debe tener al menos 3 caracteres.", "txtDescripcion");

        // Back and forth keeps what was typed.
        Press(Button(W, "&Atras"));
        ExpectPage(W, 4);
        EXPECT_EQ(Str(Field<QLineEdit>(W, "DNS alternativo :")->text()), "1.0.0.1");
        Press(Button(W, "&Siguiente"));
        Type(Name, "oficina");
        Next(5, "", "");
    });
    EXPECT_EQ(Result, mrOK);
    TDataSet& T = *Store.Db.IPSets();
    ASSERT_TRUE(T.Locate("ID", 1));
    EXPECT_EQ(T.FieldByName("IPSET_NAME").AsString(), "OFICINA");
    EXPECT_EQ(T.FieldByName("IPADDRESS").AsString(), "10.0.0.5");
    EXPECT_EQ(T.FieldByName("GATEWAY").AsString(), "10.0.0.1");
    EXPECT_EQ(T.FieldByName("DNS2").AsString(), "1.0.0.1");
    EXPECT_EQ(T.FieldByName("CONNECTION").AsInteger(), WiFi);
    EXPECT_FALSE(T.FieldByName("DHCP").AsBoolean());
}

// A DHCP set skips the gateway and DNS pages both ways. "&Cancelar" and Esc ask before leaving
// (No stays, Yes discards); the close box discards without asking.
TEST_F(QtWizard, DhcpSkipsPagesAndEveryWayOutAsksOrDiscards) {
    Messages Answered;
    Answered.Answers = {QMessageBox::No, QMessageBox::Yes};
    const int Result = RunWithUser(Form, [&](QWidget* W) {
        Press(Button(W, "&Siguiente"));
        QTest::keyClick(Field(W, "Adaptador de Red :"), Qt::Key_Down);
        Press(Button(W, "&Siguiente"));
        // The arrows move between the two choices, as a click does.
        auto* const Address = Field<QLineEdit>(W, "Dirección IP :");
        QTest::keyClick(W->focusWidget(), Qt::Key_Down);
        EXPECT_EQ(W->focusWidget(), Button(W, "Usar DHCP"));
        EXPECT_FALSE(Address->isEnabled());
        EXPECT_EQ(Address->palette().color(QPalette::Base),
                  QApplication::palette().color(QPalette::Button));
        Press(Button(W, "&Siguiente"));
        ExpectPage(W, 5);
        EXPECT_EQ(Str(Field<QPlainTextEdit>(W, "Resumen :")->toPlainText()),
                  "Adaptador      : Ethernet\nDHCP           : Si");
        Press(Button(W, "&Atras"));
        ExpectPage(W, 2, false);
        Press(Button(W, "&Siguiente"));

        Type(Field<QLineEdit>(W, "Nombre de la configuracion IP :"), "casa");
        Press(Button(W, "&Cancelar"));
        ASSERT_EQ(Answered.Boxes.size(), 1u);
        EXPECT_EQ(Answered.Boxes[0].Text, Leave);
        EXPECT_EQ(Answered.Boxes[0].Caption, "Wizard");
        EXPECT_EQ(Answered.Boxes[0].Icon, QMessageBox::Question);
        ExpectPage(W, 5);
        QTest::keyClick(W->focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_EQ(Answered.Boxes.size(), 2u);

    TfrmWizard Closed(nullptr);
    Closed.SetIPSetsTable(Store.Db.IPSets());
    Closed.SetConnectionsTable(Store.Db.ConnectionNames());
    Closed.dsIPSets()->Insert();
    EXPECT_EQ(RunWithUser(Closed, [](QWidget* W) { W->close(); }), mrCancel);
    EXPECT_EQ(Answered.Boxes.size(), 2u);
    EXPECT_EQ(Store.Db.IPSets()->State(), TDataSetState::dsBrowse);
    Store.Db.IPSets()->Refresh();
    EXPECT_EQ(Store.Db.IPSets()->RecordCount(), 0);
}

} // namespace
