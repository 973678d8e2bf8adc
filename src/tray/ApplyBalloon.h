#pragma once

#include "ipset/ApplyListener.h"

class TTrayIcon;

// Shows an apply's report as a balloon of the tray icon it is given, when there is one.
class TApplyBalloon : public TApplyListener {
public:
    void SetTrayIcon(TTrayIcon* Icon) { FIcon = Icon; }
    void ApplyReported(const TApplyReport& Report) override;

private:
    TTrayIcon* FIcon = nullptr;
};
