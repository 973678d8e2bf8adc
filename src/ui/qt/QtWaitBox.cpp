#include "ui/qt/QtWaitBox.h"

#include "ui/qt/QtControls.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

const int ClientWidth = 307;
const int ClientHeight = 110;
const TColor LabelColour = RGBColor(62, 62, 62);

class TQtWaitBox : public QDialog, public TWaitBoxView {
public:
    TQtWaitBox()
        : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowStaysOnTopHint) {
        setWindowTitle(QtText(TFrmWaitBox::Caption));
        SetWidgetColour(this, clWhite);
        FLabel->setObjectName("Label1");
        QPalette Palette = FLabel->palette();
        Palette.setColor(QPalette::WindowText, QtColor(LabelColour));
        FLabel->setPalette(Palette);
        FBar->setObjectName("ProgressBar1");
        FBar->setRange(0, 100);
        FBar->setValue(0);
        FBar->setTextVisible(false);
        auto* const Layout = new QVBoxLayout(this);
        Layout->setContentsMargins(12, 8, 12, 10);
        Layout->addWidget(FLabel, 1);
        Layout->addWidget(FBar);
        // The text carries its own line breaks: where the desktop's font is wider than the
        // form's, the box grows to hold the lines rather than break them anew.
        resize(ClientWidth, ClientHeight);
        setFixedSize(size().expandedTo(minimumSizeHint()));
    }

    // The apply blocks the thread right after this, so paint now rather than later.
    void Show() override {
        show();
        raise();
        repaint();
    }

    void SetProgress(int Position) override {
        FBar->setValue(Position);
        FBar->repaint();
    }

protected:
    void closeEvent(QCloseEvent* Event) override { Event->ignore(); }
    void reject() override {} // Esc: only HideWaitBox removes the box

private:
    QLabel* FLabel = new QLabel(QtText(TFrmWaitBox::Text), this);
    QProgressBar* FBar = new QProgressBar(this);
};

} // namespace

std::unique_ptr<TWaitBoxView> MakeQtWaitBoxView() {
    return std::make_unique<TQtWaitBox>();
}
