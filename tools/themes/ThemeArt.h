// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The background themes, drawn from gradients and seeded noise so that every run gives the
// same pictures.

#include <QImage>
#include <QString>

constexpr int ThemeWidth = 814;
constexpr int ThemeHeight = 661;

// `name` is one of meridian, standard, stone, metal, charcoal, Crystal; a null image otherwise.
QImage DrawTheme(const QString& name);
