// SPDX-License-Identifier: GPL-3.0-or-later
#include "uikit/DocumentOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <QProcess>
#include <QStandardPaths>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

void OpenDocument(const QString& path, QObject* context, std::function<void()> failed) {
    if (!QFileInfo(path).isFile()) {
        failed();
        return;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        failed();
        return;
    }
    auto* process = new QProcess(context);
    process->setProgram(opener);
    process->setArguments({QDir::toNativeSeparators(path)});
    // The viewer it starts may outlive the program: no pipes for it to write into, and what
    // either of them reports goes to our own standard error as before.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         // A crash or a non-zero exit is reported by finished() below.
                         if (error != QProcess::FailedToStart)
                             return;
                         failed();
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                         process->deleteLater();
                     });
    process->start();
#else
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        failed();
#endif
}

QString DocumentFailureText(const QString& failure, const QString& path) {
    return failure + QStringLiteral("\n\nOpen it yourself:\n") + QDir::toNativeSeparators(path);
}
