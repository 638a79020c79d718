// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The New Game dialog's choice of a time control: none (the default), one of the presets, or
// minutes and an increment of the player's own.

#include "chess/TimeControl.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSpinBox;

class TTimeControlBox : public QWidget {
public:
    explicit TTimeControlBox(QWidget* parent);

    TTimeControl Choice() const;
    // Selects a preset when `control` is one, else Custom with its values.
    void SetChoice(const TTimeControl& control);

    QLabel* lblTimeControl;
    QComboBox* timeControl; // None, the presets, Custom
    QSpinBox* clockMinutes;
    QLabel* lblClockMinutes;
    QSpinBox* clockIncrement;
    QLabel* lblClockIncrement;

private:
    void ShowCustom();
};
