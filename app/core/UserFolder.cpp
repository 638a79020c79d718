#include "app/core/UserFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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
    QStringList missing;
    while (it.hasNext()) {
        const QString relative = source.relativeFilePath(it.next());
        // A dangling link counts as present: it is the user's, and copying over it would
        // write wherever it points.
        const QFileInfo there(target.filePath(relative));
        if (!there.exists() && !there.isSymLink())
            missing << relative;
    }
    missing.sort();
    for (const QString& relative : missing) {
        const QString destination = target.filePath(relative);
        const QString parent = QFileInfo(destination).absolutePath();
        if (!QDir().mkpath(parent)) {
            result.Failed << QString("The folder %1 could not be created.").arg(parent);
            continue;
        }
        // QFile::copy writes a temporary file and renames it, so a start-up cut short never
        // leaves a half-copied file that would later count as present.
        if (!QFile::copy(source.filePath(relative), destination)) {
            result.Failed << QString("%1 could not be copied to %2.")
                                 .arg(source.filePath(relative), destination);
            continue;
        }
        QFile::setPermissions(destination, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                               QFile::WriteUser | QFile::ReadGroup |
                                               QFile::ReadOther);
        result.Copied << relative;
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
