// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmTheme: the list of background themes and its Apply. Apply is also run by the start-up
// step and by loading a settings profile, after they have selected the stored index.

#include <QDialog>

class IAppearanceHost;
class QListWidget;
class QPushButton;

class TfrmTheme : public QDialog {
public:
    explicit TfrmTheme(IAppearanceHost* host, QWidget* parent = nullptr);

    // Picture file of theme `index` under bg/, empty outside 0..5.
    static QString ThemeFile(int index);
    static constexpr int ThemeCount = 6;

    // Selects item `index`; any index outside the list selects nothing.
    void SelectIndex(int index);
    int SelectedIndex() const;
    // Loads the selected theme's picture into the main window, then stores the index (-1 when
    // nothing is selected; the picture then stays). The dialog stays open.
    void cmdApplyClick();
    void Execute();

private:
    IAppearanceHost* Host;
    QListWidget* themes;
    QPushButton* cmdApply;
};
