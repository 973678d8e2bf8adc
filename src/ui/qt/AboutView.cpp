#include "ui/qt/AboutView.h"

#include "ui/qt/QtControls.h"
#include "ui/qt/QtDialog.h"
#include "ui/qt/QtPictures.h"

#include "ui_AboutDialog.h"

namespace {

class TQtAboutView : public TQtDialog {
public:
    explicit TQtAboutView(TfrmAcercaDe& Form) : TQtDialog(TPlacement::Owner), FForm(Form) {
        FUi.Image1->setPixmap(ProgramIcon("quelvano").pixmap(32, 32));
        SetBoldFont(FUi.Label1, 150);
        FixSize();
        connect(FUi.btnAceptar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnAceptarClick(); }); });
        connect(FUi.Label8, &QLabel::linkActivated, this,
                [this] { RunHandler([this] { FForm.Label8Click(); }); });
    }

private:
    // Enter is Aceptar's, though Tab never reaches it.
    void OnShow() override { FUi.btnAceptar->setFocus(Qt::OtherFocusReason); }
    void OnCloseBox() override { FForm.CloseBoxClick(); }

    TfrmAcercaDe& FForm;
    TQtForm<Ui::AboutDialog> FUi{this};
};

} // namespace

std::unique_ptr<TFormView> MakeQtAboutView(TfrmAcercaDe& Form) {
    return std::make_unique<TQtAboutView>(Form);
}
