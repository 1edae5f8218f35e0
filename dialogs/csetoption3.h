// CSetOption3: page 縮小方法 of the options dialog (reduction algorithm and effects). Shows the
// settings when created; Store writes its part back.
#pragma once

#include <QWidget>

#include "settings/app_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

class CSetOption3 : public QWidget {
    Q_OBJECT

  public:
    CSetOption3(const pelimon::AppSettings& settings, QWidget* parent = nullptr);

    // Reduction (unchanged when no radio is checked), Effect, Contrast and Gain.
    void Store(pelimon::AppSettings& settings) const;

  private:
    void BuildLayout();
    void Show(const pelimon::AppSettings& settings);
    void EnableGain(bool on);

    QRadioButton* average1_ = nullptr;    // 1010
    QRadioButton* average2_ = nullptr;    // 1011
    QRadioButton* sampling_ = nullptr;    // 1012
    QCheckBox* sharpen_ = nullptr;        // 1007
    QLabel* gain_label_ = nullptr;        // 1038
    QSlider* gain_ = nullptr;             // 1037
    QLineEdit* gain_text_ = nullptr;      // 1005
    QCheckBox* grayscale_ = nullptr;      // 1008
    QCheckBox* sepia_ = nullptr;          // 1009
    QSlider* contrast_ = nullptr;         // 1002
    QLineEdit* contrast_text_ = nullptr;  // 1004
};
