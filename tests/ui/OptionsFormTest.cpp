#include "ui/frmAcercaDeUnit.h"
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

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        TfrmOpciones::ViewFactory = [this](TfrmOpciones& F) {
            auto V = std::make_unique<FakeOptionsView>(F);
            View = V.get();
            return V;
        };
    }
    void TearDown() override { TfrmOpciones::ViewFactory = nullptr; }

    void Store(const std::string& Run, const std::string& Minimized) {
        Settings.Set(RunKeyPath, "Quelvano", Run);
        Settings.Set(ProgramKeyPath, "StartMinimizado", Minimized);
    }
    std::string Run() const { return Settings.Value(RunKeyPath, "Quelvano"); }
    std::string Minimized() const { return Settings.Value(ProgramKeyPath, "StartMinimizado"); }

    // Opens the dialog, ticks the boxes as given and ends it; the modal result.
    int Use(bool TickRun, bool TickMinimized, TEnd End) {
        TfrmOpciones Form(nullptr);
        View->User = [&] {
            View->Run.IsChecked = TickRun;
            View->Minimized.IsChecked = TickMinimized;
            if (End == TEnd::Aceptar)
                Fire([&] { Form.btnAceptarClick(); });
            else if (End == TEnd::Cancelar)
                Form.btnCancelarClick();
            else
                Form.CloseBoxClick();
        };
        return Form.ShowModal();
    }

    FakeSettings Settings;
    FakeMessages Messages;
    FakeOptionsView* View = nullptr;
};

TEST_F(OptionsDialog, ShowsBothSettingsAndAceptarWritesBothEveryTime) {
    const std::string Exe = Application().ExeName();
    const struct {
        std::string Run, Minimized; // stored before
        bool ShownRun, ShownMinimized;
        bool TickRun, TickMinimized;
        TEnd End;
        int Result;
        std::string RunAfter, MinimizedAfter;
    } Cases[] = {
        {"(none)", "(none)", false, false, false, false, TEnd::Aceptar, mrOK, "(none)", "0"},
        {"(none)", "(none)", false, false, true, true, TEnd::Aceptar, mrOK, Exe, "1"},
        {"C:\\Viejo\\quelvano.exe", "1", true, true, true, true, TEnd::Aceptar, mrOK, Exe, "1"},
        {"C:\\Viejo\\quelvano.exe", "1", true, true, false, false, TEnd::Aceptar, mrOK, "(none)",
         "0"},
        {"", "1 ", false, false, false, true, TEnd::Aceptar, mrOK, "(none)", "1"},
        {"x", "01", true, false, false, false, TEnd::Cancelar, mrCancel, "x", "01"},
        {"(none)", "si", false, false, true, true, TEnd::CloseBox, mrCancel, "(none)", "si"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Run + " / " + C.Minimized);
        Store(C.Run, C.Minimized);
        TfrmOpciones Shown(nullptr);
        EXPECT_EQ(View->Run.IsChecked, C.ShownRun);
        EXPECT_EQ(View->Minimized.IsChecked, C.ShownMinimized);
        EXPECT_EQ(Use(C.TickRun, C.TickMinimized, C.End), C.Result);
        EXPECT_EQ(Run(), C.RunAfter);
        EXPECT_EQ(Minimized(), C.MinimizedAfter);
    }
    EXPECT_TRUE(Messages.Boxes.empty());
}

TEST_F(OptionsDialog, UnreadableValue_FailsTheOpening) {
    const struct {
        std::string Run, Minimized, Message;
    } Cases[] = {{"(not a string)", "1", "Invalid data type for 'Quelvano'"},
                 {"x", "(not a string)", "Invalid data type for 'StartMinimizado'"}};
    for (const auto& C : Cases) {
        Store(C.Run, C.Minimized);
        try {
            TfrmOpciones Form(nullptr);
            ADD_FAILURE() << "opened";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
}

// A refused write is shown, and the dialog stays open with the user's choice, whichever of the
// two values it was.
TEST_F(OptionsDialog, RefusedWrite_IsShownAndKeepsTheDialogOpen) {
    Application().Title = "Quelvano v1.47";
    const struct {
        std::string RefusedName, Message, RunAfter, MinimizedAfter;
    } Cases[] = {
        {"QUELVANO", "Failed to set data for 'Quelvano'", "(none)", "(none)"},
        {"STARTMINIMIZADO", "Failed to set data for 'StartMinimizado'", Application().ExeName(),
         "(none)"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.RefusedName);
        Store("(none)", "(none)");
        Settings.Refused = {C.RefusedName};
        Messages.Boxes.clear();
        EXPECT_EQ(Use(true, true, TEnd::Aceptar), mrNone);
        ASSERT_EQ(Messages.Boxes.size(), 1u);
        EXPECT_EQ(Messages.Boxes[0].Text, C.Message);
        EXPECT_EQ(Messages.Boxes[0].Caption, "Quelvano v1.47");
        EXPECT_EQ(Messages.Boxes[0].Flags, 0x10u);
        EXPECT_EQ(Run(), C.RunAfter);
        EXPECT_EQ(Minimized(), C.MinimizedAfter);
    }
}

TEST(AboutBox, AceptarClosesWithOK) {
    FakeFormView* View = nullptr;
    TfrmAcercaDe::ViewFactory = [&](TfrmAcercaDe&) {
        auto V = std::make_unique<FakeFormView>();
        View = V.get();
        return V;
    };
    TfrmAcercaDe Form(nullptr);
    EXPECT_EQ(View->Caption, "Acerca de");
    View->User = [&] { Form.btnAceptarClick(); };
    EXPECT_EQ(Form.ShowModal(), mrOK);
    TfrmAcercaDe::ViewFactory = nullptr;
}

} // namespace
