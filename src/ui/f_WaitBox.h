#pragma once

#include "base/TComponent.h"
#include "ipset/ApplyListener.h"

#include <functional>
#include <memory>

// What the wait box needs of a window: show it and move its bar.
class TWaitBoxView {
public:
    virtual ~TWaitBoxView() = default;
    virtual void Show() = 0;
    virtual void SetProgress(int Position) = 0;
};

// Makes the window of a new wait box. The front end installs it; without one a wait box keeps
// its state and shows nothing.
using TWaitBoxViewFactory = std::function<std::unique_ptr<TWaitBoxView>()>;
extern TWaitBoxViewFactory WaitBoxViewFactory;

// The bar of the wait box, from 0 to 100.
class TProgressBar {
public:
    int Position() const { return FPosition; }
    void SetPosition(int Value);

private:
    friend class TFrmWaitBox;
    TWaitBoxView* FView = nullptr;
    int FPosition = 0;
};

// The small stay-on-top box shown while a connection is being reconfigured. It has no close
// box: it goes away only through HideWaitBox.
class TFrmWaitBox : public TComponent {
public:
    static const char* const Caption;
    static const char* const Text;

    explicit TFrmWaitBox(TComponent* AOwner);
    ~TFrmWaitBox() override;

    TProgressBar& ProgressBar1() { return FProgressBar1; }
    void Show();
    bool Visible() const { return FVisible; }

private:
    std::unique_ptr<TWaitBoxView> FView;
    TProgressBar FProgressBar1;
    bool FVisible = false;
};

// The wait box that exists at the moment, or none.
extern TFrmWaitBox* FrmWaitBox;

// Replaces any wait box by a fresh hidden one, owned by the application.
void CreateWaitBox();
// Replaces any wait box by a fresh one, owned by the application, and shows it without waiting.
void ShowWaitBox();
// Frees the wait box if there is one.
void HideWaitBox();

// Shows the wait box while an apply runs, with its progress.
class TWaitBoxListener : public TApplyListener {
public:
    void ApplyBegun() override { ShowWaitBox(); }
    void ApplyProgress(int Position) override;
    void ApplyEnded() override { HideWaitBox(); }
};
