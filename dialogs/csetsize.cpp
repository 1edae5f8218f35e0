#include "dialogs/csetsize.h"
#include "controls/widget_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "common/list_text.h"
#include "dialogs/csetsize_texts.h"
#include "imagelib/format_table.h"

namespace t = pelimon::size_texts;

using pelimon::widget_text::Named;
using pelimon::widget_text::Text;
using pelimon::widget_text::Tr;

namespace {

QLineEdit* SizeEdit(QWidget* parent, const char* id) {
    auto* edit = Named(new QLineEdit(parent), id);
    edit->setMaximumWidth(80);
    return edit;
}

}  // namespace

CSetSize::CSetSize(pelimon::AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), prompt_(pelimon::MakeMessageBoxPrompt()) {
    setWindowTitle(Tr(t::kTitle));
    BuildLayout();
    Initialise();
    Connect();
}

CSetSize::~CSetSize() = default;

void CSetSize::setPrompt(std::unique_ptr<pelimon::DialogPrompt> prompt) {
    prompt_ = std::move(prompt);
}

void CSetSize::BuildLayout() {
    auto* size_group = new QGroupBox(Tr(t::kSizeGroup), this);
    auto* size_grid = new QGridLayout(size_group);
    c_.pixel_radio = Named(new QRadioButton(Tr(t::kPixelRadio), size_group), "id1010");
    c_.pixel_width = SizeEdit(size_group, "id1020");
    c_.pixel_height = SizeEdit(size_group, "id1021");
    c_.ratio_radio = Named(new QRadioButton(Tr(t::kRatioRadio), size_group), "id1011");
    c_.ratio_width = SizeEdit(size_group, "id1022");
    c_.ratio_height = SizeEdit(size_group, "id1023");
    c_.pix_even = Named(new QCheckBox(Tr(t::kPixEven), size_group), "id1009");
    c_.halve = Named(new QPushButton(Tr(t::kHalve), size_group), "id1000");
    c_.doubled = Named(new QPushButton(Tr(t::kDouble), size_group), "id1001");
    size_grid->addWidget(c_.pixel_radio, 0, 0, 1, 6);
    size_grid->addWidget(new QLabel(Tr(t::kWidthLabel), size_group), 1, 1);
    size_grid->addWidget(c_.pixel_width, 1, 2);
    size_grid->addWidget(new QLabel(Tr(t::kHeightLabel), size_group), 1, 3);
    size_grid->addWidget(c_.pixel_height, 1, 4);
    size_grid->addWidget(c_.ratio_radio, 2, 0, 1, 6);
    size_grid->addWidget(new QLabel(Tr(t::kWidthLabel), size_group), 3, 1);
    auto* ratio_width_row = new QHBoxLayout;
    ratio_width_row->addWidget(c_.ratio_width);
    ratio_width_row->addWidget(new QLabel(Text(t::kPercent), size_group));
    size_grid->addLayout(ratio_width_row, 3, 2);
    size_grid->addWidget(new QLabel(Tr(t::kHeightLabel), size_group), 3, 3);
    auto* ratio_height_row = new QHBoxLayout;
    ratio_height_row->addWidget(c_.ratio_height);
    ratio_height_row->addWidget(new QLabel(Text(t::kPercent), size_group));
    size_grid->addLayout(ratio_height_row, 3, 4);
    size_grid->addWidget(c_.pix_even, 4, 0, 1, 6);
    auto* scale_row = new QHBoxLayout;
    scale_row->addStretch();
    scale_row->addWidget(c_.halve);
    scale_row->addWidget(c_.doubled);
    size_grid->setRowStretch(5, 1);
    size_grid->addLayout(scale_row, 6, 0, 1, 6);
    size_grid->setColumnMinimumWidth(0, 16);
    size_grid->setColumnStretch(5, 1);

    auto* file_group =
        new QGroupBox(Text(Format(t::kFileSizeGroup, pelimon::ProseListText(pelimon::QualityFormatNames()))), this);
    auto* file_box = new QVBoxLayout(file_group);
    c_.set_size = Named(new QCheckBox(Tr(t::kSetSize), file_group), "id1008");
    c_.data_size = SizeEdit(file_group, "id1004");
    auto* data_row = new QHBoxLayout;
    data_row->addWidget(new QLabel(Tr(t::kDataSizeLabel), file_group));
    data_row->addWidget(c_.data_size);
    data_row->addWidget(new QLabel(Text(t::kKilobytes), file_group));
    data_row->addStretch();
    auto* quality_group = new QGroupBox(Tr(t::kQualityGroup), file_group);
    auto* quality_box = new QGridLayout(quality_group);
    c_.quality_slider = Named(new QSlider(Qt::Horizontal, quality_group), "id1002");
    c_.quality_edit = SizeEdit(quality_group, "id1024");
    c_.quality_edit->setAlignment(Qt::AlignCenter);
    c_.quality_edit->setMaximumWidth(48);
    quality_box->addWidget(new QLabel(Tr(t::kQualityNote), quality_group), 0, 0, 1, 3);
    quality_box->addWidget(new QLabel(Tr(t::kLowQuality), quality_group), 1, 0);
    quality_box->addWidget(new QLabel(Tr(t::kHighQuality), quality_group), 1, 2, Qt::AlignRight);
    quality_box->addWidget(c_.quality_slider, 2, 0, 1, 3);
    quality_box->addWidget(c_.quality_edit, 3, 1, Qt::AlignHCenter);
    file_box->addWidget(c_.set_size);
    file_box->addLayout(data_row);
    file_box->addWidget(quality_group);

    auto* aspect_group = new QGroupBox(Tr(t::kAspectGroup), this);
    auto* aspect_box = new QVBoxLayout(aspect_group);
    c_.aspect = Named(new QCheckBox(Tr(t::kKeepAspect), aspect_group), "id1007");
    c_.rect_width = Named(new QRadioButton(Tr(t::kRectWidth), aspect_group), "id1016");
    c_.rect_height = Named(new QRadioButton(Tr(t::kRectHeight), aspect_group), "id1017");
    c_.rect_fit = Named(new QRadioButton(Tr(t::kRectFit), aspect_group), "id1018");
    aspect_box->addWidget(c_.aspect);
    for (QRadioButton* radio : {c_.rect_width, c_.rect_height, c_.rect_fit}) {
        aspect_box->addWidget(radio);
    }
    aspect_box->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = Named(buttons->addButton(Text(t::kOk), QDialogButtonBox::AcceptRole), "id1");
    Named(buttons->addButton(Tr(t::kCancel), QDialogButtonBox::RejectRole), "id2");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetSize::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSetSize::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(file_group);
    right->addWidget(aspect_group);
    auto* columns = new QHBoxLayout;
    columns->addWidget(size_group, 1);
    columns->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addWidget(buttons);
}

