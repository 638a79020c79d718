// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmLoadSet: the settings profiles of a folder, sorted by name. OK marks the selected
// profile for auto-loading when asked and hands its name back for the main window to apply;
// Delete removes any profile but "Default", once the user has confirmed it.

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;
class QPushButton;

class TfrmLoadSet : public QDialog {
public:
    explicit TfrmLoadSet(QWidget* parent = nullptr);

    // Reads the files of `folder` into the list, sorted by name.
    void SetFolder(const QString& folder);
    QStringList Names() const;
    void Select(int row);
    void SetAutoLoad(bool on);
    bool AutoLoad() const;

    void cmdOKClick();
    void cmdDeleteClick();
    void cmdCancelClick();
    // The name chosen on OK, once the dialog has closed; empty when nothing was chosen.
    QString Chosen() const { return Chosen_; }
    // Asks whether profile `name` may be deleted (a Yes/No box, No by default); tests replace
    // it to answer for the user.
    std::function<bool(const QString& name)> ConfirmDelete;

    // Points the list at `folder` and shows the dialog modally; the name of the profile to
    // apply, or nothing (Cancel, or OK with no entry selected).
    std::optional<QString> Execute(const QString& folder);

private:
    QString SelectedName() const;

    QString Folder;
    QString Chosen_;
    QListWidget* listo;
    QCheckBox* cbox;
    QPushButton* cmdDelete;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
};
