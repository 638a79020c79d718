// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening the program's documents (help, readme) with the desktop's default application.
//
// On Linux and the other free desktops the document goes to `xdg-open`, which is run and
// watched: QDesktopServices only reports whether it could start `xdg-open`, which then fails
// on its own (no viewer installed, "no method available") where nobody sees it. Elsewhere
// QDesktopServices asks the system directly and its answer is the outcome.

#include <QString>

#include <functional>

class QObject;

// Opens the file `path`. `failed` runs once, on the user-interface thread, when the document
// cannot be opened: the file is missing, the opener is not installed or cannot start, or it
// ends with an error or a crash. The opener's verdict may come later, from the event loop; it
// is dropped when `context` is destroyed first. On success nothing is called.
void OpenDocument(const QString& path, QObject* context, std::function<void()> failed);

// The text of the box that reports the failure: `failure`, then the file, so that the user
// can open it with a program of their own choice.
QString DocumentFailureText(const QString& failure, const QString& path);