void CSetSize::Initialise() {
    copy_ = pelimon::LoadSizeWorkingCopy(settings_);
    if (pelimon::IsPresetBase(copy_.Base) || copy_.Method == pelimon::kMethodPixels) {
        c_.pixel_radio->setChecked(true);
    } else if (copy_.Method == pelimon::kMethodRatio) {
        c_.ratio_radio->setChecked(true);
    }
    ShowAspectBlock();
    FillSizeEdits();
    c_.set_size->setChecked(copy_.SetSize == pelimon::kOn);
    EnableFileSizeControls();
    c_.data_size->setText(QString::number(copy_.DataSize));
    c_.quality_slider->setRange(0, 100);
    c_.quality_slider->setTickPosition(QSlider::TicksBelow);
    c_.quality_slider->setTickInterval(10);
    c_.quality_slider->setPageStep(20);
    c_.quality_slider->setSingleStep(5);
    c_.quality_slider->setValue(copy_.LimitQuality);
    c_.quality_edit->setText(QString::number(copy_.LimitQuality));
    c_.pix_even->setVisible(settings_.EvenMenu != pelimon::kOff);
    c_.pix_even->setChecked(settings_.EvenMenu != pelimon::kOff && settings_.PixEven == pelimon::kOn);
}

void CSetSize::Connect() {
    connect(c_.pixel_radio, &QRadioButton::clicked, this, &CSetSize::OnPixelRadio);
    connect(c_.ratio_radio, &QRadioButton::clicked, this, &CSetSize::OnRatioRadio);
    connect(c_.aspect, &QCheckBox::clicked, this, &CSetSize::OnAspectClicked);
    connect(c_.rect_width, &QRadioButton::clicked, this, [this] { OnRectClicked(pelimon::kRectByWidth); });
    connect(c_.rect_height, &QRadioButton::clicked, this, [this] { OnRectClicked(pelimon::kRectByHeight); });
    connect(c_.rect_fit, &QRadioButton::clicked, this, [this] { OnRectClicked(pelimon::kRectFitInto); });
    connect(c_.set_size, &QCheckBox::clicked, this, &CSetSize::OnSetSizeClicked);
    connect(c_.data_size, &QLineEdit::textChanged, this, &CSetSize::OnDataSizeChanged);
    connect(c_.quality_edit, &QLineEdit::textChanged, this, &CSetSize::OnQualityEditChanged);
    connect(c_.quality_slider, &QSlider::valueChanged, this, &CSetSize::OnQualitySlider);
    connect(c_.halve, &QPushButton::clicked, this, [this] { ScaleActiveEdits(false); });
    connect(c_.doubled, &QPushButton::clicked, this, [this] { ScaleActiveEdits(true); });
}
