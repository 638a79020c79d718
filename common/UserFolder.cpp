// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/UserFolder.h"

#include "common/TextFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

QString Clean(const QString& path) {
    return QDir::cleanPath(path);
}

// Whether the current user may create files in `folder`: asks the file system by creating one,
// since permission bits alone do not tell (read-only mounts, access lists).
bool CanCreateFilesIn(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(".corvina-probe-XXXXXX"));
    return probe.open();
}

} // namespace

TFolderPlan PlanProgramFolder(const TFolderFacts& facts) {
    TFolderPlan plan;
    if (facts.ExeFolderHasData && facts.ExeFolderWritable) {
        plan.Portable = true;
        plan.Folder = Clean(facts.ExeFolder);
        return plan;
    }
    plan.InstalledData = facts.ExeFolderHasData ? Clean(facts.ExeFolder)
                                                : Clean(facts.ExeFolder + "/../share/corvina");
    QString base;
    if (QDir::isAbsolutePath(facts.XdgDataHome))
        base = facts.XdgDataHome;
    else if (QDir::isAbsolutePath(facts.Home))
        base = facts.Home + "/.local/share";
    if (!base.isEmpty())
        plan.Folder = Clean(base + "/corvina");
    return plan;
}

bool HoldsProgramData(const QString& folder) {
    const QDir dir(folder);
    return QFileInfo(dir.filePath("chlist.dat")).isFile() &&
           QFileInfo(dir.filePath("pieces")).isDir();
}

TFolderFacts ReadFolderFacts(const QString& exeFolder) {
    TFolderFacts facts;
    facts.ExeFolder = exeFolder;
    facts.ExeFolderHasData = HoldsProgramData(exeFolder);
    // Only a folder with data is portable, so the probe file is made only there.
    facts.ExeFolderWritable = facts.ExeFolderHasData && CanCreateFilesIn(exeFolder);
    facts.XdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    facts.Home = qEnvironmentVariable("HOME");
    return facts;
}

namespace {

QByteArray ReadWhole(const QString& path, bool* ok) {
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    return *ok ? f.readAll() : QByteArray();
}

QByteArray Digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The record of what was last copied: one line per file, its SHA-256 and its relative path.
QMap<QString, QByteArray> ReadRecord(const QString& path) {
    QMap<QString, QByteArray> record;
    QStringList lines;
    if (!ReadTextLines(path, lines))
        return record;
    for (const QString& line : lines) {
        const qsizetype space = line.indexOf(u' ');
        if (space == 64)
            record.insert(line.mid(space + 1), line.left(space).toLatin1());
    }
    return record;
}

// Writes `bytes` as `destination` in one step (a temporary file renamed over it), readable
// and writable by its owner whatever the installed file's mode.
bool Place(const QString& destination, const QByteArray& bytes) {
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return false;
    QFile::setPermissions(destination, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                           QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

} // namespace

TFillResult FillMissingFiles(const QString& from, const QString& to) {
    TFillResult result;
    const QDir source(from);
    const QDir target(to);
    if (!target.exists() && !QDir().mkpath(to)) {
        result.Failed << QString("The folder %1 could not be created.").arg(to);
        return result;
    }
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList shipped;
    while (it.hasNext())
        shipped << source.relativeFilePath(it.next());
    shipped.sort();
    shipped.removeAll(InstalledRecordName);

    const QString recordPath = target.filePath(InstalledRecordName);
    const QMap<QString, QByteArray> before = ReadRecord(recordPath);
    QMap<QString, QByteArray> record;
    for (const QString& relative : shipped) {
        const QString destination = target.filePath(relative);
        const QFileInfo there(destination);
        bool ok = false;
        const QByteArray bytes = ReadWhole(source.filePath(relative), &ok);
        if (!ok) {
            result.Failed << QString("%1 could not be read.").arg(source.filePath(relative));
            continue;
        }
        const QByteArray digest = Digest(bytes);
        // A dangling link counts as present: it is the user's, and writing through it would
        // write wherever it points. So does anything that is not a plain file.
        const bool present = there.exists() || there.isSymLink();
        if (present) {
            if (there.isSymLink() || !there.isFile())
                continue;
            bool read = false;
            const QByteArray mine = Digest(ReadWhole(destination, &read));
            if (!read)
                continue;
            if (mine == digest) {
                record.insert(relative, digest);
                continue;
            }
            // Replaced only when it is still exactly what was copied last time: the user
            // never changed it and a newer installation ships another version.
            if (before.value(relative) != mine) {
                if (before.contains(relative))
                    record.insert(relative, before.value(relative));
                continue;
            }
        } else {
            const QString parent = there.absolutePath();
            if (!QDir().mkpath(parent)) {
                result.Failed << QString("The folder %1 could not be created.").arg(parent);
                continue;
            }
        }
        if (!Place(destination, bytes)) {
            result.Failed << QString("%1 could not be copied to %2.")
                                 .arg(source.filePath(relative), destination);
            if (present)
                record.insert(relative, before.value(relative));
            continue;
        }
        (present ? result.Updated : result.Copied) << relative;
        record.insert(relative, digest);
    }
    if (record != before) {
        QStringList lines;
        for (auto i = record.begin(); i != record.end(); ++i)
            lines << QString::fromLatin1(i.value()) + u' ' + i.key();
        // Without the record, later versions of these files are simply not brought in.
        WriteTextLines(recordPath, lines);
    }
    return result;
}

QString PrepareProgramFolder(const TFolderFacts& facts, const TFolderWarning& warn) {
    const TFolderPlan plan = PlanProgramFolder(facts);
    if (plan.Portable)
        return plan.Folder;
    const bool installed = HoldsProgramData(plan.InstalledData);
    QStringList failures;
    if (plan.Folder.isEmpty())
        failures << "Neither XDG_DATA_HOME nor HOME names a folder for your files.";
    else if (installed)
        failures = FillMissingFiles(plan.InstalledData, plan.Folder).Failed;
    else if (!HoldsProgramData(plan.Folder))
        failures << QString("The program's files were not found in %1.").arg(plan.InstalledData);

    const bool usable = !plan.Folder.isEmpty() && HoldsProgramData(plan.Folder) &&
                        QFileInfo(QDir(plan.Folder).filePath("Settings/Default")).isFile();
    if (failures.isEmpty() && usable)
        return plan.Folder;

    QString text = QString("Corvina could not prepare its folder %1.\n\n%2\n\n")
                       .arg(plan.Folder.isEmpty() ? QString("for your files") : plan.Folder,
                            failures.mid(0, 5).join('\n'));
    if (failures.size() > 5)
        text += QString("(and %1 more)\n\n").arg(failures.size() - 5);
    QString folder;
    if (usable) {
        text += "Corvina uses the folder as it is; some pictures or texts may be missing.";
        folder = plan.Folder;
    } else if (installed) {
        text += "Corvina runs from its installed files; settings cannot be saved.";
        folder = plan.InstalledData;
    } else {
        text += "Corvina runs without its files.";
        folder = plan.InstalledData;
    }
    if (warn)
        warn(text);
    return folder;
}
