// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/core/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

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
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), text,
                          QMessageBox::Ok);
}

void SetErrorHandler(TErrorHandler handler) {
    Handler() = std::move(handler);
}
