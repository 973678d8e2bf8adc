#include "base/Exception.h"
#include "fakes/FakeControls.h"

#include <gtest/gtest.h>

namespace {

class TTestForm : public TForm {
public:
    static inline TFormViewFactory<TTestForm> Factory;
    TTestForm() : TForm(nullptr) { CreateView(Factory, *this); }
};

TEST(Application_ShowException, AddsAPeriodOnlyAfterCharactersThatSortAfterIt) {
    FakeMessages Messages;
    Application().Title = "Quelvano v1.47";
    const struct {
        const char* Message;
        const char* Shown;
    } Cases[] = {
        {"Error al aplicar configuracion IP", "Error al aplicar configuracion IP."},
        {"Ya termina.", "Ya termina."},
        {"Pregunta?", "Pregunta?."}, // '?' sorts after '.'
        {"Hecho!", "Hecho!"},        // '!' sorts before '.'
        {"Falta ,", "Falta ,"},
        {"Año ñ", "Año ñ."},
        {"", ""},
    };
    for (const auto& C : Cases) {
        Application().ShowException(Exception(C.Message));
        ASSERT_FALSE(Messages.Boxes.empty());
        EXPECT_EQ(Messages.Boxes.back().Text, C.Shown);
        EXPECT_EQ(Messages.Boxes.back().Caption, "Quelvano v1.47");
        EXPECT_EQ(Messages.Boxes.back().Flags, MsgBox::OK | MsgBox::IconError);
    }
}

TEST(Form_ShowModal, ReturnsTheResultSetWhileShownAndEndsTheViewOnce) {
    FakeFormView* View = nullptr;
    TTestForm::Factory = [&](TTestForm&) {
        auto V = std::make_unique<FakeFormView>();
        View = V.get();
        return V;
    };
    TTestForm Form;
    Form.SetCaption("Opciones");
    EXPECT_EQ(View->Caption, "Opciones");

    View->User = [&] { Form.SetModalResult(mrOK); };
    EXPECT_EQ(Form.ShowModal(), mrOK);
    EXPECT_TRUE(View->Ended);

    View->User = [&] { Form.CloseBoxClick(); };
    EXPECT_EQ(Form.ShowModal(), mrCancel);

    // A result set outside a modal run ends nothing, and the next run starts afresh.
    View->Ended = false;
    Form.SetModalResult(mrOK);
    EXPECT_FALSE(View->Ended);
    View->User = nullptr;
    EXPECT_EQ(Form.ShowModal(), mrNone);
    TTestForm::Factory = nullptr;
}

TEST(Application_MessageBox, AnswersCancelWithoutAFrontEnd) {
    Application().OnMessageBox = nullptr;
    EXPECT_EQ(Application().MessageBox("¿Salir?", "Salir", MsgBox::YesNo), MsgBox::IdCancel);
}

} // namespace
