#include "ui/frmOpcionesUnit.h"

#include "base/Exception.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeSettings.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct FakeOptionsView : FakeFormView {
    explicit FakeOptionsView(TfrmOpciones& F) {
        F.chkIniciarWin = &Run;
        F.chkStartMinimizado = &Minimized;
    }
    FakeCheck Run{"chkIniciarWin"}, Minimized{"chkStartMinimizado"};
};

enum class TEnd { Aceptar, Cancelar, CloseBox };

// Each case stores two values, opens the dialog, ticks the boxes and ends it: what was shown,
// the modal result, any error shown and the values afterwards.
TEST(OptionsDialog, ShowsBothSettingsAndWritesBothOnAceptar) {
    FakeSettings Settings;
    FakeMessages Messages;
    FakeOptionsView* View = nullptr;
    TfrmOpciones::ViewFactory = [&](TfrmOpciones& F) {
        auto V = std::make_unique<FakeOptionsView>(F);
        View = V.get();
        return V;
    };
    const std::string Exe = Application().ExeName();
    const std::string Old = "C:\\Viejo\\quelvano.exe";
    const struct {
        std::string Run, Minimized;
        bool Shown[2];
        bool Tick[2];
        TEnd End;
        std::string Refused;
        int Result;
        std::string Error, RunAfter, MinimizedAfter;
    } Cases[] = {
        {"(none)",
         "(none)",
         {false, false},
         {false, false},
         TEnd::Aceptar,
         "",
         mrOK,
         "",
         "(none)",
         "0"},
        {"(none)", "(none)", {false, false}, {true, true}, TEnd::Aceptar, "", mrOK, "", Exe, "1"},
        {Old, "1", {true, true}, {true, true}, TEnd::Aceptar, "", mrOK, "", Exe, "1"},
        {Old, "1", {true, true}, {false, false}, TEnd::Aceptar, "", mrOK, "", "(none)", "0"},
        {"", "1 ", {false, false}, {false, true}, TEnd::Aceptar, "", mrOK, "", "(none)", "1"},
        {"x", "01", {true, false}, {false, false}, TEnd::Cancelar, "", mrCancel, "", "x", "01"},
        {"(none)",
         "si",
         {false, false},
         {true, true},
         TEnd::CloseBox,
         "",
         mrCancel,
         "",
         "(none)",
         "si"},
        // A refused write is shown and the dialog stays open with the user's choice.
        {"(none)",
         "(none)",
         {false, false},
         {true, true},
         TEnd::Aceptar,
         "Quelvano",
         mrNone,
         "Failed to set data for 'Quelvano'",
         "(none)",
         "(none)"},
        {"(none)",
         "(none)",
         {false, false},
         {true, true},
         TEnd::Aceptar,
         "StartMinimizado",
         mrNone,
         "Failed to set data for 'StartMinimizado'",
         Exe,
         "(none)"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Run + " / " + C.Minimized + " / " + C.Refused);
        Settings.Set(RunKeyPath, "Quelvano", C.Run);
        Settings.Set(ProgramKeyPath, "StartMinimizado", C.Minimized);
        Settings.Refused = {C.Refused};
        Messages.Boxes.clear();
        TfrmOpciones Form(nullptr);
        EXPECT_EQ(View->Run.IsChecked, C.Shown[0]);
        EXPECT_EQ(View->Minimized.IsChecked, C.Shown[1]);
        View->User = [&] {
            View->Run.IsChecked = C.Tick[0];
            View->Minimized.IsChecked = C.Tick[1];
            if (C.End == TEnd::Aceptar)
                Fire([&] { Form.btnAceptarClick(); });
            else
                C.End == TEnd::Cancelar ? Form.btnCancelarClick() : Form.CloseBoxClick();
        };
        EXPECT_EQ(Form.ShowModal(), C.Result);
        EXPECT_EQ(Messages.Boxes.empty() ? "" : Messages.Boxes[0].Text, C.Error);
        EXPECT_EQ(Settings.Value(RunKeyPath, "Quelvano"), C.RunAfter);
        EXPECT_EQ(Settings.Value(ProgramKeyPath, "StartMinimizado"), C.MinimizedAfter);
    }

    // A value of another type fails the opening with the store's error.
    Settings.Set(ProgramKeyPath, "StartMinimizado", "(not a string)");
    EXPECT_THROW(TfrmOpciones(nullptr), Exception);
    TfrmOpciones::ViewFactory = nullptr;
}

} // namespace
