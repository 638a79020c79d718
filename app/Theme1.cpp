// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Theme1.h"

#include "app/AppearanceHost.h"
#include "common/ProgramFolder.h"
#include "uikit/ListRows.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

struct TTheme {
    const char* Item;
    const char* File;
};

// The file names are matched exactly: Crystal's picture has a capital C.
constexpr TTheme Themes[TfrmTheme::ThemeCount] = {
    {"Meridian Edition Background", "meridian.jpg"},
    {"Standard", "standard.jpg"},
    {"Stone", "stone.jpg"},
    {"Metal", "metal.jpg"},
    {"Charcoal", "charcoal.jpg"},
    {"Crystal", "Crystal.jpg"},
};

} // namespace

TfrmTheme::TfrmTheme(IAppearanceHost* host, QWidget* parent) : QDialog(parent), Host(host) {
    setObjectName("frmTheme");
    setWindowTitle("Background Theme");
    setFixedSize(250, 200);
    auto* label = new QLabel("Themes:", this);
    label->setObjectName("Label1");
    label->setGeometry(8, 6, 234, 17);
    themes = new QListWidget(this);
    themes->setObjectName("themes");
    themes->setGeometry(8, 26, 234, 127);
    for (const TTheme& t : Themes)
        themes->addItem(QString::fromLatin1(t.Item));
    cmdApply = new QPushButton("Apply", this);
    cmdApply->setObjectName("cmdApply");
    cmdApply->setGeometry(85, 164, 80, 25);
    connect(cmdApply, &QPushButton::clicked, this, &TfrmTheme::cmdApplyClick);
}

QString TfrmTheme::ThemeFile(int index) {
    if (index < 0 || index >= ThemeCount)
        return {};
    return QString::fromLatin1(Themes[index].File);
}

void TfrmTheme::SelectIndex(int index) {
    SelectListRow(themes, index);
}

int TfrmTheme::SelectedIndex() const {
    return SelectedListRow(themes);
}

void TfrmTheme::cmdApplyClick() {
    const int index = SelectedIndex();
    // A picture that cannot be read is reported by the host and leaves the index as it was,
    // so the stored index always names the picture on show.
    if (index >= 0 && !Host->SetBackgroundPicture(ProgramPath("bg/" + ThemeFile(index))))
        return;
    Host->SetThemeIndex(index);
}

void TfrmTheme::Execute() {
    exec();
}
