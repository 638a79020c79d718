// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ProgramFolder.h"

#include <QCoreApplication>

namespace {

QString& Override() {
    static QString folder;
    return folder;
}

} // namespace

QString ProgramFolder() {
    if (!Override().isEmpty())
        return Override();
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder) {
    Override() = folder;
}

QString ProgramPath(const QString& relative) {
    QString rel = relative;
    rel.replace(u'\\', u'/');
    qsizetype skip = 0;
    while (skip < rel.size() && rel.at(skip) == u'/')
        ++skip;
    rel.remove(0, skip);

    QString folder = ProgramFolder();
    // Keep a lone "/" (the root) but drop a trailing separator of any other folder.
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    if (rel.isEmpty())
        return folder;
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder + rel;
    return folder + u'/' + rel;
}
