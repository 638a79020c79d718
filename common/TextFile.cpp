// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones map to the C1 control of the same
// value, as the platform's own converter does, so that no byte is ever lost.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString NativeName(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void SetError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

QString DecodeCp1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F)
            text.append(QChar(kCp1252High[b - 0x80]));
        else
            text.append(QChar(char16_t(b))); // 0xA0..0xFF equal Latin-1 and Unicode
    }
    return text;
}

std::optional<QByteArray> EncodeCp1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        // The C1 controls the five unassigned bytes decode to are no text worth keeping.
        const auto* at = std::find(std::begin(kCp1252High), std::end(kCp1252High), u);
        if (u < 0xA0 || at == std::end(kCp1252High))
            return std::nullopt;
        out.append(static_cast<char>(0x80 + (at - std::begin(kCp1252High))));
    }
    return out;
}

QString DecodeText(const QByteArray& bytes) {
    // The decoder keeps the mark as U+FEFF so that exactly one is dropped here: by default it
    // would skip one itself, and a second one would then be lost as well.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return DecodeCp1252(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

bool ReadTextLines(const QString& path, QStringList& lines, QString* error) {
    QByteArray bytes;
    if (!ReadTextBytes(path, bytes, error, MaxTextFileBytes))
        return false;
    lines = DecodeTextLines(bytes);
    return true;
}

bool ReadTextBytes(const QString& path, QByteArray& bytes, QString* error, qint64 limit,
                   const std::function<bool(qint64 done, qint64 total)>& progress) {
    bytes.clear();
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        SetError(
            error,
            QStringLiteral("Cannot read the file \"%1\": it is a folder.").arg(NativeName(path)));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QStringLiteral("Cannot open the file \"%1\" for reading: %2.")
                            .arg(NativeName(path), file.errorString()));
        return false;
    }
    const auto tooLarge = [&] {
        bytes.clear();
        SetError(error, limit == MaxTextFileBytes
                            ? QStringLiteral("Cannot read the file \"%1\": it is larger than %2 "
                                             "MiB, which no file of this program ever is.")
                                  .arg(NativeName(path))
                                  .arg(limit / (1024 * 1024))
                            : QStringLiteral("Cannot read the file \"%1\": it is larger than %2 "
                                             "MiB.")
                                  .arg(NativeName(path))
                                  .arg(limit / (1024 * 1024)));
        return false;
    };
    // A plain file tells its size before anything is read; devices and pipes say 0, so the
    // reading below stops at the limit as well.
    const qint64 size = file.size();
    if (size > limit)
        return tooLarge();
    bytes.reserve(size);
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            bytes.clear();
            SetError(error, QStringLiteral("Cannot read the file \"%1\": %2.")
                                .arg(NativeName(path), file.errorString()));
            return false;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > limit)
            return tooLarge();
        bytes.append(chunk, n);
        if (progress && !progress(bytes.size(), size)) {
            bytes.clear();
            return false;
        }
    }
    return true;
}

QStringList DecodeTextLines(const QByteArray& bytes) {
    return SplitLines(DecodeText(bytes));
}

QByteArray EncodeTextLines(const QStringList& lines) {
    QByteArray bytes;
    // Reading drops one leading mark, so a text that starts with one needs a second.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        bytes += "\xEF\xBB\xBF";
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteTextLines(const QString& path, const QStringList& lines, QString* error) {
    const QByteArray bytes = EncodeTextLines(lines);
    // QSaveFile writes beside the target and renames over it on commit, so readers never see
    // a half-written file and a failure keeps the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, QStringLiteral("Cannot open the file \"%1\" for writing: %2.")
                            .arg(NativeName(path), file.errorString()));
        return false;
    }
    const auto fail = [&](const QString& reason) {
        SetError(error,
                 QStringLiteral("Cannot write the file \"%1\": %2.").arg(NativeName(path), reason));
        // The temporary file goes with the QSaveFile; the old file was never touched.
        file.cancelWriting();
        return false;
    };
    // Contents smaller than the device's buffer stay in it until flushed, and commit() flushes
    // without looking at the result: a full disk would then replace the old file by an empty
    // one and report success. So every step is checked here, before the rename.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return fail(file.errorString());
#if defined(Q_OS_UNIX)
    // A file system may accept the data and find only at write-back that no room is left;
    // fsync reports that while the old file is still in place.
    if (::fsync(file.handle()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
#endif
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
