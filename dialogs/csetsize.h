// CSetSize: the modal size settings dialog. It edits a working copy of the size rule (pixels or
// percentages, aspect handling, the target file size of JPEG, WebP and AVIF outputs with the
// lowest quality) and stores it into the settings only when OK passes every check; Cancel leaves
// the settings as they were.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "dialogs/dialog_prompt.h"
#include "dialogs/size_rule.h"
#include "settings/app_settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

class CSetSize : public QDialog {
    Q_OBJECT

  public:
    // `settings` must outlive the dialog; it is read now and written by a successful OK.
    explicit CSetSize(pelimon::AppSettings& settings, QWidget* parent = nullptr);
    ~CSetSize() override;

    // The description of the rule built by OK (also stored as SizeString); empty while the
    // dialog has not been accepted and when OK kept a 640x480 or 480x360 preset.
    const QString& description() const { return description_; }

    // Replaces the message boxes (tests).
    void setPrompt(std::unique_ptr<pelimon::DialogPrompt> prompt);

  public slots:
    void accept() override;

  private:
    struct Controls {
        QRadioButton* pixel_radio = nullptr;  // 1010
        QRadioButton* ratio_radio = nullptr;  // 1011
        QLineEdit* pixel_width = nullptr;     // 1020
        QLineEdit* pixel_height = nullptr;    // 1021
        QLineEdit* ratio_width = nullptr;     // 1022
        QLineEdit* ratio_height = nullptr;    // 1023
        QCheckBox* pix_even = nullptr;        // 1009
        QPushButton* halve = nullptr;         // 1000
        QPushButton* doubled = nullptr;       // 1001
        QCheckBox* set_size = nullptr;        // 1008
        QLineEdit* data_size = nullptr;       // 1004
        QSlider* quality_slider = nullptr;    // 1002
        QLineEdit* quality_edit = nullptr;    // 1024
        QCheckBox* aspect = nullptr;          // 1007
        QRadioButton* rect_width = nullptr;   // 1016
        QRadioButton* rect_height = nullptr;  // 1017
        QRadioButton* rect_fit = nullptr;     // 1018
    };

    // csetsize.cpp: controls and layout, initial state.
    void BuildLayout();
    void Connect();
    void Initialise();

    // csetsize_handlers.cpp
    void FillSizeEdits();
    void ApplyEditEnabling();
    void ShowAspectBlock();
    void EnableFileSizeControls();
    void OnPixelRadio();
    void OnRatioRadio();
    void OnAspectClicked(bool checked);
    void OnRectClicked(int32_t rect);
    void OnSetSizeClicked(bool checked);
    void OnDataSizeChanged(const QString& text);
    void OnQualityEditChanged(const QString& text);
    void OnQualitySlider(int position);
    void ScaleActiveEdits(bool doubling);
    void Finish();

    pelimon::AppSettings& settings_;
    pelimon::SizeWorkingCopy copy_;
    QString description_;
    std::unique_ptr<pelimon::DialogPrompt> prompt_;
    Controls c_;
};

// The description of the rule (DescribeSize) in the window's language, e.g.
// "領域指定 ： 320 x 240 pixel"; empty for a Method that is neither pixels nor ratio.
QString SizeDescriptionText(const pelimon::SizeWorkingCopy& copy);
