#pragma once
#include <QString>
#include <QStringList>

// Every text file of the program (profiles, language files, saved games, move lists) is read
// and written whole, as a list of lines.
//
// Reading accepts CR, LF or CR LF line ends, mixed within one file; a line end after the last
// line does not add an empty line. Bytes that form valid UTF-8 are read as UTF-8 (a leading
// byte order mark is dropped); anything else is taken as Windows-1252, the single-byte format
// older files were written in.
//
// Writing produces UTF-8 without a byte order mark, each line ended by CR LF. The new contents
// replace the old file only once they are completely written, so a failed write leaves the
// previous file as it was.
//
// On failure both answer false and, when error is given, set it to a sentence naming the file.
bool ReadTextLines(const QString& path, QStringList& lines, QString* error = nullptr);
bool WriteTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

// Decoding steps of ReadTextLines, exposed for callers that already hold the bytes.
QString DecodeText(const QByteArray& bytes);
QStringList SplitLines(const QString& text);
