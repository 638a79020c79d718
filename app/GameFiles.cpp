// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GameFiles.h"

#include "app/GamePanels.h"
#include "app/PgnGames.h"
#include "app/PlayerLabels.h"
#include "app/ProgramTexts.h"
#include "board/ChessBrd.h"
#include "chess/Fen.h"
#include "chess/MoveListReplay.h"
#include "chess/Pgn.h"
#include "common/TextFile.h"
#include "formats/GameText.h"
#include "formats/SavedGame.h"
#include "setup/New1.h"
#include "uikit/ErrorReport.h"

#include <QClipboard>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

namespace {

const QStringList GameFilters = {"Corvina Files (*.cv)", "Corvina 3 Game (*.cvg)"};
const QStringList PgnFilters = {"Any File (*.*)", "PGN Files (*.pgn)"};

// The extension of a filter such as "Corvina Files (*.cv)", or none for "*.*".
QString FilterSuffix(const QString& filter) {
    const auto match = QRegularExpression(R"(\(\*\.(\w+)\))").match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QFileDialog* MakeDialog(QWidget* parent, const QString& title, bool saving,
                        const QStringList& filters) {
    auto* d = new QFileDialog(parent, title);
    d->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    d->setNameFilters(filters);
    // A name typed without an extension takes the extension of the filter chosen.
    d->setDefaultSuffix(FilterSuffix(filters.last()));
    d->selectNameFilter(filters.last());
    QObject::connect(d, &QFileDialog::filterSelected, d,
                     [d](const QString& filter) { d->setDefaultSuffix(FilterSuffix(filter)); });
    return d;
}

} // namespace

TGameFiles::TGameFiles(QWidget* window, TChessBrd* board, TGamePanels* panels,
                       TPlayerLabels* players)
    : Board_(board), Panels_(panels), Players_(players) {
    Saver_ = MakeDialog(window, "Save Game", true, GameFilters);
    Loader_ = MakeDialog(window, "Load Game", false, GameFilters);
    Exporter_ = MakeDialog(window, "Export Move List...", true,
                           {"Text Files (*.txt)", "Data Files (*.dat)", "Any File (*.*)"});
    Exporter_->selectNameFilter("Text Files (*.txt)");
    Exporter_->setDefaultSuffix("txt");
    PgnSaver_ = MakeDialog(window, "Export PGN...", true, PgnFilters);
    PgnLoader_ = MakeDialog(window, "Load PGN...", false, PgnFilters);
    PgnGames_ = new TfrmPgnGames(window);
}

QString TGameFiles::Ask(QFileDialog* dialog) {
    if (!LastFolder_.isEmpty())
        dialog->setDirectory(LastFolder_);
    // Start from a bare name, never from a full path that new typing would be added to.
    // With no file chosen yet, the dialog answers its folder; that is no name to offer.
    const QStringList before = dialog->selectedFiles();
    const bool named = !before.isEmpty() && !QFileInfo(before.first()).isDir();
    dialog->selectFile(named ? QFileInfo(before.first()).fileName() : QString());
    const int r = dialog->exec();
    if (r != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    const QString path = dialog->selectedFiles().first();
    if (!path.isEmpty())
        LastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

QStringList TGameFiles::SavedGameLines() const {
    return BuildSavedGame(Panels_->MoveList(), QString::fromLatin1(Board_->Position().c_str()),
                          Players_->Player1(), Players_->Player2(), Board_->ComputerPlaysWhite(),
                          Board_->ComputerPlaysBlack());
}

bool TGameFiles::SaveGameTo(const QString& path, const QStringList& lines) {
    QString error;
    if (!WriteTextLines(path, lines, &error)) {
        ReportError(error + "\nThe game was not saved; an earlier file of that name is unchanged.");
        return false;
    }
    return true;
}

bool TGameFiles::LoadGameFrom(const QString& path) {
    const auto game = ReadParsedReported(path, ParseSavedGame);
    if (!game)
        return false;
    const std::string placement = DecodePosition(game->Position);
    std::vector<std::string> list;
    for (const QString& line : game->MoveList)
        list.push_back(line.toStdString());
    // The move list usually is the whole game: then the game comes back with its history, as
    // if played. During a NetGame the board belongs to the link, which a new game would cut.
    const auto replayed = Board_->CustomEngine() ? std::nullopt : ReplayMoveList(list, placement);
    if (replayed) {
        StartGame(replayed->Start, replayed->Moves);
    } else {
        Board_->SetPosition(placement);
        // Otherwise the last line still tells whose turn it is.
        const auto white = WhiteToMoveAfter(list);
        if (white && !Board_->CustomEngine())
            Board_->SetWhiteToMove(*white);
        Panels_->SetMoveList(game->MoveList);
    }
    Players_->SetPlayer1(game->Player1);
    Players_->SetPlayer2(game->Player2);
    if (game->ComputerWhite)
        Board_->SetComputerPlaysWhite(*game->ComputerWhite);
    if (game->ComputerBlack)
        Board_->SetComputerPlaysBlack(*game->ComputerBlack);
    Panels_->Refresh();
    return true;
}

bool TGameFiles::ExportMoveListTo(const QString& path, const QStringList& list) {
    QString error;
    if (!WriteTextLines(path, list, &error)) {
        ReportError(error + "\nThe move list was not exported.");
        return false;
    }
    return true;
}

void TGameFiles::mnuSaveClick() {
    const QStringList lines = SavedGameLines();
    const QString path = Ask(Saver_);
    if (!path.isEmpty())
        SaveGameTo(path, lines);
}

void TGameFiles::mnuLoadClick() {
    const QString path = Ask(Loader_);
    if (!path.isEmpty())
        LoadGameFrom(path);
}

void TGameFiles::mnuExportClick() {
    QStringList list;
    Board_->GetMoveList(list);
    const QString path = Ask(Exporter_);
    if (!path.isEmpty())
        ExportMoveListTo(path, list);
}

// ---------------------------------------------------------------- PGN and FEN

QStringList TGameFiles::PgnLines() const {
    TPgnHeader header;
    header.Date = QDate::currentDate().toString("yyyy.MM.dd").toStdString();
    // A side the built-in engine played is named for it, unless the player named that side.
    const auto name = [this](const QString& label, const char* unnamed, bool computer) {
        if (computer && !Board_->CustomEngine() && label == unnamed)
            return "Corvina (depth " + std::to_string(Board_->SearchDepth()) + ")";
        return label.toStdString();
    };
    header.White = name(Players_->Player1(), "Player1", Board_->ComputerPlaysWhite());
    header.Black = name(Players_->Player2(), "Player2", Board_->ComputerPlaysBlack());
    if (CompleteHeader)
        CompleteHeader(header);
    QStringList lines;
    for (const std::string& line : WritePgn(*Board_, header))
        lines << QString::fromStdString(line);
    return lines;
}

bool TGameFiles::ExportPgnTo(const QString& path, const QStringList& lines) {
    QString error;
    if (!WriteTextLines(path, lines, &error)) {
        ReportError(error + "\n" + ProgramTexts().PgnNotExported);
        return false;
    }
    return true;
}

void TGameFiles::mnuExportPGNClick() {
    const QStringList lines = PgnLines();
    const QString path = Ask(PgnSaver_);
    if (!path.isEmpty())
        ExportPgnTo(path, lines);
}

void TGameFiles::mnuLoadPGNClick() {
    const QString path = Ask(PgnLoader_);
    if (!path.isEmpty())
        LoadPgnFrom(path);
}

bool TGameFiles::LoadPgnFrom(const QString& path) {
    QString error;
    const std::optional<std::string> chosen =
        ReadChosenPgnGame(Board_->window(), *PgnGames_, path, error);
    if (!chosen) {
        if (!error.isEmpty())
            ReportError(error);
        return false; // cancelled: nothing changes
    }
    const TProgramTexts& texts = ProgramTexts();
    const std::string& text = *chosen;
    TPgnGame pgn;
    TPgnError fault;
    TChessGame start;
    std::vector<TSanMove> moves;
    if (!ParsePgn(text, pgn, fault) || !ReplayPgn(pgn, start, moves, fault)) {
        const QString detail = QString::fromStdString(fault.Detail);
        switch (fault.What) {
        case TPgnError::Kind::IllegalMove:
            ReportError(texts.PgnIllegalMove.arg(detail));
            break;
        case TPgnError::Kind::AmbiguousMove:
            ReportError(texts.PgnAmbiguousMove.arg(detail));
            break;
        case TPgnError::Kind::BadFen:
            ReportError(texts.PgnBadFen.arg(path, detail));
            break;
        case TPgnError::Kind::TooLong:
            ReportError(texts.PgnTooLong.arg(path));
            break;
        case TPgnError::Kind::NoGame:
            ReportError(texts.PgnNoGame.arg(path));
            break;
        default:
            ReportError(texts.PgnNotAGame.arg(path, detail));
            break;
        }
        return false;
    }
    const QString layout = TfrmNew::LayoutFault(QString::fromStdString(start.Position()));
    if (!layout.isEmpty()) {
        ReportError(texts.PgnBadLayout.arg(layout));
        return false;
    }
    // Names as the tags give them; "?" stands for a name nobody wrote down.
    const std::string white = pgn.Tag("White"), black = pgn.Tag("Black");
    if (!white.empty() && white != "?")
        Players_->SetPlayer1(QString::fromStdString(white));
    if (!black.empty() && black != "?")
        Players_->SetPlayer2(QString::fromStdString(black));
    StartGame(start, moves);
    return true;
}

void TGameFiles::StartGame(const TChessGame& start, const std::vector<TSanMove>& moves) {
    Board_->StopThinking();
    Board_->SetCustomEngine(false);
    Board_->StartNewGame();
    Board_->SetPosition(start.Position());
    Board_->SetWhiteToMove(start.WhiteToMove());
    Board_->SetCastlingAllowed(start.CastlingAllowed());
    Board_->SetEnPassant(start.EnPassant());
    Board_->SetMoveCounters(start.StartClock(), start.MoveOffset() + 1);
    Panels_->ClearEvents();
    Panels_->SetMoveList({});
    Panels_->Refresh();
    // Replayed at once: sliding every piece would take as long as the game did.
    const bool animate = Board_->AnimateMoves();
    Board_->SetAnimateMoves(false);
    for (const TSanMove& move : moves)
        if (!PlaySanMove(*Board_, move))
            break;
    Board_->SetAnimateMoves(animate);
    // The computer moves at once when it plays the side to move, as after a person's move.
    Board_->StartThinking();
    Board_->setEnabled(true);
    Panels_->Refresh();
}

QString TGameFiles::CurrentFen() const {
    return QString::fromStdString(ToPortableFen(*Board_));
}

void TGameFiles::mnuCopyFENClick() {
    QGuiApplication::clipboard()->setText(CurrentFen());
}

void TGameFiles::mnuPasteFENClick() {
    StartFromFen(QGuiApplication::clipboard()->text());
}

bool TGameFiles::StartFromFen(const QString& fen) {
    const TProgramTexts& texts = ProgramTexts();
    TChessGame start;
    std::string why = "the text is empty";
    const QString trimmed = fen.simplified();
    bool read = !trimmed.isEmpty() && LoadFen(start, trimmed.toStdString(), &why);
    // A king in check with the other side to move, or a pawn on the edge, would play on.
    if (read) {
        why = UnreachableReason(start);
        read = why.empty();
    }
    if (!read) {
        ReportError(texts.FenInvalid.arg(QString::fromStdString(why)));
        return false;
    }
    const QString layout = TfrmNew::LayoutFault(QString::fromStdString(start.Position()));
    if (!layout.isEmpty()) {
        ReportError(texts.FenBadLayout.arg(layout));
        return false;
    }
    start.SetCastlingAllowed(PlayableCastling(start.Position(), start.CastlingAllowed()));
    StartGame(start, {});
    return true;
}
