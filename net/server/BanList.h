// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The addresses the lobby refuses, kept in a text file of one address per line (blank lines
// and lines starting with '#' are comments). The file is read once at start; a ban adds a line.

#include <QHostAddress>
#include <QList>
#include <QString>

class TBanList {
public:
    // Reads the file; a missing file is an empty list. Lines that are no address are skipped
    // and counted in BadLines().
    bool Load(const QString& file, QString* error = nullptr);
    // Adds the address, appending it to the file when there is one. False with a reason when
    // the address is not one; an address already banned is fine. A file that cannot be written
    // does not stop the ban: the address is banned until the server stops, and `error` says
    // why the file does not keep it.
    bool Add(const QString& address, QString* error = nullptr);
    bool Contains(const QHostAddress& address) const;
    int Size() const { return static_cast<int>(Addresses_.size()); }
    int BadLines() const { return BadLines_; }

    // An IPv4 address that came in over an IPv6 socket as ::ffff:a.b.c.d becomes a.b.c.d.
    static QHostAddress Normal(const QHostAddress& address);

private:
    QString File_;
    QList<QHostAddress> Addresses_;
    int BadLines_ = 0;
};
