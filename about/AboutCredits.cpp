// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutCredits.h"

// Every name here is of someone whose work the program really uses, with the licence it comes
// under; the project has no web site or mail address of its own yet, so those lines say where
// its documentation is.
QStringList AboutCreditsText() {
    return {
        "&b&u&c255,0,0;Corvina v3.0 Meridian Edition (Build 3.1)",
        "Copyright (C) 2026 the Corvina developers",
        "A chess game in C++20 with Qt 6",
        "Licence: GPL-3.0-or-later",
        "",
        "Corvina is free software: you can redistribute it",
        "and/or modify it under the terms of the GNU General",
        "Public License, version 3 or (at your option) any",
        "later version. It comes with ABSOLUTELY NO",
        "WARRANTY; see the LICENSE file for the details.",
        "",
        "&b&u&c0,255,0;Credits:",
        "",
        "The Corvina developers",
        "Qt 6: The Qt Company Ltd. and contributors,",
        "under the GNU LGPL version 3",
        "libjpeg-turbo: the libjpeg-turbo Project, under",
        "the IJG, BSD and zlib licences; this software is",
        "based in part on the work of the Independent",
        "JPEG Group",
        "Chess piece shapes drawn from the DejaVu fonts:",
        "Bitstream Vera Fonts licence, (c) 2003 Bitstream,",
        "Inc.; DejaVu changes are in the public domain",
        "",
        "&b&u&c0,255,0;Special Thanks:",
        "The Debian project, whose packages we build on",
        "",
        "Website:",
        "&b&u&c0,255,255;None yet: see README.md and help.html",
        "",
        "E-mail:",
        "&b&u&c0,255,255;None yet: press F1 for the help page",
        "&b&u&c0,255,255;or read the readme.doc file",
        "",
        "&bFor more info please check the readme.doc file!",
    };
}
