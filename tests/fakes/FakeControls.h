#pragma once

#include "base/TApplication.h"
#include "ui/Forms.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <vector>

// Controls in memory for driving form controllers. Each knows its name; the last one given the
// focus is in FakeFocus::Name.
struct FakeFocus {
    static inline std::string Name;
};

template <class Base> class FakeControlOf : public Base {
public:
    explicit FakeControlOf(std::string AName) : Name(std::move(AName)) {}
    std::string Name;
    bool IsEnabled = true;
    bool IsVisible = true;
    bool Enabled() const override { return IsEnabled; }
    void SetEnabled(bool Value) override { IsEnabled = Value; }
    bool CanFocus() const override { return IsEnabled && IsVisible; }
    void SetFocus() override { FakeFocus::Name = Name; }
};

class FakeEdit : public FakeControlOf<TEdit> {
public:
    using FakeControlOf::FakeControlOf;
    std::string Value;
    TColor Color = clWhite;
    std::string Text() const override { return Value; }
    void SetText(const std::string& V) override { Value = V; }
    void SetColor(TColor V) override { Color = V; }
};

class FakeButton : public FakeControlOf<TButton> {
public:
    using FakeControlOf::FakeControlOf;
    std::string Caption;
    void SetCaption(const std::string& V) override { Caption = V; }
};

class FakeCheck : public FakeControlOf<TCheckControl> {
public:
    using FakeControlOf::FakeControlOf;
    bool IsChecked = false;
    bool Checked() const override { return IsChecked; }
    void SetChecked(bool V) override { IsChecked = V; }
};

class FakeCombo : public FakeControlOf<TComboBox> {
public:
    using FakeControlOf::FakeControlOf;
    std::vector<std::string> Items;
    std::vector<int> Data;
    int Index = -1;
    void SetItems(const std::vector<std::string>& V) override {
        Items = V;
        Data.assign(V.size(), 0);
    }
    int Count() const override { return static_cast<int>(Items.size()); }
    int ItemData(int I) const override { return Data.at(static_cast<std::size_t>(I)); }
    void SetItemData(int I, int V) override { Data.at(static_cast<std::size_t>(I)) = V; }
    int ItemIndex() const override { return Index; }
    void SetItemIndex(int V) override { Index = V; }
    std::string Text() const override {
        return Index >= 0 && Index < static_cast<int>(Items.size()) ? Items[std::size_t(Index)]
                                                                    : "";
    }
    // Chooses the item showing Name; "" (or a name not listed) clears the choice.
    void Pick(const std::string& Shown) {
        const auto It = std::find(Items.begin(), Items.end(), Shown);
        Index = It == Items.end() ? -1 : static_cast<int>(It - Items.begin());
    }
};

class FakeListBox : public FakeControlOf<TListBox> {
public:
    using FakeControlOf::FakeControlOf;
    std::vector<std::string> Items;
    int Index = -1;
    void SetItems(const std::vector<std::string>& V) override {
        Items = V;
        Index = -1;
    }
    int ItemIndex() const override { return Index; }
    void SetItemIndex(int V) override { Index = V; }
};

class FakeNotebook : public TNotebook {
public:
    int PageIndex = -1;
    void SetPageIndex(int V) override { PageIndex = V; }
};

// Runs an event handler as the front ends' dispatch does: an error goes to the general error
// display and the program goes on.
inline void Fire(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const std::exception& E) {
        Application().ShowException(E);
    }
}

// A window that runs a script in place of the user while the form is shown:
//   View.User = [&] { Name.Value = "abc"; Form.btnAceptarClick(); };
class FakeFormView : public TFormView {
public:
    std::string Caption;
    std::function<void()> User;
    bool Ended = false;
    int Shown = 0;
    void SetCaption(const std::string& V) override { Caption = V; }
    void ShowModal() override {
        ++Shown;
        Ended = false;
        if (User)
            User();
    }
    void EndModal() override { Ended = true; }
};

// Answers message boxes from a queue (IdOK when it runs dry) and keeps what each one showed.
class FakeMessages {
public:
    struct Shown {
        std::string Text;
        std::string Caption;
        unsigned Flags;
        std::string Focus; // where the focus was when the box came up
    };

    FakeMessages() {
        Application().OnMessageBox = [this](const std::string& T, const std::string& C,
                                            unsigned F) {
            Boxes.push_back({T, C, F, FakeFocus::Name});
            if (Answers.empty())
                return MsgBox::IdOK;
            const int A = Answers.front();
            Answers.pop_front();
            return A;
        };
    }
    ~FakeMessages() { Application().OnMessageBox = nullptr; }
    FakeMessages(const FakeMessages&) = delete;
    FakeMessages& operator=(const FakeMessages&) = delete;

    std::deque<int> Answers;
    std::vector<Shown> Boxes;
};
