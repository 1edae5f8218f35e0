#include "dialogs/setting_controls.h"

#include <QCheckBox>
#include <QSlider>
#include <cassert>

namespace {

[[maybe_unused]] bool IsSwitch(pelimon::NumberField setting) {
    return pelimon::SettingRowOf(setting).kind == pelimon::SettingKind::kSwitch;
}

}  // namespace

void ShowSwitches(std::span<const SwitchBox> boxes, const pelimon::AppSettings& settings) {
    for (const SwitchBox& entry : boxes) {
        assert(IsSwitch(entry.setting));
        entry.box->setChecked(settings.*entry.setting != pelimon::kOff);
    }
}

void StoreSwitches(std::span<const SwitchBox> boxes, pelimon::AppSettings& settings) {
    for (const SwitchBox& entry : boxes) {
        assert(IsSwitch(entry.setting));
        settings.*entry.setting = entry.box->isChecked() ? pelimon::kOn : pelimon::kOff;
    }
}

void SetRangeOfSetting(QSlider* slider, pelimon::NumberField setting) {
    const pelimon::SettingRow& row = pelimon::SettingRowOf(setting);
    slider->setRange(row.min, row.max);
}
