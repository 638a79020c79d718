// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// Every file of the program is addressed from the program folder. Start-up sets it to the folder
// PrepareProgramFolder chooses (common/UserFolder.h); until then, and in tests that set none,
// it is the folder that holds the executable.
QString ProgramFolder();                      // QCoreApplication::applicationDirPath() unless set
void SetProgramFolder(const QString& folder); // an empty folder restores the default

// Program folder + relative path. Relative paths may be written with backslashes, as the
// program's data files and older callers do ("\\Settings\\Default", "pieces\\x.bmp"); they are
// turned into '/' and joined to the folder with exactly one separator between.
QString ProgramPath(const QString& relative);
