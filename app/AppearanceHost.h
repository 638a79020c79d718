// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the appearance dialogs may change in the main window besides its board: the background
// picture, the current piece-set file and the theme index. The dialogs act through this and
// never reach the window's controls.

#include <QString>

class IAppearanceHost {
public:
    virtual ~IAppearanceHost() = default;
    // Shows the picture in `file` stretched behind the controls. An unreadable picture is
    // reported naming the file, the previous picture stays, and the answer is false.
    virtual bool SetBackgroundPicture(const QString& file) = 0;
    // Full path of the piece-set bitmap the board shows; empty for the built-in set.
    virtual QString CurrentPieceSetFile() const = 0;
    virtual void SetCurrentPieceSetFile(const QString& file) = 0;
    // -1 when no theme was chosen.
    virtual void SetThemeIndex(int index) = 0;
};
