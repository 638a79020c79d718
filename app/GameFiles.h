#pragma once
// Saved games and the exported move list. The click handlers take the game first, then ask
// for a file, so a move made while a file dialog is open never lands in the file. The path
// functions do the work and report their own errors.

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;
class TChessBrd;
class TGamePanels;
class TPlayerLabels;

class TGameFiles {
public:
    TGameFiles(QWidget* window, TChessBrd* board, TGamePanels* panels, TPlayerLabels* players);

    void mnuSaveClick();
    void mnuLoadClick();
    void mnuExportClick();

    QStringList SavedGameLines() const;
    bool SaveGameTo(const QString& path, const QStringList& lines);
    bool LoadGameFrom(const QString& path);
    bool ExportMoveListTo(const QString& path, const QStringList& list);

    // The dialogs, for tests that fill them in.
    QFileDialog* Saver() const { return Saver_; }
    QFileDialog* Loader() const { return Loader_; }
    QFileDialog* Exporter() const { return Exporter_; }

private:
    // Shows a file dialog opened in the last folder used with a bare file name, and answers
    // the chosen file (empty when cancelled).
    QString Ask(QFileDialog* dialog);

    TChessBrd* Board_;
    TGamePanels* Panels_;
    TPlayerLabels* Players_;
    QFileDialog* Saver_;
    QFileDialog* Loader_;
    QFileDialog* Exporter_;
    QString LastFolder_;
};
