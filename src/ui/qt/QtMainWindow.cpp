#include "ui/qt/QtMainWindow.h"

#include "tray/qt/QtMenus.h"
#include "ui/f_main.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtMainToolBar.h"
#include "ui/qt/QtPictures.h"
#include "ui/qt/QtTreeView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

const int FormWidth = 798;
const int FormHeight = 548;
const char* const Authors = "Quelvano, por los autores de Quelvano";
const int StatusPanels[] = {340, 150, 50};

struct TMenuEntry {
    const char* Caption; // "-" for a separator
    const char* ShortCut;
    void (*Run)(TFrmMain&);
};

const TMenuEntry FileMenu[] = {
    {"Iniciar Wizard...", "", [](TFrmMain& F) { F.RunWizard(); }},   {"-", "", nullptr},
    {"Refrescar lista", "Ctrl+R", [](TFrmMain& F) { F.Refresh(); }}, {"-", "", nullptr},
    {"&Salir", "Ctrl+Q", [](TFrmMain& F) { F.Exit1Click(); }},
};
const TMenuEntry ToolsMenu[] = {
    {"Activar configuracion IP", "Ctrl+A", [](TFrmMain& F) { F.ActivateSelectedIPSet(); }},
    {"Deshacer ultimo cambio", "Ctrl+Z", [](TFrmMain& F) { F.UndoLastChange(); }},
    {"-", "", nullptr},
    {"Agregar configuracion IP", "Ins", [](TFrmMain& F) { F.AddNewIPConfigurationSet1Click(); }},
    {"Editar la configuracion IP", "Ctrl+E", [](TFrmMain& F) { F.EditSelectedIPSet(); }},
    {"Eliminar la configuracion IP", "Ctrl+D", [](TFrmMain& F) { F.DeleteSelectedIPSet(); }},
    {"-", "", nullptr},
    {"Opciones del sistema...", "Ctrl+O", [](TFrmMain& F) { F.ShowOptions(); }},
};
const TMenuEntry HelpMenu[] = {
    {"Contenido", "", [](TFrmMain& F) { F.Help(); }},
    {"-", "", nullptr},
    {"Acerca de...", "", [](TFrmMain& F) { F.ShowAboutBox(); }},
};

QLabel* MakeHeader(const char* Caption) {
    auto* const Header = new QLabel(QString::fromUtf8(Caption));
    QFont Bold = Header->font();
    Bold.setBold(true);
    Header->setFont(Bold);
    Header->setAutoFillBackground(true);
    QPalette Colours = Header->palette();
    Colours.setColor(QPalette::Window, Qt::white);
    Colours.setColor(QPalette::WindowText, Qt::gray);
    Header->setPalette(Colours);
    Header->setMinimumHeight(20);
    return Header;
}

class TQtMainView;
// The window RunMainWindow shows.
TQtMainView* Current = nullptr;

class TQtMainView : public QMainWindow, public TMainFormView {
public:
    explicit TQtMainView(TFrmMain& AForm);
    ~TQtMainView() override {
        if (Current == this)
            Current = nullptr;
    }

    void SetCaption(const std::string& Value) override { setWindowTitle(QtText(Value)); }
    // Later, so the command that asked ends before the window goes.
    void Close() override {
        QTimer::singleShot(0, this, [this] { close(); });
    }
    void Minimize() override { showMinimized(); }
    // Without a tray on the desktop a hidden window could not be brought back: it stays in the
    // task bar, minimized.
    void HideTaskbarButton() override {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QTimer::singleShot(0, this, [this] { hide(); });
    }
    void Restore() override {
        showNormal();
        raise();
        activateWindow();
    }

protected:
    void changeEvent(QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

private:
    QMenu* AddMenu(const char* Title, const TMenuEntry* Entries, std::size_t Count);
    QWidget* MakePages();
    void TreeContextMenu(QContextMenuEvent* Event);

    TFrmMain& Form;
    std::unique_ptr<TQtTreeView> FTrees[2];
    std::unique_ptr<TQtNotebook> FPages;
    std::unique_ptr<TQtMainToolBar> FToolBar;
    std::unique_ptr<TActionControl> FUndo;
};

TQtMainView::TQtMainView(TFrmMain& AForm) : Form(AForm) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon("quelvano"));
    AddMenu("&Archivo", FileMenu, std::size(FileMenu));
    // The second of the tools is "Deshacer ultimo cambio".
    FUndo = std::make_unique<TActionControl>(
        AddMenu("&Herramientas", ToolsMenu, std::size(ToolsMenu))->actions().at(1));
    Form.mnuDeshacer = FUndo.get();
    AddMenu("Ay&uda", HelpMenu, std::size(HelpMenu));
    FToolBar = std::make_unique<TQtMainToolBar>(this, Form);
    setCentralWidget(MakePages());
    for (const int Width : StatusPanels) {
        auto* const Panel = new QLabel(Width == StatusPanels[0] ? Authors : "");
        Panel->setFixedWidth(Width);
        statusBar()->addWidget(Panel);
    }
    Form.tvConfiguracionesIP = FTrees[0].get();
    Form.tvAdaptadoresRed = FTrees[1].get();
    Form.nbPaginas = FPages.get();
    resize(FormWidth, FormHeight);
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
        move(Screen->availableGeometry().center() - rect().center());
}

