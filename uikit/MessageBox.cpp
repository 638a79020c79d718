// SPDX-License-Identifier: GPL-3.0-or-later
#include "uikit/MessageBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>

QString FitLongWords(const QString& text, const QFontMetrics& metrics, int width) {
    static const QRegularExpression word(QStringLiteral("\\S+"));
    QString out;
    qsizetype done = 0;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(done, m.capturedStart() - done);
        const QString w = m.captured();
        if (metrics.horizontalAdvance(w) <= width) {
            out += w;
        } else {
            // Word joiners keep the shortened word on one line: a line may break after "…".
            const QChar ellipsis(0x2026), joiner(0x2060);
            out += metrics.elidedText(w, Qt::ElideMiddle, width)
                       .replace(ellipsis, QString(joiner) + ellipsis + joiner);
        }
        done = m.capturedEnd();
    }
    return out + text.mid(done);
}

int MessageBoxWordWidth(const QScreen* screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const int available = screen ? screen->availableGeometry().width() : 800;
    // A message box grows at most as wide as a small screen, and on a larger one to 480 pixels
    // narrower than the screen and no wider than 1000; its icon and margins take up to 160.
    const int box = available <= 1024 ? available : std::min(available - 480, 1000);
    return std::max(120, box - 160);
}

QMessageBox* NewMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                           QWidget* parent) {
    auto* box = new QMessageBox(icon, caption, QString(), QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QScreen* screen = parent ? parent->screen() : nullptr;
    const QString fitted = FitLongWords(text, box->fontMetrics(), MessageBoxWordWidth(screen));
    box->setText(fitted);
    // The box wraps its text at half the screen's width and cuts off a longer word; asking
    // for the longest word's width makes it grow to show the word whole.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        static const QRegularExpression space(QStringLiteral("\\s+"));
        int longest = 0;
        for (const QString& word : fitted.split(space, Qt::SkipEmptyParts))
            longest = std::max(longest, label->fontMetrics().horizontalAdvance(word));
        // A short text is not wrapped: its longest line, when it fits, sets the width, or the
        // minimum would cut it after its first word.
        int line = 0;
        for (const QString& part : fitted.split('\n'))
            line = std::max(line, label->fontMetrics().horizontalAdvance(part));
        longest = std::max(longest, std::min(line, MessageBoxWordWidth(screen)));
        label->setMinimumWidth(longest + label->contentsMargins().left() +
                               label->contentsMargins().right() + 2 * label->margin());
    }
    return box;
}
