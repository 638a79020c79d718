// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutBox.h"

#include "about/AboutCredits.h"
#include "about/Credits.h"
#include "about/ProgramIcon.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(369, 334);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setGeometry(8, 8, 32, 32);
    ProgramIcon->setPixmap(ProgramIconPixmap());

    cred = new TScrollingCredits(this);
    cred->setGeometry(56, 8, 297, 273);
    cred->SetBackgroundColor(Qt::black);
    cred->SetBorderColor(Qt::white);
    cred->SetCreditsFont(TCreditsFont::Default());
    cred->SetInterval(50);
    cred->SetAnimate(false);
    cred->SetCredits(AboutCreditsText());

    OKButton = new QPushButton("OK", this);
    OKButton->setGeometry(167, 295, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

int TAboutBox::Execute() {
    cred->SetAnimate(true);
    return exec();
}

void TAboutBox::OKButtonClick() {
    cred->SetAnimate(false);
    accept();
}

void TAboutBox::done(int result) {
    if (cred->Animate()) {
        cred->SetAnimate(false);
    }
    QDialog::done(result);
}

void TAboutBox::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (const QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
    }
    QDialog::setVisible(visible);
}
