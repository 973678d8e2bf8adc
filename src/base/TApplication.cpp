#include "base/TApplication.h"

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
    return OnMessageBox ? OnMessageBox(Text, Caption, Flags) : MsgBox::IdCancel;
}

void TApplication::ShowException(const std::exception& E) {
    std::string Text = E.what();
    // Bytes of a character past ASCII all sort after "." as well.
    if (!Text.empty() && static_cast<unsigned char>(Text.back()) > '.')
        Text += '.';
    MessageBox(Text, Title, MsgBox::OK | MsgBox::IconError);
}

TApplication& Application() {
    static TApplication Instance;
    return Instance;
}
