#pragma once

#include "ui/Forms.h"

#include <array>
#include <string>
#include <vector>

// What the boxes of one entry hold: the value, and its mask, metric or prefix length (empty in a
// list of plain values).
using TEntryTexts = std::array<std::string, 2>;

// Why an entry may not be listed, and the box (0: the value, 1: the second) the user must mend.
struct TEntryRefusal {
    std::string Message;
    int Box = 0;
};

// One list of the advanced options with its boxes and buttons: the user types an entry and adds
// it, chooses one to bring it back into the boxes, then changes, removes or moves it. Each entry
// is checked as it goes into the list; the buttons are enabled only when they can act.
class TEntryList {
public:
    // An empty message when the entry may be listed; may rewrite the texts into their stored form.
    using TCheck = TEntryRefusal (*)(TEntryTexts& Entry);
    // The line the list shows for an entry.
    using TFormat = std::string (*)(const TEntryTexts& Entry);

    // SecondDefault: what the second box holds when it is cleared.
    TEntryList(TCheck Check, TFormat Format, std::string SecondDefault = {});

    // Bound by the view; Second stays null in a list of plain values.
    TListBox* List = nullptr;
    TEdit* Value = nullptr;
    TEdit* Second = nullptr;
    TButton* btnAgregar = nullptr;
    TButton* btnModificar = nullptr;
    TButton* btnQuitar = nullptr;
    TButton* btnSubir = nullptr;
    TButton* btnBajar = nullptr;

    const std::vector<TEntryTexts>& Entries() const { return FEntries; }
    void SetEntries(std::vector<TEntryTexts> Items);
    // A disabled list keeps its entries.
    void SetEnabled(bool On);

    void ListClick();
    void btnAgregarClick();
    void btnModificarClick();
    void btnQuitarClick();
    void btnSubirClick();
    void btnBajarClick();

private:
    // The checked boxes; false after showing why they are refused, the focus in the box.
    bool ReadBoxes(TEntryTexts& Entry) const;
    void ClearBoxes();
    void Show(int Selected);
    void EnableControls();
    void Move(int By);
    // A button that can no longer act hands the focus to the list, so the keyboard keeps a place.
    void KeepFocus(TButton* Pressed);

    TCheck FCheck;
    TFormat FFormat;
    std::string FSecondDefault;
    std::vector<TEntryTexts> FEntries;
    bool FEnabled = true;
};
