// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmPgnGames: the games of a PGN collection, one row each (White, Black, Result, Date,
// Event), from which the user picks the one to load. Typing in the filter keeps the rows that
// hold the text in any column.

#include <QDialog>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTreeWidget;

struct TPgnGameRow {
    QString White, Black, Result, Date, Event;
};

class TfrmPgnGames : public QDialog {
public:
    explicit TfrmPgnGames(QWidget* parent = nullptr);

    QLineEdit* txtFilter;
    QTreeWidget* games;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // The game of the selected row (its index in `rows`), or -1 with none shown.
    int SelectedGame() const;
    // Shows the rows modally with the first selected; on OK the chosen game, if any.
    std::optional<int> Execute(const std::vector<TPgnGameRow>& rows);

private:
    void ApplyFilter(const QString& text);
};

// The text of the game to load from a PGN file: the file read (up to MaxPgnFileBytes, with a
// progress window once it takes longer than half a second, which can cancel), and, when it
// holds more than one game, the one chosen in `chooser`. Nothing when cancelled (`error` empty)
// or unreadable (`error` says why).
inline constexpr qint64 MaxPgnFileBytes = 64LL * 1024 * 1024;
std::optional<std::string> ReadChosenPgnGame(QWidget* window, TfrmPgnGames& chooser,
                                             const QString& path, QString& error);
