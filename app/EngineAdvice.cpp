// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EngineAdvice.h"

#include "app/GameEndTexts.h"
#include "board/ChessBrd.h"
#include "chess/San.h"
#include "engine/ChessEngine.h"
#include "engine/ChessThread.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cstdlib>

// The arrow over the board, from the centre of one square to the centre of another; it lets
// the pointer through.
class THintArrow : public QWidget {
public:
    explicit THintArrow(TChessBrd* board) : QWidget(board), Board_(board) {
        setObjectName("hintArrow");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    void Show(Square from, Square to) {
        From_ = from;
        To_ = to;
        setGeometry(Board_->rect());
        show();
        raise();
        update();
    }
    Square From() const { return From_; }
    Square To() const { return To_; }

protected:
    void paintEvent(QPaintEvent*) override {
        const QPointF a = Board_->SquareRect(From_).center();
        const QPointF b = Board_->SquareRect(To_).center();
        const QLineF shaft(a, b);
        if (shaft.length() < 1)
            return;
        const qreal width = Board_->SizeOfSquare() / 6.0;
        const qreal head = width * 3;
        QLineF body(a, b);
        body.setLength(shaft.length() - head);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor colour(20, 160, 60, 190);
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(body);
        const QLineF normal = shaft.unitVector().normalVector();
        const QPointF side(normal.dx() * head * 0.6, normal.dy() * head * 0.6);
        QPainterPath tip;
        tip.moveTo(b);
        tip.lineTo(body.p2() + side);
        tip.lineTo(body.p2() - side);
        tip.closeSubpath();
        p.fillPath(tip, colour);
    }

private:
    TChessBrd* Board_;
    Square From_ = Square::None;
    Square To_ = Square::None;
};

namespace {

constexpr int ArrowMilliseconds = 3000;

std::string Key(const TChessBrd& board) {
    return board.Position() + (board.WhiteToMove() ? 'w' : 'b') +
           static_cast<char>('0' + board.CastlingAllowed()) +
           std::to_string(ToInt(board.EnPassant()));
}

} // namespace

TEngineAdvice::TEngineAdvice(QMainWindow* window, TChessBrd* board, QLabel* player1)
    : QObject(window), Board_(board), Player1_(player1), Thread_(std::make_unique<TChessThread>()) {
    QMenu* engine = window->menuBar()->findChild<QMenu*>("mnuEngine");
    engine->addSeparator();
    Hint_ = engine->addAction(GameEndTexts().Hint);
    Hint_->setObjectName("mnuHint");
    Hint_->setShortcut(Qt::Key_H);
    ShowEval_ = engine->addAction(GameEndTexts().ShowEvaluation);
    ShowEval_->setObjectName("mnuShowEval");
    ShowEval_->setCheckable(true);
    connect(Hint_, &QAction::triggered, this, &TEngineAdvice::HintClick);
    connect(ShowEval_, &QAction::triggered, this, &TEngineAdvice::ShowEvalClick);

    Eval_ = new QLabel(board->parentWidget());
    Eval_->setObjectName("lblEvaluation");
    Eval_->setTextFormat(Qt::PlainText);
    Eval_->setStyleSheet("color: white; background: rgba(0, 0, 0, 150); padding: 1px 4px");
    Eval_->hide();
    Arrow_ = new THintArrow(board);
    ArrowTimer_ = new QTimer(this);
    ArrowTimer_->setSingleShot(true);
    ArrowTimer_->setInterval(ArrowMilliseconds);
    connect(ArrowTimer_, &QTimer::timeout, Arrow_, &QWidget::hide);

    // Reported on the engine thread; queued to this object, dropped once it is gone.
    Thread_->OnIteration = [this](std::uint64_t generation, int depth, int score,
                                  const std::vector<EngineMove>& line) {
        QMetaObject::invokeMethod(
            this, [=, this] { IterationDone(generation, depth, score, line); },
            Qt::QueuedConnection);
    };
    Thread_->OnMoveFound = [this](std::uint64_t generation, int from, int to) {
        QMetaObject::invokeMethod(
            this, [=, this] { SearchDone(generation, from, to); }, Qt::QueuedConnection);
    };
    // A half-move and a new game say so; navigation and everything else that changes the
    // position repaint the board.
    auto painted = board->OnPaint;
    board->OnPaint = [this, painted](TObject* sender) {
        if (painted)
            painted(sender);
        PositionChanged();
    };
    auto started = board->OnNewGame;
    board->OnNewGame = [this, started](TObject* sender) {
        if (started)
            started(sender);
        PositionChanged();
    };
    board->installEventFilter(this);
}

TEngineAdvice::~TEngineAdvice() {
    Thread_->Shutdown();
}

QString TEngineAdvice::EvaluationLine(int score, bool whiteToMove, int depth, const QString& line) {
    const int forWhite = whiteToMove ? score : -score;
    QString value;
    const TGameEndTexts& t = GameEndTexts();
    if (const int moves = TChessEngine::MateMoves(forWhite))
        value = (moves > 0 ? t.EvalWhiteMates : t.EvalBlackMates).arg(std::abs(moves));
    else
        value = QString::asprintf("%+.2f", forWhite / 100.0);
    return value + "   " + t.EvalDepth.arg(depth) + "   " + line;
}

bool TEngineAdvice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Board_ && event->type() == QEvent::Paint)
        PositionChanged();
    return QObject::eventFilter(watched, event);
}

