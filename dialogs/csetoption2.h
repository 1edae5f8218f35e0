// CSetOption2: page ファイル名 of the options dialog (the output naming rule). The start number,
// the number of digits and the clearing of the running number are written into the settings at
// once; everything else is read back by the options dialog's OK.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "dialogs/setting_controls.h"
#include "settings/app_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CSetOption2 : public QWidget {
    Q_OBJECT

  public:
    // `settings` must outlive the page: StartNum, Digit and ImageNum are written into it directly.
    CSetOption2(pelimon::AppSettings& settings, QWidget* parent = nullptr);

    // NameRule of the checked radio; 0 when none is checked.
    int32_t CheckedNameRule() const;
    QString AddText() const;   // edit 1004
    QString BaseName() const;  // edit 1006
    // 0-Padding and SaveNum from their check boxes.
    void StoreFlags(pelimon::AppSettings& settings) const;

    // Enables the controls that belong to the checked naming rule.
    void ApplyEnabling();

  private:
    // The check boxes of switch settings, with their settings.
    std::array<SwitchBox, 2> Switches() const;
    void BuildLayout();
    void Show();
    void ShowStartNumber();

    pelimon::AppSettings& settings_;
    QRadioButton* append_ = nullptr;     // 1016
    QRadioButton* prepend_ = nullptr;    // 1018
    QLineEdit* add_text_ = nullptr;      // 1004
    QRadioButton* serial_ = nullptr;     // 1017
    QLineEdit* base_name_ = nullptr;     // 1006
    QLineEdit* start_num_ = nullptr;     // 1005
    QCheckBox* zero_padding_ = nullptr;  // 1009
    QComboBox* digit_ = nullptr;         // 1028
    QCheckBox* save_num_ = nullptr;      // 1010
    QPushButton* clear_ = nullptr;       // 1000
};
