#pragma once
// The composition root: creates every window of the program once, in a fixed order, owns
// them until the program ends, and hands each the others it needs.

#include <memory>

class TAboutBox;
class TfrmCorvina;
class TfrmGoTo;
class TfrmNew;

class TProgram {
public:
    TProgram();
    ~TProgram();

    TfrmCorvina& MainWindow() const { return *frmCorvina; }
    TfrmNew& NewGameDialog() const { return *frmNew; }
    TfrmGoTo& GoToDialog() const { return *frmGoTo; }
    TAboutBox& AboutBox() const { return *AboutBox_; }

private:
    // Declared in creation order; destroyed in reverse, the main window last.
    std::unique_ptr<TfrmCorvina> frmCorvina;
    std::unique_ptr<TfrmNew> frmNew;
    std::unique_ptr<TfrmGoTo> frmGoTo;
    std::unique_ptr<TAboutBox> AboutBox_;
};
