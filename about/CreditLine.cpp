// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/CreditLine.h"

namespace {

// A component is a run of decimal digits worth at most 255 (leading zeros allowed); signs and
// spaces are refused, and the value is checked digit by digit so no input can overflow it.
std::optional<int> ParseComponent(QStringView s) {
    if (s.isEmpty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : s) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > 255) {
            return std::nullopt;
        }
    }
    return value;
}

} // namespace

std::optional<QColor> ParseCreditColor(QStringView components) {
    int rgb[3] = {0, 0, 0};
    int count = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype comma = components.indexOf(u',', start);
        const QStringView part =
            comma < 0 ? components.mid(start) : components.mid(start, comma - start);
        if (count == 3) {
            return std::nullopt;
        }
        const std::optional<int> value = ParseComponent(part);
        if (!value) {
            return std::nullopt;
        }
        rgb[count++] = *value;
        if (comma < 0) {
            break;
        }
        start = comma + 1;
    }
    if (count != 3) {
        return std::nullopt;
    }
    return QColor(rgb[0], rgb[1], rgb[2]);
}

TCreditLine ParseCreditLine(QStringView line) {
    TCreditLine result;
    result.Text.reserve(line.size());
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (c != u'&') {
            result.Text += c;
            ++i;
            continue;
        }
        // A lone "&" at the end of the line has nothing to mark and is dropped.
        if (i + 1 >= n) {
            break;
        }
        const QChar code = line[i + 1].toLower();
        i += 2;
        if (code == u'&') {
            result.Text += u'&';
        } else if (code == u'b') {
            result.Bold = true;
        } else if (code == u'i') {
            result.Italic = true;
        } else if (code == u'u') {
            result.Underline = true;
        } else if (code == u'c') {
            const qsizetype semicolon = line.indexOf(u';', i);
            const qsizetype end = semicolon < 0 ? n : semicolon;
            result.Color = ParseCreditColor(line.mid(i, end - i));
            i = semicolon < 0 ? n : semicolon + 1;
        }
        // Any other character after "&" is dropped together with it.
    }
    return result;
}
