// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program folder lives. Run from a folder that holds the program's data and may be
// written (the build folder, an unpacked archive), that folder is the program folder. Installed
// (the executable in .../bin, its data read-only in .../share/corvina), each user gets a folder
// of their own under $XDG_DATA_HOME/corvina, filled from the installed data on first start and
// completed with missing files on later starts; nothing the user changed is overwritten.

#include <QString>
#include <QStringList>

#include <functional>

// What the choice depends on, read once at start-up (ReadFolderFacts) or given by tests.
struct TFolderFacts {
    QString ExeFolder;              // the folder holding the executable
    bool ExeFolderWritable = false; // the current user may create files there
    bool ExeFolderHasData = false;  // HoldsProgramData(ExeFolder)
    QString XdgDataHome;            // $XDG_DATA_HOME, empty when unset
    QString Home;                   // $HOME, empty when unset
};

struct TFolderPlan {
    bool Portable = false; // the executable's folder is the program folder
    QString Folder;        // the program folder; empty when no per-user folder can be named
    QString InstalledData; // read-only data that fills Folder; empty when portable
};

// The pure rule. Portable when the executable's folder holds the data and is writable.
// Otherwise the per-user folder is $XDG_DATA_HOME/corvina, or $HOME/.local/share/corvina when
// XDG_DATA_HOME is unset or not absolute (as the XDG base directory rules say); its data comes
// from the executable's folder if that holds it, else from ../share/corvina beside the
// executable's folder.
TFolderPlan PlanProgramFolder(const TFolderFacts& facts);

// True when `folder` holds the challenge list and the piece-set folder.
bool HoldsProgramData(const QString& folder);

// The facts for an executable in `exeFolder`, from the disk and the environment.
TFolderFacts ReadFolderFacts(const QString& exeFolder);

struct TFillResult {
    QStringList Copied;  // relative paths copied because they were missing, sorted
    QStringList Updated; // relative paths replaced by a newer installed version, sorted
    QStringList Failed;  // one sentence per file or folder that could not be made
};

// The file in the per-user folder that records the SHA-256 of each installed file as it was
// last copied there.
inline constexpr const char* InstalledRecordName = ".installed-files";

// Copies every file under `from` that is missing under `to` (same relative path), creating
// folders as needed. A file that is present is replaced only when it is byte for byte the
// installed version copied earlier (the record says so) and the installed file has changed
// since, as after an upgrade; anything the user changed, added or linked stays as it is. Each
// copy is written whole and then renamed into place, readable and writable by its owner
// whatever the installed file's mode.
TFillResult FillMissingFiles(const QString& from, const QString& to);

// The start-up step: plans, creates and fills the per-user folder, and answers the folder the
// program should use. When the per-user folder cannot be made or filled, `warn` receives one
// message and the program runs from the installed data (read-only), if that exists.
using TFolderWarning = std::function<void(const QString& text)>;
QString PrepareProgramFolder(const TFolderFacts& facts, const TFolderWarning& warn);
