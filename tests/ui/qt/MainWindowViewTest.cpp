// The Qt main window over the main form, driven through its widgets: menus and shortcuts, the
// toolbar, the pages, the IP-set tree's pop-up and minimizing where the desktop has no tray.
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeTray.h"
#include "fakes/TempFolder.h"
#include "fakes/TempStore.h"
#include "ipset/CommandRunner.h"
#include "ipset/o_IPSetManager.h"
#include "shell/GlobalUnit.h"
#include "ui/f_main.h"
#include "ui/qt/QtMainWindow.h"

#include "ui/qt/QtDriver.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

#include <memory>

using namespace qtdriver;

namespace {

using Strings = std::vector<std::string>;

class RecordingRunner : public TCommandRunner {
public:
    explicit RecordingRunner(Strings& ALines) : Lines(ALines) {}
    int Run(const std::string& CommandLine, int) override {
        Lines.push_back(CommandLine);
        return 0;
    }
    Strings& Lines;
};

class QtMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        DataPath = Folder.Path().string() + "/";
        CreateEmptyDatabase(DatabaseFileName());
        GetIPDBManager()->OpenDatabase();
        const int Lan = PostConnection(*GetIPDBManager(), "LAN 1");
        PostIPSet(*GetIPDBManager(), "Casa", Lan, false, {"192.0.2.10", "255.255.255.0"});
        PostIPSet(*GetIPDBManager(), "Oficina", Lan, true, {});
        RegisterQtMainWindow();
        Form = std::make_unique<TFrmMain>(nullptr, Tray.Services());
        Form->IPSetManager()->SetCommandRunner(std::make_unique<RecordingRunner>(Netsh));
        for (QWidget* W : QApplication::topLevelWidgets())
            if (W->objectName() == "FrmMain")
                Window = qobject_cast<QMainWindow*>(W);
        ASSERT_NE(Window, nullptr);
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window));
        Tree = Window->findChild<QTreeWidget*>("tvConfiguracionesIP");
    }
    void TearDown() override {
        Form.reset();
        TFrmMain::ViewFactory = nullptr;
    }

    QAction* MenuAction(const std::string& Caption) const {
        for (QAction* Menu : Window->menuBar()->actions())
            for (QAction* A : Menu->menu()->actions())
                if (Str(A->text()) == Caption)
                    return A;
        ADD_FAILURE() << "no menu entry " << Caption;
        return nullptr;
    }
    QAction* ToolButton(const std::string& Caption) const {
        for (QAction* A : Window->findChild<QToolBar*>()->actions())
            if (Str(A->text()) == Caption)
                return A;
        ADD_FAILURE() << "no toolbar button " << Caption;
        return nullptr;
    }
    void Select(const std::string& Text) {
        const auto Found = Tree->findItems(QString::fromStdString(Text), Qt::MatchRecursive);
        ASSERT_EQ(Found.size(), 1);
        QTest::mouseClick(Tree->viewport(), Qt::LeftButton, {},
                          Tree->visualItemRect(Found[0]).center());
    }
    // Right-clicks at the point of the IP-set tree; the pop-up's entries as it opened, as
    // "caption" or "caption (off)".
    Strings PopUpAt(QPoint At) {
        QTimer Close;
        QObject::connect(&Close, &QTimer::timeout, [] {
            if (QWidget* Menu = QApplication::activePopupWidget())
                Menu->close();
        });
        Close.start(5);
        QContextMenuEvent Event(QContextMenuEvent::Mouse, At, Tree->viewport()->mapToGlobal(At));
        QApplication::sendEvent(Tree->viewport(), &Event);
        Strings Entries;
        const TMenuItem& Items = Form->TreeViewPopUpMenu.Items();
        for (int I = 0; I < Items.Count(); ++I)
            if (Items.Items(I)->Caption != "-")
                Entries.push_back(Items.Items(I)->Caption +
                                  (Items.Items(I)->Enabled ? "" : " (off)"));
        return Entries;
    }
    int SetCount() const { return GetIPDBManager()->IPSets()->RecordCount(); }

    TempFolder Folder;
    FakeTray Tray;
    Strings Netsh;
    std::unique_ptr<TFrmMain> Form;
    QMainWindow* Window = nullptr;
    QTreeWidget* Tree = nullptr;
};

