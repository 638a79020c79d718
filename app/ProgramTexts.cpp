// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTexts.h"

#include "uikit/MessageBox.h"

#include <QApplication>

namespace {

TInformationHandler& Handler() {
    static TInformationHandler handler;
    return handler;
}

TQuestionHandler& Questions() {
    static TQuestionHandler handler;
    return handler;
}

} // namespace

const TProgramTexts& ProgramTexts() {
    static const TProgramTexts texts;
    return texts;
}

void ShowInformation(const QString& caption, const QString& text) {
    if (const TInformationHandler& handler = Handler()) {
        handler(caption, text);
        return;
    }
    NewMessageBox(QMessageBox::Information, caption, text, QApplication::activeWindow())->exec();
}

void OpenInformation(const QString& caption, const QString& text, QWidget* parent) {
    if (const TInformationHandler& handler = Handler()) {
        handler(caption, text);
        return;
    }
    NewMessageBox(QMessageBox::Information, caption, text, parent)->open();
}

void SetInformationHandler(TInformationHandler handler) {
    Handler() = std::move(handler);
}

bool AskYesNo(const QString& caption, const QString& text) {
    if (const TQuestionHandler& handler = Questions())
        return handler(caption, text);
    return QMessageBox::question(QApplication::activeWindow(), caption, text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void SetQuestionHandler(TQuestionHandler handler) {
    Questions() = std::move(handler);
}
