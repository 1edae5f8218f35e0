#include "gui/output_preview_pane.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "controls/coutput_compare.h"
#include "controls/cpreview.h"
#include "controls/widget_text.h"
#include "gui/output_preview_service.h"
#include "gui/output_preview_texts.h"

namespace pelimon {

namespace {

using namespace output_preview_texts;
using widget_text::Named;
using widget_text::Tr;

// How long the settings must rest before a render starts.
constexpr int kRestMilliseconds = 150;

}  // namespace

OutputPreviewPane::OutputPreviewPane(CPreview* source_preview, OutputPreviewService* service, AppSettings& settings,
                                     QWidget* parent)
    : QWidget(parent), service_(service), settings_(settings) {
    show_ = Named(new QCheckBox(Tr(kShowOutput), this), 1061);
    show_->setToolTip(Tr(kShowOutputTip));
    layout_ = Named(new QComboBox(this), 1062);
    layout_->addItem(Tr(kSplit), static_cast<int>(COutputCompare::Layout::kSplit));
    layout_->addItem(Tr(kBeside), static_cast<int>(COutputCompare::Layout::kBeside));
    zoom_ = Named(new QComboBox(this), 1063);
    zoom_->addItem(Tr(kFit), static_cast<int>(COutputCompare::Zoom::kFit));
    zoom_->addItem(Tr(kActualPixels), static_cast<int>(COutputCompare::Zoom::kActualPixels));
    compare_ = Named(new COutputCompare(source_preview->sizeHint(), this), 1064);
    info_ = Named(new QLabel(this), 1065);
    info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stack_ = new QStackedWidget(this);
    stack_->addWidget(source_preview);
    stack_->addWidget(compare_);

    auto* controls = new QHBoxLayout;
    controls->addWidget(show_);
    controls->addStretch(1);
    controls->addWidget(layout_);
    controls->addWidget(zoom_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack_, 1);
    layout->addWidget(info_);
    layout->addLayout(controls);

    pause_.setSingleShot(true);
    pause_.setInterval(kRestMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &OutputPreviewPane::RenderNow);
    connect(service_, &OutputPreviewService::PreviewRendered, this, &OutputPreviewPane::OnRendered);
    connect(show_, &QCheckBox::toggled, this, &OutputPreviewPane::OnShowToggled);
    connect(layout_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.OutputLayout = layout_->currentData().toInt();
        compare_->SetLayout(static_cast<COutputCompare::Layout>(settings_.OutputLayout));
    });
    connect(zoom_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.OutputZoom = zoom_->currentData().toInt();
        compare_->SetZoom(static_cast<COutputCompare::Zoom>(settings_.OutputZoom));
    });
    ShowSettingsView();
    OnShowToggled(show_->isChecked());
}

void OutputPreviewPane::ShowSettingsView() {
    // The stored numbers are the views' own: beside 0, split 1; fit 0, actual pixels 1.
    static_assert(static_cast<int>(COutputCompare::Layout::kBeside) == 0 &&
                  static_cast<int>(COutputCompare::Layout::kSplit) == 1);
    static_assert(static_cast<int>(COutputCompare::Zoom::kFit) == 0 &&
                  static_cast<int>(COutputCompare::Zoom::kActualPixels) == 1);
    layout_->setCurrentIndex(std::max(0, layout_->findData(settings_.OutputLayout)));
    zoom_->setCurrentIndex(std::max(0, zoom_->findData(settings_.OutputZoom)));
    show_->setChecked(settings_.ShowOutput == kOn);
}

bool OutputPreviewPane::showing_output() const {
    return show_->isChecked();
}

void OutputPreviewPane::Refresh(const std::optional<FileRow>& row) {
    row_ = row;
    if (showing_output()) {
        pause_.start();
    }
}

void OutputPreviewPane::Clear() {
    row_.reset();
    pause_.stop();
    service_->CancelPreview();
    compare_->ShowNotice(QString());
    info_->clear();
}

void OutputPreviewPane::RenderNow() {
    if (!row_) {
        Clear();
        return;
    }
    info_->setText(Tr(kRendering));
    service_->RequestPreview(settings_, *row_);
}

void OutputPreviewPane::OnRendered(const OutputPreviewResult& result) {
    if (!result.error.isEmpty()) {
        compare_->ShowNotice(result.error);
        info_->clear();
        return;
    }
    if (result.skipped) {
        compare_->ShowNotice(Tr(kNoFileWritten));
        info_->setText(Tr(kNoFileWritten));
        return;
    }
    compare_->SetImages(result.source, result.output);
    const QLocale locale;
    QString text = Tr(kOutputFormat)
                       .arg(locale.toString(result.bytes), locale.toString((result.bytes + 1023) / 1024))
                       .arg(result.width)
                       .arg(result.height);
    if (result.quality > 0 && settings_.SetSize == kOn) {
        text += Tr(kChosenQualityFormat).arg(result.quality);
    }
    info_->setText(text);
}

void OutputPreviewPane::OnShowToggled(bool show) {
    settings_.ShowOutput = show ? kOn : kOff;
    stack_->setCurrentIndex(show ? 1 : 0);
    layout_->setEnabled(show);
    zoom_->setEnabled(show);
    info_->setVisible(show);
    if (show) {
        pause_.start();
    } else {
        pause_.stop();
        service_->CancelPreview();
    }
}

}  // namespace pelimon
