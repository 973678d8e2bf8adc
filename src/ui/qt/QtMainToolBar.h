#pragma once

#include "ui/Forms.h"

#include <QAction>

#include <memory>

class QMainWindow;
class TFrmMain;

// One toolbar button as the controller sees it: enabled or not. The menu bar has its own
// actions, which stay enabled whatever the page.
class TActionControl : public TControl {
public:
    explicit TActionControl(QAction* Action) : FAction(Action) {}
    bool Enabled() const override { return FAction->isEnabled(); }
    void SetEnabled(bool Value) override { FAction->setEnabled(Value); }
    bool CanFocus() const override { return false; }
    void SetFocus() override {}

private:
    QAction* FAction;
};

// The main window's toolbar: captions under 24-pixel pictures and the buttons' hints as tooltips.
// Hands its four IP-set buttons to the form.
class TQtMainToolBar {
public:
    TQtMainToolBar(QMainWindow* Window, TFrmMain& Form);

private:
    std::unique_ptr<TActionControl> FButtons[4];
};
