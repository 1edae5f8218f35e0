// Handlers of CSetSize: keeping the controls in step with the working copy, and OK.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include "common/text.h"
#include "controls/widget_text.h"
#include "dialogs/csetsize.h"
#include "dialogs/csetsize_texts.h"

namespace t = pelimon::size_texts;

using pelimon::widget_text::Tr;

namespace {

int32_t EditValue(const QLineEdit* edit) {
    return pelimon::LeadingInt(edit->text().toStdString());
}

}  // namespace

void CSetSize::FillSizeEdits() {
    if (copy_.Method == pelimon::kMethodPixels) {
        c_.pixel_width->setText(QString::number(copy_.Width));
        c_.pixel_height->setText(QString::number(copy_.Height));
    } else if (copy_.Method == pelimon::kMethodRatio) {
        c_.ratio_width->setText(QString::number(copy_.WidthRatio));
        c_.ratio_height->setText(QString::number(copy_.HeightRatio));
    }
    ApplyEditEnabling();
}

void CSetSize::ApplyEditEnabling() {
    const auto enabling = pelimon::SizeEditsEnabled(copy_);
    if (!enabling) {
        return;
    }
    c_.pixel_width->setEnabled(enabling->pixel_width);
    c_.pixel_height->setEnabled(enabling->pixel_height);
    c_.ratio_width->setEnabled(enabling->ratio_width);
    c_.ratio_height->setEnabled(enabling->ratio_height);
}

void CSetSize::ShowAspectBlock() {
    c_.aspect->setChecked(copy_.Aspect == pelimon::kAspectKeep);
    const pelimon::AspectRadioState state = pelimon::AspectRadios(copy_);
    for (QRadioButton* radio : {c_.rect_width, c_.rect_height, c_.rect_fit}) {
        radio->setEnabled(state.enabled);
    }
    switch (state.checked_rect) {
        case pelimon::kRectByWidth:
            c_.rect_width->setChecked(true);
            break;
        case pelimon::kRectByHeight:
            c_.rect_height->setChecked(true);
            break;
        case pelimon::kRectFitInto:
            c_.rect_fit->setChecked(true);
            break;
        default:
            break;
    }
}

void CSetSize::EnableFileSizeControls() {
    const bool on = c_.set_size->isChecked();
    c_.data_size->setEnabled(on);
    c_.quality_slider->setEnabled(on);
    c_.quality_edit->setEnabled(on);
}

void CSetSize::OnPixelRadio() {
    copy_.Method = pelimon::kMethodPixels;
    FillSizeEdits();
    ShowAspectBlock();
}

void CSetSize::OnRatioRadio() {
    pelimon::LeavePreset(copy_);
    copy_.Method = pelimon::kMethodRatio;
    FillSizeEdits();
    ShowAspectBlock();
}

void CSetSize::OnAspectClicked(bool checked) {
    if (checked) {
        copy_.Aspect = pelimon::kAspectKeep;
    } else {
        pelimon::ClearAspect(copy_);
    }
    ShowAspectBlock();
    ApplyEditEnabling();
}

void CSetSize::OnRectClicked(int32_t rect) {
    // Fitting into the rectangle is the presets' own rule, so only the other two leave them.
    if (rect != pelimon::kRectFitInto) {
        pelimon::LeavePreset(copy_);
    }
    copy_.Rect = rect;
    ApplyEditEnabling();
}

void CSetSize::OnSetSizeClicked(bool checked) {
    copy_.SetSize = checked ? pelimon::kOn : pelimon::kOff;
    EnableFileSizeControls();
}

void CSetSize::OnDataSizeChanged(const QString& text) {
    copy_.DataSize = pelimon::LeadingInt(text.toStdString());
}

