// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmColors: two swatches for the board's dark and light squares. The swatches keep their
// colours between showings; OK gives them to the board.

#include <QColor>
#include <QDialog>

class QColorDialog;
class QFrame;
class QPushButton;
class TChessBrd;

class TfrmColors : public QDialog {
public:
    explicit TfrmColors(TChessBrd* board, QWidget* parent = nullptr);

    static inline const QColor DefaultDark = QColor(0x80, 0, 0);        // maroon
    static inline const QColor DefaultLight = QColor(0xC0, 0xC0, 0xC0); // silver

    QColor DarkSwatch() const { return Dark; }
    QColor LightSwatch() const { return Light; }

    void cmdChange1Click();
    void cmdChange2Click();
    void cmdDefault1Click();
    void cmdDefault2Click();
    void BitBtn1Click();
    void Execute();

private:
    void SetSwatch(QFrame* swatch, QColor* colour, const QColor& value);
    void Change(QFrame* swatch, QColor* colour);

    TChessBrd* Board;
    QColor Dark = DefaultDark;
    QColor Light = DefaultLight;
    QFrame* bs;
    QFrame* ws;
    QPushButton *cmdChange1, *cmdChange2, *cmdDefault1, *cmdDefault2;
    QPushButton *BitBtn1, *BitBtn2;
    QColorDialog* color;
};
