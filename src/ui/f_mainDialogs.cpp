#include "ui/f_main.h"

// The dialogs' commands; they arrive with the dialogs.
void TFrmMain::AddNewIPConfigurationSet1Click() {}
void TFrmMain::EditSelectedIPSet() {}
void TFrmMain::RunWizard() {}
void TFrmMain::ShowOptions() {}
void TFrmMain::ShowAboutBox() {}
void TFrmMain::Help() {}