void TEngineAdvice::PositionChanged() {
    // The board also raises its OnPaint when it is drawn whole without any change.
    const std::string key = Key(*Board_);
    if (key == Position_)
        return;
    Position_ = key;
    ++Generation_;
    Thread_->Cancel();
    Searching_ = false;
    HintWanted_ = false;
    BestFrom_ = BestTo_ = 0;
    Searched_.clear();
    LastEval_.clear();
    Arrow_->hide();
    ArrowTimer_->stop();
    if (ShowEval_->isChecked())
        QTimer::singleShot(0, this, &TEngineAdvice::Search);
}

void TEngineAdvice::Search() {
    const std::string key = Key(*Board_);
    if (key == Searched_ || Board_->LegalMoves().empty())
        return;
    Searched_ = key;
    Searching_ = true;
    BestFrom_ = BestTo_ = 0;
    TEngineJob job;
    job.Position = Board_->Position();
    job.WhiteToMove = Board_->WhiteToMove();
    job.CastlingAllowed = Board_->CastlingAllowed();
    job.EnPassant = ToInt(Board_->EnPassant());
    job.SearchDepth = Board_->SearchDepth();
    job.Priority = Board_->ThinkingPriority();
    job.Generation = Generation_;
    Thread_->Submit(job);
}

void TEngineAdvice::HintClick() {
    if (Board_->Finished())
        return;
    HintWanted_ = true;
    if (Key(*Board_) == Searched_ && !Searching_ && BestFrom_)
        SearchDone(Generation_, BestFrom_, BestTo_);
    else
        Search();
}

void TEngineAdvice::ShowEvalClick() {
    Eval_->setVisible(ShowEval_->isChecked());
    if (ShowEval_->isChecked()) {
        Eval_->setText(Key(*Board_) == Searched_ ? LastEval_ : QString("…"));
        Eval_->setGeometry(Player1_->geometry().right() + 84, Player1_->y(),
                           Board_->geometry().right() - Player1_->geometry().right() - 84,
                           Player1_->height());
        Eval_->raise();
        Search();
    }
}

QString TEngineAdvice::LineInSan(const std::vector<EngineMove>& line) const {
    TChessGame game = *Board_;
    QStringList words;
    for (EngineMove m : line) {
        TSanMove move{ToSquare(MoveFrom(m) + 1), ToSquare(MoveTo(m) + 1), 0};
        if (game.IsPromotion(move.From, move.To))
            move.Promotion =
                MovePromote(m) >= 1 && MovePromote(m) <= 4 ? "NBRQ"[MovePromote(m) - 1] : 'Q';
        const std::string san = MoveToSan(game, move);
        if (san.empty() || !PlaySanMove(game, move))
            break;
        words << QString::fromStdString(san);
    }
    return words.join(' ');
}

void TEngineAdvice::IterationDone(std::uint64_t generation, int depth, int score,
                                  const std::vector<EngineMove>& line) {
    if (generation != Generation_)
        return;
    // Kept for a line shown later in this position.
    LastEval_ = EvaluationLine(score, Board_->WhiteToMove(), depth, LineInSan(line));
    if (ShowEval_->isChecked())
        Eval_->setText(LastEval_);
}

void TEngineAdvice::SearchDone(std::uint64_t generation, int from, int to) {
    if (generation != Generation_)
        return;
    Searching_ = false;
    BestFrom_ = from;
    BestTo_ = to;
    if (!HintWanted_ || Board_->Finished())
        return;
    HintWanted_ = false;
    Arrow_->Show(ToSquare(from), ToSquare(to));
    ArrowTimer_->start();
}
