// SPDX-License-Identifier: GPL-3.0-or-later
// The profile's colour text, priority codes and numbers on any text.
//
// Properties:
//  - A colour that reads is written back as text that reads to the same colour; the text
//    written for any colour is one of the sixteen names exactly when the colour is one of them,
//    else "$00" and six upper-case hex digits.
//  - Numbers read exactly as a plain decimal reading of the trimmed text does, within int.
//  - A flag is a number, on exactly when it is 1; a priority code reads exactly when it is in
//    0..6, and writes back as itself.
#include "formats/ProfileFormat.h"
#include "tests/fuzz/FuzzInput.h"

#include <QGuiApplication>
#include <QRegularExpression>

#include <climits>

namespace {

// A deliberately plain decimal reading: optional sign, ASCII digits, within int.
bool PlainInt(const QString& text, int* out) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    if (i == t.size())
        return false;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9')
            return false;
        value = value * 10 + (t[i].unicode() - u'0');
        if (value > 1LL << 40)
            return false;
    }
    value = negative ? -value : value;
    if (value < INT_MIN || value > INT_MAX)
        return false;
    *out = static_cast<int>(value);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // System colour names read the application's palette.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes in(data, size);
    std::uint32_t rgb = 0;
    for (int i = 0; i < 3; ++i)
        rgb = rgb << 8 | in.Byte();
    const int code = static_cast<std::int8_t>(in.Byte());
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QColor colour;
    if (TextToColour(text, &colour)) {
        const QString written = ColourToText(colour);
        QColor again;
        FUZZ_CHECK(TextToColour(written, &again) && again.rgb() == colour.rgb(),
                   "colour %08x written as \"%s\" does not read back", colour.rgb(),
                   qPrintable(written));
    }
    const QColor any(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
    const QString anyText = ColourToText(any);
    static const QRegularExpression hex(QStringLiteral("^\\$00[0-9A-F]{6}$"));
    FUZZ_CHECK(anyText.startsWith(u"cl"_qs) || hex.match(anyText).hasMatch(),
               "colour written as \"%s\"", qPrintable(anyText));
    QColor back;
    FUZZ_CHECK(TextToColour(anyText, &back) && back.rgb() == any.rgb(), "\"%s\" does not read back",
               qPrintable(anyText));

    int value = 0;
    int plain = 0;
    const bool read = ParseProfileInt(text, &value);
    FUZZ_CHECK(read == PlainInt(text, &plain) && (!read || value == plain),
               "\"%s\": ParseProfileInt %d (%d), plain reading %d", qPrintable(text), read, value,
               plain);
    bool on = false;
    FUZZ_CHECK(ParseProfileFlag(text, &on) == read && (!read || on == (value == 1)), "flag \"%s\"",
               qPrintable(text));

    TThreadPriority priority = TThreadPriority::tpNormal;
    const bool known = CodeToPriority(code, &priority);
    FUZZ_CHECK(known == (code >= 0 && code <= 6), "priority code %d", code);
    if (known)
        FUZZ_CHECK(PriorityToCode(priority) == code, "priority code %d writes back as %d", code,
                   PriorityToCode(priority));
    return 0;
}
