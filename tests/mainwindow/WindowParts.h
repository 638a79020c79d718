#pragma once
// The main window's controls by their designed names, for tests that read what the user sees.
#include <QObject>
#include <QString>

template <class T> T* Ctl(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}
