#include "ui/qt/OptionsView.h"

#include "ui/qt/QtControls.h"
#include "ui/qt/QtDialog.h"

#include "ui_OptionsDialog.h"

namespace {

class TQtOptionsView : public TQtDialog {
public:
    explicit TQtOptionsView(TfrmOpciones& Form) : TQtDialog(TPlacement::Owner), FForm(Form) {
        FixSize();
        SetWidgetColour(this, clWhite);
        Form.chkIniciarWin = &FRun;
        Form.chkStartMinimizado = &FMinimized;
        connect(FUi.btnAceptar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnAceptarClick(); }); });
        connect(FUi.btnCancelar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnCancelarClick(); }); });
        connect(FUi.btnAyudar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnAyudarClick(); }); });
    }

private:
    void OnCloseBox() override { FForm.CloseBoxClick(); }
    void OnEscape() override { FForm.btnCancelarClick(); }

    TfrmOpciones& FForm;
    TQtForm<Ui::OptionsDialog> FUi{this};
    TQtCheck FRun{FUi.chkIniciarWin};
    TQtCheck FMinimized{FUi.chkStartMinimizado};
};

} // namespace

std::unique_ptr<TFormView> MakeQtOptionsView(TfrmOpciones& Form) {
    return std::make_unique<TQtOptionsView>(Form);
}
