#include "ui/qt/QtDialogs.h"

#include "base/TApplication.h"
#include "ui/qt/AboutView.h"
#include "ui/qt/AdvancedView.h"
#include "ui/qt/IPSetView.h"
#include "ui/qt/OptionsView.h"
#include "ui/qt/QtDialog.h"
#include "ui/qt/QtWaitBox.h"
#include "ui/qt/WizardView.h"

void RegisterQtDialogs() {
    Application().OnMessageBox = QtMessageBox;
    Application().OnShowMessage = [](const std::string& Text) {
        QtMessageBox(Text, Application().Title, MsgBox::OK);
    };
    WaitBoxViewFactory = MakeQtWaitBoxView;
    TFrmIPSet::ViewFactory = MakeQtIPSetView;
    TFrmAdvancedOptions::ViewFactory = MakeQtAdvancedView;
    TfrmOpciones::ViewFactory = MakeQtOptionsView;
    TfrmAcercaDe::ViewFactory = MakeQtAboutView;
    TfrmWizard::ViewFactory = MakeQtWizardView;
}
