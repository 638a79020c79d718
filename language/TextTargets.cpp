// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/TextTargets.h"

#include "language/LanguageTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

#include <algorithm>

namespace {

// A child widget that is a window of its own (a dialog) holds no control of this window; a
// menu is a window too, but its items are the window's menu items.
bool OwnWindow(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget);
}

// Breadth first, so that the control nearest the window wins.
QObject* FindBelow(QObject* root, const QString& name) {
    std::vector<QObject*> level{root};
    while (!level.empty()) {
        std::vector<QObject*> next;
        for (QObject* parent : level) {
            for (QObject* child : parent->children()) {
                if (OwnWindow(child))
                    continue;
                if (child->objectName() == name)
                    return child;
                next.push_back(child);
            }
        }
        level = std::move(next);
    }
    return nullptr;
}

bool SetCaption(QObject* target, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(target)) {
        action->setText(text);
        return true;
    }
    if (auto* menu = qobject_cast<QMenu*>(target)) {
        menu->setTitle(text);
        return true;
    }
    auto* widget = qobject_cast<QWidget*>(target);
    if (!widget)
        return false;
    if (widget->isWindow()) {
        widget->setWindowTitle(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
        return true;
    }
    return false;
}

QString Caption(const QObject* target) {
    if (const auto* action = qobject_cast<const QAction*>(target))
        return action->text();
    if (const auto* menu = qobject_cast<const QMenu*>(target))
        return menu->title();
    const auto* widget = qobject_cast<const QWidget*>(target);
    if (!widget)
        return {};
    if (widget->isWindow())
        return widget->windowTitle();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

} // namespace

QAbstractButton* RadioItem(QObject* group, int item) {
    if (!qobject_cast<QGroupBox*>(group) || item < 0)
        return nullptr;
    // Children keep the order they were created in, which is the order of the items.
    const auto radios = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    return item < radios.size() ? radios.at(item) : nullptr;
}

void TTextTargets::Prune() {
    std::erase_if(Windows_, [](const QPointer<QWidget>& w) { return w.isNull(); });
    std::erase_if(Bindings_, [](const TBinding& b) { return b.Owned && b.Owner.isNull(); });
}

void TTextTargets::AddWindow(QWidget* window) {
    Prune();
    if (!window)
        return;
    std::erase_if(Windows_, [window](const QPointer<QWidget>& w) {
        return !w || w == window || w->objectName() == window->objectName();
    });
    Windows_.emplace_back(window);
}

void TTextTargets::Bind(QObject* owner, const QString& window, const QString& name,
                        TSetter setter) {
    Prune();
    std::erase_if(Bindings_,
                  [&](const TBinding& b) { return b.Window == window && b.Name == name; });
    Bindings_.push_back({owner, owner != nullptr, window, name, std::move(setter)});
}

bool TTextTargets::Bound(const QString& window, const QString& name) const {
    if (window == TextIds::ProgramTexts)
        return true; // kept here, see SetText
    return std::any_of(Bindings_.begin(), Bindings_.end(), [&](const TBinding& b) {
        return b.Window == window && b.Name == name && !(b.Owned && b.Owner.isNull());
    });
}

QWidget* TTextTargets::FindWindow(const QString& window) const {
    for (auto it = Windows_.rbegin(); it != Windows_.rend(); ++it) {
        if (*it && (*it)->objectName() == window)
            return *it;
    }
    // A dialog created with a registered window as its parent.
    for (auto it = Windows_.rbegin(); it != Windows_.rend(); ++it) {
        if (!*it)
            continue;
        for (QWidget* w : (*it)->findChildren<QWidget*>(window)) {
            if (w->isWindow())
                return w;
        }
    }
    return nullptr;
}

std::vector<QWidget*> TTextTargets::Windows() const {
    std::vector<QWidget*> windows;
    for (const QPointer<QWidget>& w : Windows_) {
        if (w)
            windows.push_back(w);
    }
    return windows;
}

QObject* TTextTargets::FindControl(const QString& window, const QString& name) const {
    QWidget* w = FindWindow(window);
    if (!w || name.isEmpty())
        return w;
    return FindBelow(w, name);
}

bool TTextTargets::SetText(const QString& window, const QString& name, int item,
                           const QString& text) {
    if (window == TextIds::ProgramTexts) {
        ProgramTexts_.insert(name, text);
        return true;
    }
    for (const TBinding& b : Bindings_) {
        if (b.Window == window && b.Name == name) {
            if (b.Owned && b.Owner.isNull())
                return false;
            b.Setter(text);
            return true;
        }
    }
    QObject* target = FindControl(window, name);
    if (!target)
        return false;
    if (item < 0)
        return SetCaption(target, text);
    if (auto* combo = qobject_cast<QComboBox*>(target)) {
        if (item >= combo->count())
            return false;
        combo->setItemText(item, text);
        return true;
    }
    if (QAbstractButton* radio = RadioItem(target, item)) {
        radio->setText(text);
        return true;
    }
    return false;
}

QString TTextTargets::Text(const QString& window, const QString& name, int item) const {
    if (window == TextIds::ProgramTexts)
        return ProgramText(name);
    QObject* target = FindControl(window, name);
    if (!target)
        return {};
    if (item < 0)
        return Caption(target);
    if (auto* combo = qobject_cast<QComboBox*>(target))
        return item < combo->count() ? combo->itemText(item) : QString();
    if (QAbstractButton* radio = RadioItem(target, item))
        return radio->text();
    return {};
}

TTextTargets& LanguageTargets() {
    static TTextTargets targets;
    return targets;
}
