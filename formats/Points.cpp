// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/Points.h"

namespace {

const char* const TallyWords[5] = {"Pawns", "Bishops", "Knights", "Rooks", "Queens"};
const char* const WhiteLetters = "PBNRQ";
const char* const BlackLetters = "pbnrq";
constexpr int FullSet[5] = {8, 2, 2, 2, 1};

int Count(const std::string& position, char letter) {
    int n = 0;
    for (char c : position)
        n += c == letter;
    return n;
}

} // namespace

int Hits(const QString& shortText, const QString& longText) {
    if (shortText.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = longText.indexOf(shortText); at >= 0;
         at = longText.indexOf(shortText, at + shortText.size()))
        ++count;
    return count;
}

double CountPoints(const std::string& position, int side) {
    const QString text = QString::fromLatin1(position.data(), qsizetype(position.size()));
    const char* letters = side == 1 ? WhiteLetters : BlackLetters;
    const long double values[5] = {1.0L, 3.5L, 3.05L, 5.48L, 9.94L};
    long double sum = 0;
    for (int i = 0; i < 5; ++i)
        sum += Hits(QString(QChar(letters[i])), text) * values[i];
    return static_cast<double>(sum);
}

QString PointsText(double points) {
    return QString::asprintf("%5.1f", points);
}

std::array<int, 5> TallyCounts(const std::string& position, int side) {
    const char* letters = side == 1 ? WhiteLetters : BlackLetters;
    std::array<int, 5> missing{};
    int promoted = 0;
    for (int i = 0; i < 5; ++i) {
        const int present = Count(position, letters[i]);
        missing[static_cast<std::size_t>(i)] = std::max(0, FullSet[i] - present);
        if (i > 0)
            promoted += std::max(0, present - FullSet[i]);
    }
    missing[0] = std::max(0, missing[0] - promoted);
    return missing;
}

std::array<QString, 5> DefaultTallyWords() {
    std::array<QString, 5> words;
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = QString::fromLatin1(TallyWords[i]);
    return words;
}

QStringList TallyTexts(const std::array<int, 5>& counts, const std::array<QString, 5>& words) {
    QStringList texts;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const QString count = QString::number(counts[i]);
        texts << (words[i].contains(QLatin1String("%1")) ? QString(words[i]).replace("%1", count)
                                                         : count + u' ' + words[i]);
    }
    return texts;
}
