#include "ui/EntryList.h"

#include "base/TApplication.h"
#include "base/TextUtils.h"

#include <algorithm>
#include <utility>

namespace {

const char* const MessageCaption = "Wizard";

} // namespace

TEntryList::TEntryList(TCheck Check, TFormat Format, std::string SecondDefault)
    : FCheck(Check), FFormat(Format), FSecondDefault(std::move(SecondDefault)) {}

void TEntryList::SetEntries(std::vector<TEntryTexts> Items) {
    FEntries = std::move(Items);
    ClearBoxes();
    Show(-1);
}

void TEntryList::SetEnabled(bool On) {
    FEnabled = On;
    EnableControls();
}

void TEntryList::ListClick() {
    const int Index = List->ItemIndex();
    if (Index >= 0 && Index < static_cast<int>(FEntries.size())) {
        Value->SetText(FEntries[std::size_t(Index)][0]);
        if (Second != nullptr)
            Second->SetText(FEntries[std::size_t(Index)][1]);
    }
    EnableControls();
}

void TEntryList::btnAgregarClick() {
    TEntryTexts Entry;
    if (!ReadBoxes(Entry))
        return;
    FEntries.push_back(Entry);
    ClearBoxes();
    Show(static_cast<int>(FEntries.size()) - 1);
    Value->SetFocus();
}

void TEntryList::btnModificarClick() {
    const int Index = List->ItemIndex();
    TEntryTexts Entry;
    if (Index < 0 || !ReadBoxes(Entry))
        return;
    FEntries[std::size_t(Index)] = Entry;
    Show(Index);
    ListClick();
}

void TEntryList::btnQuitarClick() {
    const int Index = List->ItemIndex();
    if (Index < 0)
        return;
    FEntries.erase(FEntries.begin() + Index);
    ClearBoxes();
    Show(FEntries.empty() ? -1 : std::min(Index, static_cast<int>(FEntries.size()) - 1));
    KeepFocus(btnQuitar);
}

void TEntryList::btnSubirClick() {
    Move(-1);
    KeepFocus(btnSubir);
}

void TEntryList::btnBajarClick() {
    Move(1);
    KeepFocus(btnBajar);
}

void TEntryList::Move(int By) {
    const int Index = List->ItemIndex();
    const int To = Index + By;
    if (Index < 0 || To < 0 || To >= static_cast<int>(FEntries.size()))
        return;
    std::swap(FEntries[std::size_t(Index)], FEntries[std::size_t(To)]);
    Show(To);
}

bool TEntryList::ReadBoxes(TEntryTexts& Entry) const {
    Entry = {Trim(Value->Text()), Second != nullptr ? Trim(Second->Text()) : ""};
    const TEntryRefusal Refusal = FCheck(Entry);
    if (Refusal.Message.empty())
        return true;
    Application().MessageBox(Refusal.Message, MessageCaption, MsgBox::OK | MsgBox::IconExclamation);
    (Refusal.Box == 1 && Second != nullptr ? Second : Value)->SetFocus();
    return false;
}

void TEntryList::ClearBoxes() {
    Value->SetText("");
    if (Second != nullptr)
        Second->SetText(FSecondDefault);
}

void TEntryList::Show(int Selected) {
    std::vector<std::string> Lines;
    for (const TEntryTexts& Entry : FEntries)
        Lines.push_back(FFormat(Entry));
    List->SetItems(Lines);
    List->SetItemIndex(Selected);
    EnableControls();
}

void TEntryList::EnableControls() {
    const int Index = FEnabled ? List->ItemIndex() : -1;
    const int Last = static_cast<int>(FEntries.size()) - 1;
    for (TControl* Control : {static_cast<TControl*>(List), static_cast<TControl*>(Value),
                              static_cast<TControl*>(btnAgregar)})
        Control->SetEnabled(FEnabled);
    if (Second != nullptr)
        Second->SetEnabled(FEnabled);
    btnModificar->SetEnabled(Index >= 0);
    btnQuitar->SetEnabled(Index >= 0);
    btnSubir->SetEnabled(Index > 0);
    btnBajar->SetEnabled(Index >= 0 && Index < Last);
}

void TEntryList::KeepFocus(TButton* Pressed) {
    if (!Pressed->CanFocus() && List->CanFocus())
        List->SetFocus();
}
