// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TTextTargets: where the language texts go. Windows are found by their objectName and their
// controls by the controls' objectNames, so the language layer needs no window's header and a
// window that is not there (yet) is simply skipped.
//
// - AddWindow registers a window. A window whose parent chain leads to a registered window (a
//   dialog created with the main window as parent) is found through it without registering.
// - Bind registers a text that is no control's caption: a program-wide text, or a caption the
//   window keeps and shows by its own state (the challenge menu item, the New Game switch
//   button). A bound name is used before any control of that name.
//
// Controls of a window are its descendants up to the next window: menus and their items are
// included, dialogs parented to the window are windows of their own.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class TTextTargets {
public:
    using TSetter = std::function<void(const QString& text)>;

    // A later window of the same name takes the place of an earlier one.
    void AddWindow(QWidget* window);
    // `owner` ends the binding when it is destroyed (nullptr: never). A later binding of the same
    // window and name takes the place of an earlier one.
    void Bind(QObject* owner, const QString& window, const QString& name, TSetter setter);

    // True when a live binding answers for this window and name (always for a program-wide
    // text).
    bool Bound(const QString& window, const QString& name) const;
    QWidget* FindWindow(const QString& window) const;
    // The registered windows that are still there, in the order they were registered.
    std::vector<QWidget*> Windows() const;
    // The window itself for an empty name.
    QObject* FindControl(const QString& window, const QString& name) const;

    // Sets the text of one target: a program-wide text (window TextIds::ProgramTexts), the
    // bound setter, else the control's caption (the window's title for an empty name), or with
    // item >= 0 that item of a combo box or radio group. False when the target is not there or
    // takes no text; nothing is changed then.
    bool SetText(const QString& window, const QString& name, int item, const QString& text);
    // A program-wide text as the last Apply set it; empty when none has been set.
    QString ProgramText(const QString& name) const { return ProgramTexts_.value(name); }
    // The text a target shows now (what SetText would have set), empty when it is not there.
    QString Text(const QString& window, const QString& name, int item) const;

private:
    struct TBinding {
        QPointer<QObject> Owner;
        bool Owned = false;
        QString Window;
        QString Name;
        TSetter Setter;
    };
    void Prune();

    std::vector<QPointer<QWidget>> Windows_;
    std::vector<TBinding> Bindings_;
    QHash<QString, QString> ProgramTexts_;
};

// The program's one set of targets; windows bind into it as they are built.
TTextTargets& LanguageTargets();

// Binds each name to a text member of `texts`, which an Apply then sets.
template <class T>
void BindMembers(TTextTargets& targets, QObject* owner, const QString& window, T* texts,
                 std::initializer_list<std::pair<const char*, QString T::*>> members) {
    for (const auto& entry : members) {
        targets.Bind(
            owner, window, QString::fromUtf8(entry.first),
            [texts, member = entry.second](const QString& text) { texts->*member = text; });
    }
}

// The item-th radio button of a radio group (a group box holding radio buttons), or nullptr.
class QAbstractButton;
QAbstractButton* RadioItem(QObject* group, int item);