TEST_F(QtMainWindow, CommandsReachTheFormThroughMenusShortcutsToolbarTabsAndPopUp) {
    EXPECT_EQ(Str(Window->windowTitle()), "Quelvano v1.47 build 351");
    ASSERT_NE(Tree, nullptr);
    ASSERT_EQ(Tree->topLevelItemCount(), 2);
    EXPECT_EQ(Str(Tree->topLevelItem(1)->text(0)), "OFICINA");

    const struct {
        const char* Caption;
        const char* ShortCut;
    } Menu[] = {{"Refrescar lista", "Ctrl+R"},
                {"&Salir", "Ctrl+Q"},
                {"Activar configuracion IP", "Ctrl+A"},
                {"Deshacer ultimo cambio", "Ctrl+Z"},
                {"Agregar configuracion IP", "Ins"},
                {"Editar la configuracion IP", "Ctrl+E"},
                {"Eliminar la configuracion IP", "Ctrl+D"},
                {"Opciones del sistema...", "Ctrl+O"},
                {"Acerca de...", ""}};
    for (const auto& M : Menu)
        if (QAction* A = MenuAction(M.Caption)) {
            EXPECT_EQ(Str(A->shortcut().toString()), M.ShortCut) << M.Caption;
        }
    EXPECT_EQ(Str(ToolButton("Wizard")->toolTip()),
              "Iniciar Wizard\n(Iniciar tutor para agregar configuracion de red)");

    // Ctrl+A in the tree applies the chosen set: a static set, then the DHCP one from a detail
    // line, and a set the tray menu names.
    Select("CASA");
    QTest::keyClick(Tree, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor([&] { return !Netsh.empty(); }));
    EXPECT_NE(Netsh[0].find("static 192.0.2.10"), std::string::npos) << Netsh[0];
    Tree->expandAll();
    Select("DHCP : Si");
    Netsh.clear();
    ToolButton("Activar IP")->trigger();
    ASSERT_FALSE(Netsh.empty());
    EXPECT_NE(Netsh[0].find("dhcp"), std::string::npos) << Netsh[0];

    // The pop-up names the set of the line under the mouse; over empty space with nothing chosen
    // it offers adding and refreshing only.
    const QTreeWidgetItem* const Casa = Tree->topLevelItem(0);
    EXPECT_EQ(PopUpAt(Tree->visualItemRect(Casa).center()),
              (Strings{"Activar \"CASA\"", "Agregar configuracion IP", "Editar la configuracion IP",
                       "Eliminar la configuracion IP", "Refrescar"}));
    EXPECT_EQ(Tree->currentItem(), Casa);
    Tree->clearSelection();
    EXPECT_EQ(
        PopUpAt(QPoint(5, Tree->viewport()->height() - 5)),
        (Strings{"Activar (off)", "Agregar configuracion IP", "Editar la configuracion IP (off)",
                 "Eliminar la configuracion IP (off)", "Refrescar"}));

    // On the adapter page the toolbar's set buttons are off but the shortcuts still act on the
    // IP-set tree's selection: No keeps the set, Yes deletes it.
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window));
    Select("OFICINA");
    auto* const Tabs = Window->findChild<QTabBar*>("tsPaginas");
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(1).center());
    EXPECT_EQ(Window->findChild<QStackedWidget*>()->currentIndex(), 1);
    for (const char* Button : {"Activar IP", "Agregar IP", "Editar IP", "Eliminar IP"})
        EXPECT_FALSE(ToolButton(Button)->isEnabled()) << Button;
    EXPECT_TRUE(ToolButton("Refrescar")->isEnabled());
    Messages Answered;
    Answered.Answers = {QMessageBox::No, QMessageBox::Yes};
    for (const int Expected : {2, 1}) {
        // The message box took the focus with it.
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window));
        QTest::keyClick(Tree, Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(SetCount(), Expected);
    }
    ASSERT_EQ(Answered.Boxes.size(), 2u);
    EXPECT_EQ(Answered.Boxes[0].Default, "&No");
    EXPECT_EQ(Tree->topLevelItemCount(), 1);
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(0).center());
    EXPECT_TRUE(ToolButton("Eliminar IP")->isEnabled());

    // Without a tray (the offscreen desktop has none) minimizing shows the first balloon but
    // leaves the window where it can be brought back.
    Window->showMinimized();
    EXPECT_EQ(Form->TornibelTrayIcon()->BalloonTitle(), "Quelvano v1.47");
    QTest::qWait(20);
    EXPECT_TRUE(Window->isVisible());
}

} // namespace
