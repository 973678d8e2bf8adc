#include "ui/qt/QtDialogs.h"

#include "base/TApplication.h"
#include "ui/qt/QtDialog.h"
#include "ui/qt/QtWaitBox.h"

void RegisterQtDialogs() {
    Application().OnMessageBox = QtMessageBox;
    Application().OnShowMessage = [](const std::string& Text) {
        QtMessageBox(Text, Application().Title, MsgBox::OK);
    };
    WaitBoxViewFactory = MakeQtWaitBoxView;
}
