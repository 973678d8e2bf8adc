#include "ui/qt/QtMainToolBar.h"

#include "ui/f_main.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtPictures.h"

#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

namespace {

const int ButtonWidth = 57;
const int ButtonHeight = 44;

enum class TKind { Button, Gap, Line };

struct TButtonEntry {
    TKind Kind;
    const char* Picture;
    const char* Caption;
    const char* Hint;
    void (*Run)(TFrmMain&);
};

const TButtonEntry Buttons[] = {
    {TKind::Gap, "", "", "", nullptr},
    {TKind::Button, "activar", "Activar IP", "Activar la configuracion IP seleccionada",
     [](TFrmMain& F) { F.ActivateSelectedIPSet(); }},
    {TKind::Line, "", "", "", nullptr},
    {TKind::Button, "agregar", "Agregar IP", "Agregar configuracion IP seleccionada",
     [](TFrmMain& F) { F.AddNewIPConfigurationSet1Click(); }},
    {TKind::Button, "editar", "Editar IP", "Editar la configuracion IP seleccionada",
     [](TFrmMain& F) { F.EditSelectedIPSet(); }},
    {TKind::Button, "eliminar", "Eliminar IP", "Eliminar la configuracion IP seleccionada",
     [](TFrmMain& F) { F.DeleteSelectedIPSet(); }},
    {TKind::Line, "", "", "", nullptr},
    {TKind::Button, "refrescar", "Refrescar", "Refrescar lista de configuraciones/conexiones",
     [](TFrmMain& F) { F.Refresh(); }},
    {TKind::Line, "", "", "", nullptr},
    {TKind::Button, "wizard", "Wizard",
     "Iniciar Wizard\r\n(Iniciar tutor para agregar configuracion de red)",
     [](TFrmMain& F) { F.RunWizard(); }},
    {TKind::Button, "opciones", "Opciones", "Opciones del sistema",
     [](TFrmMain& F) { F.ShowOptions(); }},
    {TKind::Line, "", "", "", nullptr},
    {TKind::Button, "ayuda", "Ayuda", "Ayuda del sistema", [](TFrmMain& F) { F.Help(); }},
    {TKind::Button, "acerca", "Acerca", "Acerca de Quelvano",
     [](TFrmMain& F) { F.ShowAboutBox(); }},
};

} // namespace

TQtMainToolBar::TQtMainToolBar(QMainWindow* Window, TFrmMain& Form) {
    QToolBar* const Bar = Window->addToolBar(QStringLiteral("ToolBar1"));
    Bar->setObjectName(QStringLiteral("ToolBar1"));
    Bar->setMovable(false);
    Bar->setFloatable(false);
    Bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Bar->setIconSize(QSize(24, 24));
    int Bound = 0;
    for (const TButtonEntry& E : Buttons) {
        if (E.Kind == TKind::Line) {
            Bar->addSeparator();
            continue;
        }
        if (E.Kind == TKind::Gap) {
            auto* const Gap = new QWidget;
            Gap->setFixedWidth(8);
            Bar->addWidget(Gap);
            continue;
        }
        QAction* const Action =
            Bar->addAction(ProgramIcon(E.Picture), QString::fromUtf8(E.Caption));
        Action->setToolTip(QtText(E.Hint));
        QObject::connect(Action, &QAction::triggered,
                         [&Form, Run = E.Run] { RunHandler([&Form, Run] { Run(Form); }); });
        Bar->widgetForAction(Action)->setMinimumSize(ButtonWidth, ButtonHeight);
        if (Bound < 4)
            FButtons[Bound++] = std::make_unique<TActionControl>(Action);
    }
    Form.btnActivarConfIP = FButtons[0].get();
    Form.btnAgregarConfIP = FButtons[1].get();
    Form.btnEditarConfIP = FButtons[2].get();
    Form.btnEliminarConfIP = FButtons[3].get();
}
