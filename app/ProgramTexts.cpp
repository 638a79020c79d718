// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTexts.h"

#include "app/core/MessageBox.h"

#include <QApplication>

namespace {

TInformationHandler& Handler() {
    static TInformationHandler handler;
    return handler;
}

} // namespace

TProgramTexts& ProgramTexts() {
    static TProgramTexts texts;
    return texts;
}

void ShowInformation(const QString& caption, const QString& text) {
    if (const TInformationHandler& handler = Handler()) {
        handler(caption, text);
        return;
    }
    NewMessageBox(QMessageBox::Information, caption, text, QApplication::activeWindow())->exec();
}

void SetInformationHandler(TInformationHandler handler) {
    Handler() = std::move(handler);
}
