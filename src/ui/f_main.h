#pragma once

#include "base/TComponent.h"
#include "ipset/TreeView.h"
#include "tray/ExtCtrlsX.h"
#include "tray/Menus.h"
#include "ui/Forms.h"
#include "ui/NetworkFollower.h"
#include "ui/f_WaitBox.h"

#include <functional>
#include <memory>
#include <string>

class TgtIPSetManager;
class TFrmMain;

// What the main window's controller asks of its window; the controls themselves are bound to the
// form's members.
class TMainFormView {
public:
    virtual ~TMainFormView() = default;
    virtual void SetCaption(const std::string& Value) = 0;
    // Closing the main window ends the program.
    virtual void Close() = 0;
    // Minimizes the application; the front end reports every minimize, whatever started it,
    // through ApplicationEvents1Minimize.
    virtual void Minimize() = 0;
    // Hides the window, and with it its task-bar button.
    virtual void HideTaskbarButton() = 0;
    // Brings the application back from the notification area, in front of the others.
    virtual void Restore() = 0;
    // Runs Step once the window has painted itself for the first time, before it takes input;
    // at once where the window has no such moment.
    virtual void AfterFirstPaint(std::function<void()> Step) { Step(); }
};

using TMainFormViewFactory = std::function<std::unique_ptr<TMainFormView>(TFrmMain&)>;

// The program's main window: wires the components together, shows the IP sets and the adapters
// on two pages, and runs every command of the menus, the toolbar, the tree's pop-up and the tray.
class TFrmMain : public TComponent {
public:
    static inline TMainFormViewFactory ViewFactory;
    // The platform's watch of the network; without one the window refreshes on request only.
    static inline TNetworkWatchFactory WatchFactory;
    static const char* const MainCaption;

    // Errors of any step propagate: the program cannot start without its window.
    TFrmMain(TComponent* AOwner, TTrayServices TrayServices);
    ~TFrmMain() override;

    // Bound by the view when it is made.
    TTreeView* tvConfiguracionesIP = nullptr;
    TTreeView* tvAdaptadoresRed = nullptr;
    TNotebook* nbPaginas = nullptr;
    TControl* btnActivarConfIP = nullptr;
    TControl* btnAgregarConfIP = nullptr;
    TControl* btnEditarConfIP = nullptr;
    TControl* btnEliminarConfIP = nullptr;
    // The main menu's "Deshacer ultimo cambio".
    TControl* mnuDeshacer = nullptr;

    // The front end shows these as they stand when they pop up.
    TPopupMenu TreeViewPopUpMenu;
    TMenuItem* pmActivarConfigIP = nullptr;
    TMenuItem* pmAgregarConfigIP = nullptr;
    TMenuItem* pmEditarConfigIP = nullptr;
    TMenuItem* pmEliminarConfigIP = nullptr;
    TMenuItem* mnuRefrescar = nullptr;
    TPopupMenu TrayIconMenu;
    TMenuItem* ApplyIPSet1 = nullptr;
    TMenuItem* UndoLastChange1 = nullptr;

    TTrayIcon* TornibelTrayIcon() const { return FTrayIcon; }
    TgtIPSetManager* IPSetManager() const { return FIPSetManager; }
    int SelectedIPSetID() const { return FSelectedIPSetID; }
    int PageIndex() const { return FPageIndex; }

    // Commands.
    void ActivateSelectedIPSet();
    void AddNewIPConfigurationSet1Click();
    void EditSelectedIPSet();
    void DeleteSelectedIPSet();
    void Refresh();
    void RunWizard();
    void ShowOptions();
    void ShowAboutBox();
    void Help();
    void Exit1Click();
    void mnuSalirClick();
    void BuildApplyMenu();
    void SetsInForceChanged();
    void ApplyMenuItemClick(TComponent* Sender);
    void UndoLastChange();

    // Events of the window and its controls.
    void tsPaginasChange(int NewTab);
    void tvConfiguracionesIPContextPopup(HTreeNode NodeUnderMouse);
    void TreeViewPopUpMenuPopup();
    void TornibelTrayIconDblClick();
    void ApplicationEvents1Minimize();
    void ApplicationEvents1Activate();

private:
    void BuildMenus();
    void Construct(TTrayServices TrayServices);
    void ShowTrayIcon();
    void nbPaginasPageChanged();
    // False when the selection names no IP set; otherwise FSelectedIPSetID holds it.
    bool ResolveSelection();
    // ResolveSelection, then the set's row made current; false when nothing is selected. Raises
    // RowGoneMessage when the selected set is no longer in the table.
    bool LocateSelection();
    void FreeComponents();
    // After a command that changed the IP-set table: the trees and the tray submenu again.
    void TablesChanged();
    // Shows a dialog of the window modally with the tray menu's items disabled meanwhile.
    int ShowDialog(TForm& Dialog);
    void SetTrayMenuEnabled(bool Value);
    // "Deshacer ultimo cambio" enabled only while something is recorded to undo.
    void UpdateUndo();

    std::unique_ptr<TMainFormView> FView;
    TTrayIcon* FTrayIcon = nullptr;
    TgtIPSetManager* FIPSetManager = nullptr;
    TWaitBoxListener FWaitBoxListener;
    int FSelectedIPSetID = 0;
    int FPageIndex = 0;
    bool FFirstMinimize = true;
    bool FFirstActivate = true;
    // The watch goes first, so no notification reaches the follower as it goes.
    std::unique_ptr<TNetworkFollower> FFollower;
    std::unique_ptr<TNetworkWatch> FWatch;
};

// The main window of the running program, made by the program's entry.
extern TFrmMain* FrmMain;
