// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own 32 x 32 icon (resources/CorvinaIcon.png, drawn from CorvinaIcon.svg),
// compiled into every program that links corvina_about.

#include <QIcon>
#include <QPixmap>

inline constexpr const char* ProgramIconResource = ":/CorvinaIcon.png";

inline QPixmap ProgramIconPixmap() {
    return QPixmap(ProgramIconResource);
}

inline QIcon ProgramIcon() {
    return QIcon(ProgramIconResource);
}
