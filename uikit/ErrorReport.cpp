// SPDX-License-Identifier: GPL-3.0-or-later
#include "uikit/ErrorReport.h"

#include "uikit/MessageBox.h"

#include "common/TextFile.h"

#include <QApplication>

namespace {

TErrorHandler& Handler() {
    static TErrorHandler handler;
    return handler;
}

} // namespace

void ReportError(const QString& text) {
    if (const TErrorHandler& handler = Handler()) {
        handler(text);
        return;
    }
    NewMessageBox(QMessageBox::Critical, QStringLiteral("Error"), text,
                  QApplication::activeWindow())
        ->exec();
}

void SetErrorHandler(TErrorHandler handler) {
    Handler() = std::move(handler);
}

std::optional<QStringList> ReadLinesReported(const QString& path) {
    QStringList lines;
    QString error;
    if (!ReadTextLines(path, lines, &error)) {
        ReportError(error);
        return std::nullopt;
    }
    return lines;
}
