// CSetOption: page 全般 of the options dialog (drag and drop, sizes larger than the source,
// Exif, output folder). Shows the settings when created; Store writes its part back.
#pragma once

#include <QWidget>
#include <array>

#include "dialogs/setting_controls.h"
#include "settings/app_settings.h"

class QCheckBox;
class QRadioButton;

class CSetOption : public QWidget {
    Q_OBJECT

  public:
    CSetOption(const pelimon::AppSettings& settings, QWidget* parent = nullptr);

    // DragDrop, Equal, BigSize, Exif, ExifDate, AutoRotate, ToSRGB, NoLocation and Resize from the
    // controls. A radio group without a checked radio leaves its setting as it is.
    void Store(pelimon::AppSettings& settings) const;

  private:
    void BuildLayout();
    void Show(const pelimon::AppSettings& settings);
    void SetExifEnabled(bool enabled);
    // 位置情報を削除する is enabled exactly while the Exif box is enabled and checked.
    void UpdateNoLocation();
    // The check boxes of switch settings, with their settings.
    std::array<SwitchBox, 8> Switches() const;

    QCheckBox* drag_drop_ = nullptr;         // 1007
    QCheckBox* equal_ = nullptr;             // 1013
    QRadioButton* enlarge_ = nullptr;        // 1010
    QRadioButton* leave_ = nullptr;          // 1011
    QRadioButton* exif_only_ = nullptr;      // 1012
    QCheckBox* exif_ = nullptr;              // 1008
    QCheckBox* exif_date_ = nullptr;         // 1009
    QCheckBox* auto_rotate_ = nullptr;       // no template id: "autoRotate"
    QCheckBox* to_srgb_ = nullptr;           // "toSrgb" (ToSRGB; no number of its own)
    QCheckBox* flat_ = nullptr;              // 1057 (Flat)
    QCheckBox* update_ = nullptr;            // 1056 (Update)
    QCheckBox* no_location_ = nullptr;       // 1014, last of the Exif group
    QRadioButton* user_folder_ = nullptr;    // 1016
    QRadioButton* resize_folder_ = nullptr;  // 1017
};
