// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The selected row of a list box, as the dialogs with an Apply or OK read and set it.

#include <QListWidget>

// Selects row `index`; any index outside the list selects nothing.
inline void SelectListRow(QListWidget* list, int index) {
    if (index >= 0 && index < list->count()) {
        list->setCurrentRow(index);
        return;
    }
    list->setCurrentRow(-1);
    list->clearSelection();
}

// The selected row, -1 when none is selected.
inline int SelectedListRow(const QListWidget* list) {
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}
