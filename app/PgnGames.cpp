// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PgnGames.h"

#include "app/ProgramTexts.h"
#include "chess/Pgn.h"
#include "chess/PgnCollection.h"
#include "common/TextFile.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int GameRole = Qt::UserRole;
}

TfrmPgnGames::TfrmPgnGames(QWidget* parent) : QDialog(parent) {
    const TProgramTexts& texts = ProgramTexts();
    setObjectName("frmPgnGames");
    setWindowTitle(texts.PgnGamesCaption);
    resize(640, 400);
    auto* filterLabel = new QLabel(texts.PgnGamesFilter, this);
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setClearButtonEnabled(true);
    filterLabel->setBuddy(txtFilter);
    games = new QTreeWidget(this);
    games->setObjectName("games");
    games->setRootIsDecorated(false);
    games->setUniformRowHeights(true);
    games->setAllColumnsShowFocus(true);
    games->setHeaderLabels({texts.PgnGamesWhite, texts.PgnGamesBlack, texts.PgnGamesResult,
                            texts.PgnGamesDate, texts.PgnGamesEvent});
    games->header()->setStretchLastSection(true);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(txtFilter, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(games, 1);
    layout->addLayout(buttons);

    connect(txtFilter, &QLineEdit::textChanged, this, &TfrmPgnGames::ApplyFilter);
    connect(games, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmPgnGames::SelectedGame() const {
    const QTreeWidgetItem* item = games->currentItem();
    return item && !item->isHidden() ? item->data(0, GameRole).toInt() : -1;
}

void TfrmPgnGames::ApplyFilter(const QString& text) {
    const QString wanted = text.trimmed();
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < games->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = games->topLevelItem(i);
        bool shown = wanted.isEmpty();
        for (int c = 0; c < games->columnCount() && !shown; ++c)
            shown = item->text(c).contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    // The choice stays on a row that is still shown, else moves to the first one.
    if (!games->currentItem() || games->currentItem()->isHidden())
        games->setCurrentItem(first);
    cmdOK->setEnabled(first != nullptr);
}

std::optional<int> TfrmPgnGames::Execute(const std::vector<TPgnGameRow>& rows) {
    games->clear();
    txtFilter->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TPgnGameRow& r = rows[i];
        auto* item = new QTreeWidgetItem({r.White, r.Black, r.Result, r.Date, r.Event});
        item->setData(0, GameRole, static_cast<int>(i));
        items << item;
    }
    games->addTopLevelItems(items);
    for (int c = 0; c < 4; ++c)
        games->resizeColumnToContents(c);
    games->setCurrentItem(games->topLevelItem(0));
    cmdOK->setEnabled(!rows.empty());
    txtFilter->setFocus();
    if (exec() != QDialog::Accepted || SelectedGame() < 0)
        return std::nullopt;
    return SelectedGame();
}

std::optional<std::string> ReadChosenPgnGame(QWidget* window, TfrmPgnGames& chooser,
                                             const QString& path, QString& error) {
    error.clear();
    const TProgramTexts& texts = ProgramTexts();
    // Shown only when reading and listing take longer than half a second. Its Cancel button is
    // the toolkit's own, worded in the chosen language.
    QProgressDialog progress(window);
    progress.setLabelText(texts.PgnReading.arg(QFileInfo(path).fileName()));
    progress.setRange(0, 1000);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    // Reading is the first half of the bar, listing the games the second.
    const auto step = [&progress](qint64 done, qint64 total, int from) {
        progress.setValue(from + static_cast<int>(total > 0 ? done * 500 / total : 0));
        return !progress.wasCanceled();
    };
    QByteArray bytes;
    if (!ReadTextBytes(path, bytes, &error, MaxPgnFileBytes,
                       [&](qint64 done, qint64 total) { return step(done, total, 0); }))
        return std::nullopt;
    const std::string text = DecodeTextLines(bytes).join('\n').toStdString();
    bytes.clear();
    const std::vector<std::string_view> pieces = SplitPgnGames(text);
    if (pieces.size() <= 1)
        return text;
    std::vector<TPgnGameRow> rows;
    rows.reserve(pieces.size());
    for (const std::string_view piece : pieces) {
        if (rows.size() % 256 == 0 &&
            !step(static_cast<qint64>(rows.size()), static_cast<qint64>(pieces.size()), 500))
            return std::nullopt;
        TPgnGame game;
        TPgnError fault;
        ParsePgn(piece, game, fault); // a game that cannot be read still gets its row
        const auto tag = [&game](const char* name) {
            return QString::fromStdString(game.Tag(name));
        };
        rows.push_back({tag("White"), tag("Black"),
                        QString::fromStdString(game.Result.empty() ? tag("Result").toStdString()
                                                                   : game.Result),
                        tag("Date"), tag("Event")});
    }
    progress.close();
    const std::optional<int> chosen = chooser.Execute(rows);
    if (!chosen)
        return std::nullopt;
    return std::string(pieces[static_cast<std::size_t>(*chosen)]);
}
