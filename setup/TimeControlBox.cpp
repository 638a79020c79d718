// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/TimeControlBox.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

TTimeControlBox::TTimeControlBox(QWidget* parent) : QWidget(parent) {
    setObjectName("timeControlBox");
    lblTimeControl = new QLabel("Time control:", this);
    lblTimeControl->setGeometry(0, 4, 100, 18);
    timeControl = new QComboBox(this);
    timeControl->setGeometry(104, 0, 90, 24);
    timeControl->addItem("None");
    for (const TTimeControl& preset : TimeControlPresets())
        timeControl->addItem(QString::fromStdString(preset.Name()));
    timeControl->addItem("Custom");
    clockMinutes = new QSpinBox(this);
    clockMinutes->setGeometry(204, 0, 56, 24);
    clockMinutes->setRange(1, 180);
    clockMinutes->setValue(10);
    lblClockMinutes = new QLabel("min +", this);
    lblClockMinutes->setGeometry(264, 4, 44, 18);
    clockIncrement = new QSpinBox(this);
    clockIncrement->setGeometry(310, 0, 50, 24);
    clockIncrement->setRange(0, 60);
    lblClockIncrement = new QLabel("s per move", this);
    lblClockIncrement->setGeometry(364, 4, 108, 18);
    const std::pair<QObject*, const char*> names[] = {
        {lblTimeControl, "lblTimeControl"}, {timeControl, "timeControl"},
        {clockMinutes, "clockMinutes"},     {lblClockMinutes, "lblClockMinutes"},
        {clockIncrement, "clockIncrement"}, {lblClockIncrement, "lblClockIncrement"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);
    connect(timeControl, &QComboBox::currentIndexChanged, this, &TTimeControlBox::ShowCustom);
    ShowCustom();
}

void TTimeControlBox::ShowCustom() {
    const bool custom = timeControl->currentIndex() == timeControl->count() - 1;
    for (QWidget* w : std::initializer_list<QWidget*>{clockMinutes, lblClockMinutes, clockIncrement,
                                                      lblClockIncrement})
        w->setVisible(custom);
}

TTimeControl TTimeControlBox::Choice() const {
    const int index = timeControl->currentIndex();
    const auto& presets = TimeControlPresets();
    if (index >= 1 && index <= static_cast<int>(presets.size()))
        return presets[static_cast<std::size_t>(index - 1)];
    if (index == timeControl->count() - 1)
        return {clockMinutes->value() * 60, clockIncrement->value()};
    return {};
}

void TTimeControlBox::SetChoice(const TTimeControl& control) {
    const auto& presets = TimeControlPresets();
    if (!control.On()) {
        timeControl->setCurrentIndex(0);
        return;
    }
    for (std::size_t i = 0; i < presets.size(); ++i)
        if (presets[i] == control) {
            timeControl->setCurrentIndex(static_cast<int>(i) + 1);
            return;
        }
    clockMinutes->setValue(control.BaseSeconds / 60);
    clockIncrement->setValue(control.IncrementSeconds);
    timeControl->setCurrentIndex(timeControl->count() - 1);
}
