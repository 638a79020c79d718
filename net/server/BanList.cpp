// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/server/BanList.h"

#include <QFile>
#include <QTextStream>

QHostAddress TBanList::Normal(const QHostAddress& address) {
    bool ok = false;
    const quint32 v4 = address.toIPv4Address(&ok);
    return ok ? QHostAddress(v4) : address;
}

bool TBanList::Load(const QString& file, QString* error) {
    File_ = file;
    Addresses_.clear();
    BadLines_ = 0;
    QFile f(file);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    // A ban file is short; a huge one is cut rather than read into memory whole.
    constexpr int MaxLines = 100000;
    for (int n = 0; n < MaxLines && !f.atEnd(); ++n) {
        const QString line = QString::fromUtf8(f.readLine(256)).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QHostAddress a;
        if (a.setAddress(line))
            Addresses_.append(Normal(a));
        else
            ++BadLines_;
    }
    return true;
}

bool TBanList::Add(const QString& address, QString* error) {
    QHostAddress a;
    if (!a.setAddress(address.trimmed())) {
        if (error)
            *error = QString("\"%1\" is not an IP address").arg(address);
        return false;
    }
    a = Normal(a);
    if (Contains(a))
        return true;
    Addresses_.append(a);
    if (!File_.isEmpty()) {
        QFile f(File_);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text) ||
            f.write((a.toString() + '\n').toUtf8()) < 0 || !f.flush()) {
            if (error)
                *error = QString("%1: %2").arg(File_, f.errorString());
        }
    }
    return true;
}

bool TBanList::Contains(const QHostAddress& address) const {
    const QHostAddress a = Normal(address);
    for (const QHostAddress& b : Addresses_)
        if (a.isEqual(b))
            return true;
    return false;
}
