#pragma once

#include "ipset/IPSetCommands.h"

// Follows an apply. Its listeners hear, in this order: that it began (the wait box shows), the
// progress 35, after each step that step and then its progress value, the progress 100, that it
// ended (the wait box goes), and its report. The wait box, the tray icon and the console each
// take what they show.
class TApplyListener {
public:
    virtual ~TApplyListener() = default;
    virtual void ApplyBegun() {}
    virtual void ApplyProgress(int /*Position*/) {}
    virtual void ApplyStepDone(int /*Step*/, int /*Count*/, const TApplyStep&,
                               const TStepOutcome&) {}
    virtual void ApplyEnded() {}
    virtual void ApplyReported(const TApplyReport&) {}
};
