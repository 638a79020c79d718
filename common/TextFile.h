// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Every text file of the program (profiles, language files, saved games, move lists) is read
// and written whole, as a list of lines.
//
// Reading accepts CR, LF or CR LF line ends, mixed within one file; a line end after the last
// line does not add an empty line. Bytes that form valid UTF-8 are read as UTF-8 (one leading
// byte order mark is dropped; a second one is text); anything else is taken as Windows-1252,
// the single-byte format older files were written in. A file larger than MaxTextFileBytes is
// refused before anything of it is read, so a stray huge file cannot exhaust memory.
//
// Writing produces UTF-8 without a byte order mark, each line ended by CR LF (a first line that
// itself begins with U+FEFF gets a mark in front, which reading drops, so the line comes back). The
// new contents replace the old file only once they are completely written and flushed to the disk,
// so a failed write (a full disk included) leaves the previous file as it was and answers false.
//
// On failure both answer false and, when error is given, set it to a sentence naming the file.
bool ReadTextLines(const QString& path, QStringList& lines, QString* error = nullptr);
// The bytes of a file that may be larger than the program's own (a PGN collection), up to
// `limit`. `progress`, when given, hears the bytes read so far and the file's size after each
// chunk, and answering false stops the reading: the answer is then false with no error set.
bool ReadTextBytes(const QString& path, QByteArray& bytes, QString* error, qint64 limit,
                   const std::function<bool(qint64 done, qint64 total)>& progress = {});
bool WriteTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

// Every text file of the program is small (the largest, a long saved game, is some kilobytes).
inline constexpr qint64 MaxTextFileBytes = 4 * 1024 * 1024;

// Decoding steps of ReadTextLines, exposed for callers that already hold the bytes; pure.
QString DecodeText(const QByteArray& bytes);
// The Windows-1252 half of that rule alone, and its way back: nothing when the text holds a
// character Windows-1252 lacks.
QString DecodeCp1252(const QByteArray& bytes);
std::optional<QByteArray> EncodeCp1252(const QString& text);
QStringList SplitLines(const QString& text);
// Both steps: the lines ReadTextLines gives for a file holding these bytes.
QStringList DecodeTextLines(const QByteArray& bytes);
// The bytes WriteTextLines puts in the file; DecodeTextLines gives the lines back.
QByteArray EncodeTextLines(const QStringList& lines);
