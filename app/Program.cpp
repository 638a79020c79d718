#include "app/Program.h"

#include "about/AboutBox.h"
#include "app/GoTo.h"
#include "app/Main1.h"
#include "setup/New1.h"

TProgram::TProgram() {
    // The main window reads the settings profile as it is created, before any other window
    // exists; what needs the other windows waits for its one-shot start-up step.
    frmCorvina = std::make_unique<TfrmCorvina>();
    frmNew = std::make_unique<TfrmNew>(frmCorvina.get());
    frmGoTo = std::make_unique<TfrmGoTo>(frmCorvina.get());
    AboutBox_ = std::make_unique<TAboutBox>(frmCorvina.get());
    frmCorvina->SetDialogs(frmNew.get(), frmGoTo.get(), AboutBox_.get());
}

TProgram::~TProgram() = default;
