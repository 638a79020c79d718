#include "app/Program.h"

#include "about/AboutBox.h"
#include "app/Colors1.h"
#include "app/GoTo.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/Theme1.h"
#include "setup/New1.h"

TProgram::TProgram() {
    // The main window reads the settings profile as it is created, before any other window
    // exists; what needs the other windows waits for its one-shot start-up step.
    frmCorvina = std::make_unique<TfrmCorvina>();
    TfrmCorvina* main = frmCorvina.get();
    frmNew = std::make_unique<TfrmNew>(main);
    frmColors = std::make_unique<TfrmColors>(main->Board(), main);
    frmPieceSet = std::make_unique<TfrmPieceSet>(main->Board(), main, main);
    frmGoTo = std::make_unique<TfrmGoTo>(main);
    frmOptions = std::make_unique<TfrmOptions>(main->Board(), main);
    frmLoadSet = std::make_unique<TfrmLoadSet>(main);
    AboutBox_ = std::make_unique<TAboutBox>(main);
    frmTheme = std::make_unique<TfrmTheme>(main, main);
    main->SetDialogs(frmNew.get(), frmGoTo.get(), AboutBox_.get());
    main->SetAppearanceDialogs(frmColors.get(), frmPieceSet.get(), frmOptions.get(),
                               frmLoadSet.get(), frmTheme.get());
    // The start-up step: the saved language (once languages exist, before the theme), then the
    // saved theme.
    TfrmTheme* theme = frmTheme.get();
    main->OnStartUpStep = [main, theme] {
        theme->SelectIndex(main->ThemeIndex());
        theme->cmdApplyClick();
    };
}

TProgram::~TProgram() = default;
