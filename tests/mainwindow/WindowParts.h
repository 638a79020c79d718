// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's controls by their designed names, for tests that read what the user sees.
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>

template <class T> T* Ctl(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

// The items of one of the window's lists, top first.
inline QStringList ListTexts(const QObject& window, const char* name) {
    QStringList out;
    auto* list = Ctl<QListWidget>(window, name);
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
