// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message box of the program, sized to its text. The box wraps its text between words
// and grows as wide as its longest word, up to the width the screen allows a message box; a
// word wider than that (a long file or profile name) is shortened in its middle with "…", so
// that its beginning and its end stay readable and nothing is cut off at the box's edge.

#include <QMessageBox>
#include <QString>

class QFontMetrics;
class QScreen;

// `text` with every word (a run without white space) wider than `width` pixels in `metrics`
// shortened in its middle to fit; the white space between words stays as it is.
QString FitLongWords(const QString& text, const QFontMetrics& metrics, int width);

// The widest a word may be in a message box shown on `screen` (the primary screen when null).
int MessageBoxWordWidth(const QScreen* screen);

// A plain-text box with a single OK button, its words fitted as above, deleted when closed.
// The caller shows it: exec() for a box that waits, open() for one that lets events go on.
QMessageBox* NewMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                           QWidget* parent);