QMenu* TQtMainView::AddMenu(const char* Title, const TMenuEntry* Entries, std::size_t Count) {
    QMenu* const Menu = menuBar()->addMenu(QString::fromUtf8(Title));
    for (std::size_t I = 0; I < Count; ++I) {
        const TMenuEntry& E = Entries[I];
        if (E.Run == nullptr) {
            Menu->addSeparator();
            continue;
        }
        QAction* const Action = Menu->addAction(QString::fromUtf8(E.Caption));
        Action->setShortcut(QKeySequence(QString::fromUtf8(E.ShortCut)));
        // Also while a tree has the focus and takes such keys for itself.
        Action->setShortcutContext(Qt::WindowShortcut);
        connect(Action, &QAction::triggered, this,
                [this, Run = E.Run] { RunHandler([this, Run] { Run(Form); }); });
    }
    return Menu;
}

QWidget* TQtMainView::MakePages() {
    auto* const Area = new QWidget;
    auto* const Layout = new QVBoxLayout(Area);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    auto* const Bevel = new QFrame;
    Bevel->setFrameShape(QFrame::HLine);
    Bevel->setFrameShadow(QFrame::Sunken);
    Layout->addWidget(Bevel);
    auto* const Stack = new QStackedWidget;
    const char* const Headers[] = {"  [Mis configuraciones IP]", "  [Conexiones a Red]"};
    const char* const Names[] = {"tvConfiguracionesIP", "tvAdaptadoresRed"};
    for (int I = 0; I < 2; ++I) {
        auto* const Page = new QWidget;
        auto* const PageLayout = new QVBoxLayout(Page);
        PageLayout->setContentsMargins(0, 0, 0, 0);
        PageLayout->setSpacing(0);
        PageLayout->addWidget(MakeHeader(Headers[I]));
        auto* const Tree = new TTreeWidget(Page);
        Tree->setObjectName(QString::fromUtf8(Names[I]));
        PageLayout->addWidget(Tree);
        FTrees[I] = std::make_unique<TQtTreeView>(Tree);
        Stack->addWidget(Page);
    }
    FTrees[0]->Widget()->OnContextMenu = [this](QContextMenuEvent* E) {
        RunHandler([&] { TreeContextMenu(E); });
    };
    FPages = std::make_unique<TQtNotebook>(Stack);
    Layout->addWidget(Stack, 1);
    auto* const Tabs = new QTabBar;
    Tabs->setObjectName(QStringLiteral("tsPaginas"));
    Tabs->setShape(QTabBar::RoundedSouth);
    Tabs->setDrawBase(false);
    Tabs->addTab(QStringLiteral("Mis configuraciones IP"));
    Tabs->addTab(QStringLiteral("Conexiones de Red"));
    connect(Tabs, &QTabBar::currentChanged, this,
            [this](int Index) { RunHandler([&] { Form.tsPaginasChange(Index); }); });
    Layout->addWidget(Tabs, 0, Qt::AlignLeft);
    return Area;
}

// From the mouse, the node under it becomes the selection; from the keyboard, the menu opens
// beside the selected node.
void TQtMainView::TreeContextMenu(QContextMenuEvent* Event) {
    TTreeWidget* const Tree = FTrees[0]->Widget();
    HTreeNode UnderMouse = 0;
    QPoint At = Event->globalPos();
    if (Event->reason() == QContextMenuEvent::Mouse) {
        UnderMouse = TQtTreeView::NodeOf(Tree->itemAt(Event->pos()));
    } else if (QTreeWidgetItem* Chosen = Tree->currentItem()) {
        At = Tree->viewport()->mapToGlobal(Tree->visualItemRect(Chosen).bottomLeft());
    }
    Form.tvConfiguracionesIPContextPopup(UnderMouse);
    Form.TreeViewPopUpMenuPopup();
    PopupMenu(Form.TreeViewPopUpMenu, At);
}

void TQtMainView::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::WindowStateChange && isMinimized())
        RunHandler([this] { Form.ApplicationEvents1Minimize(); });
    else if (Event->type() == QEvent::ActivationChange && isActiveWindow())
        RunHandler([this] { Form.ApplicationEvents1Activate(); });
}

// The tray icon keeps the application alive when no window shows, so the program ends here.
void TQtMainView::closeEvent(QCloseEvent* Event) {
    QMainWindow::closeEvent(Event);
    QCoreApplication::quit();
}

} // namespace

void RegisterQtMainWindow() {
    QApplication::setQuitOnLastWindowClosed(false);
    TFrmMain::ViewFactory = [](TFrmMain& Form) {
        auto View = std::make_unique<TQtMainView>(Form);
        Current = View.get();
        return View;
    };
}

int RunMainWindow() {
    if (Current == nullptr)
        return 0;
    Current->show();
    Current->activateWindow();
    return QApplication::exec();
}
