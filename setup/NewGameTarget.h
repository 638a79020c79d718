#pragma once
// What OK on the new-game dialog writes to: the main window's board, its points and player
// labels and its events list. The main window fills this in when it creates the dialog, so the
// dialog needs nothing else of the window.

#include <QString>

#include <functional>

class QLabel;
class QListWidget;
class TChessBrd;

struct TNewGameTarget {
    TChessBrd* cb1 = nullptr;
    QLabel* wp = nullptr;
    QLabel* bp = nullptr;
    QLabel* Player1 = nullptr;
    QListWidget* events = nullptr;
    std::function<double(int side)> CountPoints; // 1 white, 0 black
    std::function<QString(double points)> PointsText;
    std::function<void(const QString& text)> SetPlayer2; // keeps Player2's right edge
};
