// CPresetBar: the main window's row of presets: a drop-down (id1051) that puts the picked preset's
// settings on the window's settings, a button that saves the current settings as a preset
// (id1054, asking for a name and before replacing one), and one that deletes the picked preset
// (id1055, after asking). Presets live in the settings file (settings/presets.h), which the bar
// rewrites at once, keeping the rest of it.
#pragma once

#include <QWidget>

#include "settings/app_settings.h"
#include "settings/presets.h"

class QComboBox;
class QPushButton;

namespace pelimon {

class CPresetBar : public QWidget {
    Q_OBJECT
  public:
    // `settings` must outlive the bar; its ProfilePath is the file the presets are kept in.
    explicit CPresetBar(AppSettings& settings, QWidget* parent = nullptr);

    // Reads the presets of the settings file again; damaged ones are left out and named in the
    // drop-down's tool tip.
    void Reload();

  signals:
    // A preset's settings were put on the settings: the window shows them.
    void PresetApplied();

  private:
    void OnPicked(int index);
    void OnSave();
    void OnDelete();
    void ShowPresets(const QString& current);
    const Preset* Picked() const;

    AppSettings& settings_;
    PresetList presets_;
    QComboBox* choice_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};

}  // namespace pelimon
