#include "base/TApplication.h"

#include <stdexcept>

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
    const TModalScope Modal(*this);
    return OnMessageBox ? OnMessageBox(Text, Caption, Flags) : MsgBox::IdCancel;
}

void TApplication::ShowException(const std::exception& E) {
    std::string Text = E.what();
    // Bytes of a character past ASCII all sort after "." as well.
    if (!Text.empty() && static_cast<unsigned char>(Text.back()) > '.')
        Text += '.';
    MessageBox(Text, Title, MsgBox::OK | MsgBox::IconError);
}

namespace {

// A plain pointer: nothing here is destroyed at exit, whatever order that happens in.
TApplication* Current = nullptr;

} // namespace

TApplication::TApplication() : FPrevious(Current) {
    Current = this;
}

TApplication::~TApplication() {
    // Freed here rather than by TComponent, so that they go while this object is still whole
    // and still current: their destructors may use its title, its hooks or Application().
    DestroyComponents();
    Current = FPrevious;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    for (auto& Entry : FSingleInstances)
        if (Entry.second == AComponent)
            Entry.second = nullptr;
}

TApplication& Application() {
    if (Current == nullptr)
        throw std::logic_error("No application object exists.");
    return *Current;
}

void RunHandler(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const std::exception& E) {
        Application().ShowException(E);
    }
}
