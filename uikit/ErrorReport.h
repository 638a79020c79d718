// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The one place read, write and number-conversion errors are reported. By default the text is
// shown in a modal critical message box captioned "Error" with a single OK button; the
// operation that failed stops there and keeps what it had already changed.
void ReportError(const QString& text);

// Replaces the message box, e.g. so tests can capture the texts. An empty handler restores the
// message box.
using TErrorHandler = std::function<void(const QString& text)>;
void SetErrorHandler(TErrorHandler handler);

// Reads the lines of `path`; when it cannot be read, reports why and answers nothing.
std::optional<QStringList> ReadLinesReported(const QString& path);

// Reads `path` and parses its lines with `parse(lines, path, &error)`, which answers a
// std::optional; a file that cannot be read or parsed is reported, and the answer is empty.
template <typename TParse>
auto ReadParsedReported(const QString& path, TParse parse)
    -> decltype(parse(QStringList(), path, static_cast<QString*>(nullptr))) {
    const std::optional<QStringList> lines = ReadLinesReported(path);
    if (!lines)
        return std::nullopt;
    QString error;
    auto value = parse(*lines, path, &error);
    if (!value)
        ReportError(error);
    return value;
}
