// Controls that show and store a setting through its row of the settings table: check boxes of
// switch settings, and sliders of number settings.
#pragma once

#include <span>

#include "settings/settings_table.h"

class QCheckBox;
class QSlider;

// A check box and the switch setting it shows: checked unless the setting is kOff (files may hold
// other numbers), and storing kOn or kOff.
struct SwitchBox {
    QCheckBox* box;
    pelimon::NumberField setting;
};
void ShowSwitches(std::span<const SwitchBox> boxes, const pelimon::AppSettings& settings);
void StoreSwitches(std::span<const SwitchBox> boxes, pelimon::AppSettings& settings);

// The slider offers the range of its number setting.
void SetRangeOfSetting(QSlider* slider, pelimon::NumberField setting);
