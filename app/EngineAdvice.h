// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TEngineAdvice: Engine > Hint (H) and Engine > Show Evaluation. An engine thread of its own
// searches the position on the board at the chosen depth; it never plays. Hint shows the best
// move as an arrow over the board for three seconds; the evaluation line under the board shows
// the score from White's side (or the mate to come), the depth and the principal variation in
// SAN, new after every iteration. Any change of the position stops the search and takes the
// arrow away.

#include "engine/EngineTypes.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMainWindow;
class QTimer;
class QWidget;
class TChessBrd;
class TChessThread;
class THintArrow;

class TEngineAdvice : public QObject {
public:
    TEngineAdvice(QMainWindow* window, TChessBrd* board, QLabel* player1);
    ~TEngineAdvice() override;

    // The evaluation line's text for a score (side to move's view), depth and line in SAN.
    static QString EvaluationLine(int score, bool whiteToMove, int depth, const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HintClick();
    void ShowEvalClick();
    // Starts a search of the position shown unless one for it runs or has ended.
    void Search();
    void PositionChanged();
    void IterationDone(std::uint64_t generation, int depth, int score,
                       const std::vector<EngineMove>& line);
    void SearchDone(std::uint64_t generation, int from, int to);
    QString LineInSan(const std::vector<EngineMove>& line) const;

    TChessBrd* Board_;
    QLabel* Player1_;
    QAction* Hint_;
    QAction* ShowEval_;
    QLabel* Eval_;
    THintArrow* Arrow_;
    QTimer* ArrowTimer_;
    std::unique_ptr<TChessThread> Thread_;
    std::uint64_t Generation_ = 0;
    std::string Position_; // the position (with side, castling, en passant) last seen
    std::string Searched_; // the same of the last search
    QString LastEval_;     // the evaluation line of the search's last iteration
    bool Searching_ = false;
    bool HintWanted_ = false;
    int BestFrom_ = 0; // board squares of the finished search's move, 0 before
    int BestTo_ = 0;
};