void CSetSize::OnQualityEditChanged(const QString& text) {
    const pelimon::QualityEditResult result = pelimon::QualityFromEdit(text.toStdString());
    if (!result.in_range) {
        prompt_->ShowError(this, Tr(t::kErrorCaption), Tr(t::kQualityRange));
        return;
    }
    // The text stays as typed ("0" shows while the quality is 1).
    const QSignalBlocker block(c_.quality_slider);
    c_.quality_slider->setValue(result.quality);
    copy_.LimitQuality = result.quality;
}

void CSetSize::OnQualitySlider(int position) {
    copy_.LimitQuality = position == 0 ? 1 : position;
    c_.quality_edit->setText(QString::number(copy_.LimitQuality));
}

void CSetSize::ScaleActiveEdits(bool doubling) {
    pelimon::LeavePreset(copy_);
    QLineEdit* width = nullptr;
    QLineEdit* height = nullptr;
    if (copy_.Method == pelimon::kMethodPixels) {
        width = c_.pixel_width;
        height = c_.pixel_height;
    } else if (copy_.Method == pelimon::kMethodRatio) {
        width = c_.ratio_width;
        height = c_.ratio_height;
    } else {
        return;
    }
    const bool pixels = copy_.Method == pelimon::kMethodPixels;
    for (QLineEdit* edit : {width, height}) {
        const int32_t value = EditValue(edit);
        edit->setText(QString::number(doubling ? pelimon::DoubleSize(value, pixels) : pelimon::HalveSize(value)));
    }
}

// OK: every check runs before anything is stored, so a refused OK followed by Cancel leaves the
// settings untouched.
void CSetSize::accept() {
    switch (pelimon::CheckDataSize(copy_)) {
        case pelimon::DataSizeCheck::kInvalid:
            prompt_->ShowError(this, Tr(t::kErrorCaption), Tr(t::kDataSizeInvalid));
            return;
        case pelimon::DataSizeCheck::kAskLarge:
            if (!prompt_->AskYesNo(this, Tr(t::kConfirmCaption), Tr(t::kDataSizeLarge))) {
                return;
            }
            break;
        case pelimon::DataSizeCheck::kOk:
            break;
    }

    pelimon::SizeWorkingCopy result = copy_;
    if (pelimon::IsPresetBase(result.Base)) {
        if (pelimon::KeepsPreset(result.Base, c_.pixel_width->text().toStdString(),
                                 c_.pixel_height->text().toStdString())) {
            description_.clear();
            Finish();
            return;
        }
        result.Base = pelimon::kBaseCustom;
    } else if (result.Base != pelimon::kBaseCustom) {
        description_.clear();
        Finish();
        return;
    }

    const bool pixels = result.Method == pelimon::kMethodPixels;
    const int32_t w = EditValue(pixels ? c_.pixel_width : c_.ratio_width);
    const int32_t h = EditValue(pixels ? c_.pixel_height : c_.ratio_height);
    if (!pelimon::SizeValuesValid(result, w, h)) {
        prompt_->ShowError(this, Tr(t::kSizeErrorCaption), Tr(t::kSizeError));
        return;
    }
    if (pixels) {
        result.Width = w;
        result.Height = h;
    } else {
        result.WidthRatio = w;
        result.HeightRatio = h;
    }
    copy_ = result;
    description_ = SizeDescriptionText(copy_);
    Finish();
}

void CSetSize::Finish() {
    pelimon::StoreSizeWorkingCopy(copy_, settings_);
    if (!description_.isEmpty()) {
        settings_.SizeString = description_.toStdString();
    }
    if (settings_.EvenMenu != pelimon::kOff) {
        settings_.PixEven = c_.pix_even->isChecked() ? pelimon::kOn : pelimon::kOff;
    }
    QDialog::accept();
}

QString SizeDescriptionText(const pelimon::SizeWorkingCopy& copy) {
    const auto description = pelimon::DescribeSize(copy);
    if (!description) {
        return {};
    }
    const QString format = Tr(description->format).arg(description->first);
    return description->count == 2 ? format.arg(description->second) : format;
}
