#include "app/Theme1.h"

#include "app/AppearanceHost.h"
#include "app/core/ProgramFolder.h"

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
    setWindowTitle("Background Theme");
    setFixedSize(250, 200);
    themes = new QListWidget(this);
    themes->setObjectName("themes");
    themes->setGeometry(8, 8, 234, 145);
    for (const TTheme& t : Themes)
        themes->addItem(QString::fromLatin1(t.Item));
    cmdApply = new QPushButton("Apply", this);
    cmdApply->setObjectName("cmdApply");
    cmdApply->setGeometry(88, 164, 75, 25);
    connect(cmdApply, &QPushButton::clicked, this, &TfrmTheme::cmdApplyClick);
}

QString TfrmTheme::ThemeFile(int index) {
    if (index < 0 || index >= ThemeCount)
        return {};
    return QString::fromLatin1(Themes[index].File);
}

void TfrmTheme::SelectIndex(int index) {
    if (index >= 0 && index < themes->count()) {
        themes->setCurrentRow(index);
        return;
    }
    themes->setCurrentRow(-1);
    themes->clearSelection();
}

int TfrmTheme::SelectedIndex() const {
    const auto selected = themes->selectedItems();
    return selected.isEmpty() ? -1 : themes->row(selected.first());
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
