// corvina-pieceset OUTPUT.bmp [CELL]: draws the default piece set and checks what it wrote.
#include "tools/pieceset/PieceArt.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

const QString FontPath = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

int Fail(const QStringList& lines) {
    for (const QString& line : lines)
        std::fprintf(stderr, "corvina-pieceset: %s\n", qPrintable(line));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // The tool draws without a display, on build machines too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = args.size() == 2 || args.size() == 3;
    const int cell = args.size() == 3 ? args[2].toInt(&ok) : 40;
    if (!ok || cell < 24 || cell > 256) {
        std::fprintf(stderr, "usage: corvina-pieceset OUTPUT.bmp [CELL 24..256, default 40]\n");
        return 2;
    }
    const QString output = args[1];

    QString error;
    const QRawFont font = pieceart::LoadChessFont(FontPath, &error);
    if (!font.isValid())
        return Fail({error});
    const QImage set = pieceart::DrawPieceSet(font, cell);
    if (const QStringList faults = pieceart::Validate(set); !faults.isEmpty())
        return Fail(faults);
    if (!set.save(output, "BMP"))
        return Fail({QStringLiteral("cannot write %1").arg(output)});

    // The game reads the file, not this image: check what actually landed on disk.
    const QImage written(output, "BMP");
    QStringList faults = pieceart::Validate(written);
    if (faults.isEmpty() && written.convertToFormat(QImage::Format_RGB32) != set)
        faults << QStringLiteral("%1 does not read back as drawn").arg(output);
    if (!faults.isEmpty())
        return Fail(faults);
    std::printf("%s: %dx%d, cells of %d pixels\n", qPrintable(output), set.width(), set.height(),
                cell);
    return 0;
}
