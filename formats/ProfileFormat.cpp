// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/ProfileFormat.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <cstdint>
#include <limits>

namespace {

struct TNamedColour {
    const char* name;
    std::uint32_t value; // 0x00BBGGRR
};

constexpr std::array<TNamedColour, 16> kBasicColours{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// System colours in the order of their index; the number form is 0x80000000 | index.
struct TSystemColour {
    const char* name;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::uint32_t kSystemFlag = 0x80000000u;

constexpr std::array<TSystemColour, 25> kSystemColours{{
    {"clScrollBar", QPalette::Active, QPalette::Button},
    {"clBackground", QPalette::Active, QPalette::Window},
    {"clActiveCaption", QPalette::Active, QPalette::Highlight},
    {"clInactiveCaption", QPalette::Inactive, QPalette::Highlight},
    {"clMenu", QPalette::Active, QPalette::Window},
    {"clWindow", QPalette::Active, QPalette::Base},
    {"clWindowFrame", QPalette::Active, QPalette::Shadow},
    {"clMenuText", QPalette::Active, QPalette::WindowText},
    {"clWindowText", QPalette::Active, QPalette::Text},
    {"clCaptionText", QPalette::Active, QPalette::HighlightedText},
    {"clActiveBorder", QPalette::Active, QPalette::Window},
    {"clInactiveBorder", QPalette::Inactive, QPalette::Window},
    {"clAppWorkSpace", QPalette::Active, QPalette::Mid},
    {"clHighlight", QPalette::Active, QPalette::Highlight},
    {"clHighlightText", QPalette::Active, QPalette::HighlightedText},
    {"clBtnFace", QPalette::Active, QPalette::Button},
    {"clBtnShadow", QPalette::Active, QPalette::Dark},
    {"clGrayText", QPalette::Disabled, QPalette::Text},
    {"clBtnText", QPalette::Active, QPalette::ButtonText},
    {"clInactiveCaptionText", QPalette::Inactive, QPalette::HighlightedText},
    {"clBtnHighlight", QPalette::Active, QPalette::Light},
    {"cl3DDkShadow", QPalette::Active, QPalette::Shadow},
    {"cl3DLight", QPalette::Active, QPalette::Midlight},
    {"clInfoText", QPalette::Active, QPalette::ToolTipText},
    {"clInfoBk", QPalette::Active, QPalette::ToolTipBase},
}};

std::uint32_t ValueOf(const QColor& c) {
    const QColor rgb = c.toRgb();
    return std::uint32_t(rgb.red()) | std::uint32_t(rgb.green()) << 8 |
           std::uint32_t(rgb.blue()) << 16;
}

QColor FromValue(std::uint32_t value) {
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

QColor SystemColour(const TSystemColour& sc) {
    return QGuiApplication::palette().color(sc.group, sc.role);
}

// Colour value of a number: plain 0x00BBGGRR, or a system colour by index.
bool ColourFromNumber(std::uint32_t value, QColor* out) {
    if ((value & 0xFF000000u) == 0) {
        *out = FromValue(value);
        return true;
    }
    if ((value & 0xFF000000u) == kSystemFlag) {
        const std::uint32_t index = value & 0x00FFFFFFu;
        if (index < kSystemColours.size()) {
            *out = SystemColour(kSystemColours[index]);
            return true;
        }
    }
    return false;
}

// Optional sign and decimal digits only; blanks around are the caller's business.
bool ParseDecimal(QStringView text, qint64 lo, qint64 hi, qint64* out) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < u'0' || ch > u'9')
            return false;
        value = value * 10 + (ch - u'0');
        if (value > hi - lo) // far beyond either bound: stop before it can overflow
            return false;
    }
    if (negative)
        value = -value;
    if (value < lo || value > hi)
        return false;
    *out = value;
    return true;
}

bool ParseHex(QStringView text, std::uint32_t* out) {
    if (text.isEmpty())
        return false;
    std::uint64_t value = 0;
    for (QChar qc : text) {
        const char16_t ch = qc.unicode();
        int digit;
        if (ch >= u'0' && ch <= u'9')
            digit = ch - u'0';
        else if (ch >= u'a' && ch <= u'f')
            digit = ch - u'a' + 10;
        else if (ch >= u'A' && ch <= u'F')
            digit = ch - u'A' + 10;
        else
            return false;
        value = value << 4 | std::uint64_t(digit);
        if (value > 0xFFFFFFFFu)
            return false;
    }
    *out = std::uint32_t(value);
    return true;
}

} // namespace

QString ColourToText(const QColor& c) {
    const std::uint32_t value = ValueOf(c);
    for (const TNamedColour& nc : kBasicColours) {
        if (nc.value == value)
            return QString::fromLatin1(nc.name);
    }
    return u'$' + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

bool TextToColour(const QString& text, QColor* out) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (const TNamedColour& nc : kBasicColours) {
        if (t.compare(QLatin1String(nc.name), Qt::CaseInsensitive) == 0) {
            *out = FromValue(nc.value);
            return true;
        }
    }
    for (const TSystemColour& sc : kSystemColours) {
        if (t.compare(QLatin1String(sc.name), Qt::CaseInsensitive) == 0) {
            *out = SystemColour(sc);
            return true;
        }
    }
    if (t.startsWith(u'$')) {
        std::uint32_t value = 0;
        return ParseHex(QStringView(t).mid(1), &value) && ColourFromNumber(value, out);
    }
    // Decimal numbers come from files that stored the value as a signed 32-bit integer, so
    // system colours appear negative; accept the unsigned spelling as well.
    qint64 number = 0;
    if (!ParseDecimal(t, std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::uint32_t>::max(), &number))
        return false;
    return ColourFromNumber(std::uint32_t(number), out);
}

int PriorityToCode(TThreadPriority p) {
    return 6 - int(p);
}

bool CodeToPriority(int code, TThreadPriority* out) {
    if (code < 0 || code > 6)
        return false;
    *out = TThreadPriority(6 - code);
    return true;
}

bool ParseProfileInt(const QString& text, int* out) {
    qint64 value = 0;
    if (!ParseDecimal(text.trimmed(), std::numeric_limits<int>::min(),
                      std::numeric_limits<int>::max(), &value))
        return false;
    *out = int(value);
    return true;
}

QString FlagToText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool ParseProfileFlag(const QString& text, bool* out) {
    int value = 0;
    if (!ParseProfileInt(text, &value))
        return false;
    *out = value == 1;
    return true;
}
