// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saving a picture of a window for the picture tools, once its pending paints have run.
#include <QString>
#include <QTest>
#include <QWidget>

#include <cstdio>

inline bool SaveGrab(QWidget& w, const QString& file) {
    QTest::qWait(200);
    const bool ok = w.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}
