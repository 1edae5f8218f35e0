#include "dialogs/csetoption3.h"
#include "controls/widget_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "dialogs/coptmain_texts.h"
#include "dialogs/option_text.h"
#include "dialogs/setting_controls.h"

namespace t = pelimon::option_texts;

using pelimon::widget_text::Named;
using pelimon::widget_text::Tr;

namespace {

QLineEdit* ValueText(QWidget* parent, const char* id) {
    auto* edit = Named(new QLineEdit(parent), id);
    edit->setReadOnly(true);
    edit->setMaximumWidth(48);
    return edit;
}

}  // namespace

CSetOption3::CSetOption3(const pelimon::AppSettings& settings, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CSetOption3"));
    BuildLayout();
    Show(settings);
    connect(sharpen_, &QCheckBox::clicked, this, &CSetOption3::EnableGain);
    connect(gain_, &QSlider::valueChanged, this,
            [this](int gain) { gain_text_->setText(QString::fromStdString(pelimon::GainText(gain))); });
    connect(contrast_, &QSlider::valueChanged, this,
            [this](int contrast) { contrast_text_->setText(QString::fromStdString(pelimon::ContrastText(contrast))); });
}

void CSetOption3::BuildLayout() {
    auto* algorithm = new QGroupBox(Tr(t::kAlgorithmGroup), this);
    auto* algorithm_box = new QVBoxLayout(algorithm);
    average1_ = Named(new QRadioButton(Tr(t::kAreaAverage1), algorithm), "id1010");
    average2_ = Named(new QRadioButton(Tr(t::kAreaAverage2), algorithm), "id1011");
    sampling_ = Named(new QRadioButton(Tr(t::kSampling), algorithm), "id1012");
    for (QRadioButton* radio : {average1_, average2_, sampling_}) {
        algorithm_box->addWidget(radio);
    }

    auto* effects = new QGroupBox(Tr(t::kEffectGroup), this);
    auto* grid = new QGridLayout(effects);
    sharpen_ = Named(new QCheckBox(Tr(t::kSharpen), effects), "id1007");
    gain_label_ = Named(new QLabel(Tr(t::kGain), effects), "id1038");
    gain_ = Named(new QSlider(Qt::Horizontal, effects), "id1037");
    gain_text_ = ValueText(effects, "id1005");
    grayscale_ = Named(new QCheckBox(Tr(t::kGrayscale), effects), "id1008");
    sepia_ = Named(new QCheckBox(Tr(t::kSepia), effects), "id1009");
    contrast_ = Named(new QSlider(Qt::Horizontal, effects), "id1002");
    contrast_text_ = ValueText(effects, "id1004");
    grid->addWidget(sharpen_, 0, 0, 1, 3);
    grid->addWidget(gain_label_, 1, 0);
    grid->addWidget(gain_, 1, 1);
    grid->addWidget(gain_text_, 1, 2);
    grid->addWidget(grayscale_, 2, 0, 1, 3);
    grid->addWidget(sepia_, 3, 0, 1, 3);
    grid->addWidget(new QLabel(Tr(t::kContrast), effects), 4, 0, 1, 3);
    grid->addWidget(contrast_, 5, 1);
    grid->addWidget(contrast_text_, 5, 2);

    auto* page = new QVBoxLayout(this);
    page->addWidget(algorithm);
    page->addWidget(effects);
    page->addStretch();
}

void CSetOption3::Show(const pelimon::AppSettings& settings) {
    switch (settings.Reduction) {
        case pelimon::kReductionAreaAverage:
            average1_->setChecked(true);
            break;
        case pelimon::kReductionTriangle:
            average2_->setChecked(true);
            break;
        case pelimon::kReductionSampling:
            sampling_->setChecked(true);
            break;
        default:
            break;
    }
    sharpen_->setChecked((settings.Effect & pelimon::kEffectSharpen) != 0);
    EnableGain(sharpen_->isChecked());
    grayscale_->setChecked((settings.Effect & pelimon::kEffectGrayscale) != 0);
    sepia_->setChecked((settings.Effect & pelimon::kEffectSepia) != 0);

    SetRangeOfSetting(gain_, &pelimon::AppSettings::Gain);
    gain_->setTickPosition(QSlider::TicksBelow);
    gain_->setTickInterval(4);
    gain_->setPageStep(1);
    gain_->setSingleStep(1);
    gain_->setValue(settings.Gain);
    gain_text_->setText(QString::fromStdString(pelimon::GainText(settings.Gain)));

    SetRangeOfSetting(contrast_, &pelimon::AppSettings::Contrast);
    contrast_->setTickPosition(QSlider::TicksBelow);
    contrast_->setTickInterval(16);
    contrast_->setPageStep(32);
    contrast_->setSingleStep(1);
    contrast_->setValue(settings.Contrast);
    contrast_text_->setText(QString::fromStdString(pelimon::ContrastText(settings.Contrast)));
}

void CSetOption3::EnableGain(bool on) {
    gain_label_->setEnabled(on);
    gain_->setEnabled(on);
    gain_text_->setEnabled(on);
}

void CSetOption3::Store(pelimon::AppSettings& settings) const {
    if (average1_->isChecked()) {
        settings.Reduction = pelimon::kReductionAreaAverage;
    } else if (average2_->isChecked()) {
        settings.Reduction = pelimon::kReductionTriangle;
    } else if (sampling_->isChecked()) {
        settings.Reduction = pelimon::kReductionSampling;
    }
    settings.Effect =
        pelimon::EffectFromChecks(settings.Effect, sharpen_->isChecked(), grayscale_->isChecked(), sepia_->isChecked());
    settings.Contrast = contrast_->value();
    settings.Gain = gain_->value();
}
