#include "ui/win32/Dialogs.h"

#include "base/TApplication.h"
#include "base/win32/WideText.h"
#include "ui/win32/AboutView.h"
#include "ui/win32/AdvancedView.h"
#include "ui/win32/DialogBase.h"
#include "ui/win32/IPSetView.h"
#include "ui/win32/OptionsView.h"
#include "ui/win32/WizardView.h"

#include <windows.h>

#include <commctrl.h>

void RegisterWin32Dialogs() {
    INITCOMMONCONTROLSEX Controls = {sizeof Controls, ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&Controls);
    // A message raised in a dialog is modal to it; any other, to the main window.
    Application().OnMessageBox = [](const std::string& Text, const std::string& Caption,
                                    unsigned Flags) {
        return MessageBoxW(ModalOwner(), ToWide(Text).c_str(), ToWide(Caption).c_str(), Flags);
    };
    TFrmIPSet::ViewFactory = MakeIPSetView;
    TFrmAdvancedOptions::ViewFactory = MakeAdvancedView;
    TfrmOpciones::ViewFactory = MakeOptionsView;
    TfrmAcercaDe::ViewFactory = MakeAboutView;
    TfrmWizard::ViewFactory = MakeWizardView;
}
