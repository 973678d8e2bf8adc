#include "tray/ApplyBalloon.h"

#include "tray/ExtCtrlsX.h"

void TApplyBalloon::ApplyReported(const TApplyReport& Report) {
    if (FIcon == nullptr)
        return;
    FIcon->SetBalloonTitle(Report.Title);
    FIcon->SetBalloonHint(Report.Text);
    FIcon->SetBalloonFlags(Report.Warning ? bfWarning : Report.Succeeded ? bfInfo : bfError);
    FIcon->ShowBalloonHint();
}
