// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-themes: draws the six background themes and writes them as baseline JPEG files.
//   corvina-themes OUTDIR
// Each file is written at quality 85, lowered in steps while it is larger than 150 KB; the
// size and quality of each are printed.
#include "ThemeArt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvina-themes OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    constexpr qint64 Limit = 150 * 1024;
    for (const char* name : {"meridian", "standard", "stone", "metal", "charcoal", "Crystal"}) {
        const QImage picture = DrawTheme(name);
        QByteArray bytes;
        int quality = 85;
        for (;; quality -= 5) {
            bytes.clear();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(quality);
            writer.setOptimizedWrite(true);
            writer.setProgressiveScanWrite(false);
            if (!writer.write(picture)) {
                std::fprintf(stderr, "%s: %s\n", name, qPrintable(writer.errorString()));
                return 1;
            }
            if (bytes.size() <= Limit || quality <= 40)
                break;
        }
        QFile file(out.filePath(QString(name) + ".jpg"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file.fileName()),
                         qPrintable(file.errorString()));
            return 1;
        }
        std::printf("%-9s %6lld bytes  quality %d\n", name, static_cast<long long>(bytes.size()),
                    quality);
    }
    return 0;
}
