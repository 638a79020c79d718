// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>

// The one place read, write and number-conversion errors are reported. By default the text is
// shown in a modal critical message box captioned "Error" with a single OK button; the
// operation that failed stops there and keeps what it had already changed.
void ReportError(const QString& text);

// Replaces the message box, e.g. so tests can capture the texts. An empty handler restores the
// message box.
using TErrorHandler = std::function<void(const QString& text)>;
void SetErrorHandler(TErrorHandler handler);
