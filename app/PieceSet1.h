// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmPieceSet: the piece-set bitmaps of a folder, a preview of the selected one, and OK to
// give it to the board; OK with nothing selected keeps the board's set. "Current Piece Set"
// names the set on the board. Modeless: the main window stays usable while it is open.

#include <QDialog>
#include <QImage>

class IAppearanceHost;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TChessBrd;

class TfrmPieceSet : public QDialog {
public:
    TfrmPieceSet(TChessBrd* board, IAppearanceHost* host, QWidget* parent = nullptr);

    // Lists the "*.bmp" files of `folder`, sorted by name.
    void SetFolder(const QString& folder);
    QStringList Files() const;
    // Selects row `row` and loads its file into the preview; an unreadable file is reported
    // naming it, and the previous preview stays.
    void filelistClick(int row);
    // What "Current Piece Set" shows.
    QString CurrentText() const;
    void cmdOKClick();
    void cmdCancelClick();
    // Shows the dialog without blocking, then points the list at `folder`.
    void Execute(const QString& folder);

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowCurrent();

    TChessBrd* Board;
    IAppearanceHost* Host;
    QString Folder;
    QImage Preview;
    QString PreviewFile;
    QListWidget* filelist;
    QLineEdit* txtCurrent;
    QLabel* pre;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
