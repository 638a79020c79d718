// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text the about box scrolls, with its mark-up.

#include <QStringList>

QStringList AboutCreditsText();
