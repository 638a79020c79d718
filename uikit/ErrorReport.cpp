// SPDX-License-Identifier: GPL-3.0-or-later
#include "uikit/ErrorReport.h"

#include "uikit/MessageBox.h"

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
