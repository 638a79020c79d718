// SPDX-License-Identifier: GPL-3.0-or-later
// The text reader on any bytes, through its pure decoding steps, and once in a while through a
// real file.
//
// Properties:
//  - No line holds a CR or LF; bytes without a line end give at most one line.
//  - Valid UTF-8 is read as UTF-8; anything else byte for byte as Windows-1252 (as many
//    characters as bytes).
//  - Writing the lines and reading them back gives the same lines.
//  - ReadTextLines on a file of these bytes gives what DecodeTextLines gives.
#include "common/TextFile.h"
#include "tests/fuzz/FuzzInput.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = DecodeTextLines(bytes);

    for (const QString& line : lines)
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'), "a line holds a line end");
    if (!bytes.contains('\r') && !bytes.contains('\n'))
        FUZZ_CHECK(lines.size() <= 1, "%lld lines without a line end",
                   static_cast<long long>(lines.size()));

    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                    QStringDecoder::Flag::ConvertInitialBom);
    const QString asUtf8 = strict.decode(bytes);
    if (strict.hasError()) {
        qsizetype chars = 0;
        for (const QString& line : lines)
            chars += line.size();
        const qsizetype ends = bytes.count('\r') + bytes.count('\n');
        FUZZ_CHECK(chars + ends == bytes.size(),
                   "a single-byte file of %lld bytes gave %lld characters and %lld line-end bytes",
                   static_cast<long long>(bytes.size()), static_cast<long long>(chars),
                   static_cast<long long>(ends));
    } else {
        QString joined = asUtf8.startsWith(QChar(0xFEFF)) ? asUtf8.mid(1) : asUtf8;
        joined.replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n');
        if (joined.endsWith(u'\n'))
            joined.chop(1);
        FUZZ_CHECK(lines.join(u'\n') == joined || (lines.isEmpty() && joined.isEmpty()),
                   "UTF-8 text was not split at its line ends");
    }

    FUZZ_CHECK(DecodeTextLines(EncodeTextLines(lines)) == lines,
               "written lines do not read back the same");

    // A real file now and then: the reading path beyond the decoding.
    if (size % 16 == 5) {
        static QTemporaryDir dir;
        const QString path = dir.filePath("fuzz.txt");
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(),
                   "cannot write the temporary file");
        f.close();
        QStringList read;
        FUZZ_CHECK(ReadTextLines(path, read), "ReadTextLines refused a small file");
        FUZZ_CHECK(read == lines, "ReadTextLines and DecodeTextLines differ");
    }
    return 0;
}
