#include "gui/output_estimate_label.h"

#include <QLocale>
#include <algorithm>
#include <utility>
#include <vector>

#include "batch/output_preview.h"
#include "controls/widget_text.h"
#include "gui/output_preview_service.h"
#include "gui/output_preview_texts.h"

namespace pelimon {

namespace {

using namespace output_preview_texts;
using widget_text::Tr;

// Longer than the preview's: a selection is often changed several times in a row.
constexpr int kRestMilliseconds = 400;

}  // namespace

OutputEstimateLabel::OutputEstimateLabel(OutputPreviewService* service, const AppSettings& settings, QWidget* parent)
    : QLabel(parent), service_(service), settings_(settings) {
    setObjectName(QStringLiteral("id1066"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    // The column of buttons keeps its width whatever the text: it wraps into two lines at most.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(2 * fontMetrics().lineSpacing());
    pause_.setSingleShot(true);
    pause_.setInterval(kRestMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &OutputEstimateLabel::EstimateNow);
    connect(service_, &OutputPreviewService::EstimateReady, this, &OutputEstimateLabel::OnReady);
}

QString OutputEstimateLabel::SizeText(qint64 bytes) {
    // The number and its unit stay on one line.
    return ByteUnitsText(bytes).replace(QLatin1Char(' '), QChar::Nbsp);
}

QString OutputEstimateLabel::ByteUnitsText(qint64 bytes) {
    const QLocale locale;
    constexpr double kKilo = 1024.0;
    const double kilobytes = static_cast<double>(bytes) / kKilo;
    if (kilobytes < kKilo) {
        return Tr(kKilobytesFormat).arg(locale.toString(std::max(1.0, kilobytes), 'f', 0));
    }
    if (kilobytes < kKilo * kKilo) {
        return Tr(kMegabytesFormat).arg(locale.toString(kilobytes / kKilo, 'f', 1));
    }
    return Tr(kGigabytesFormat).arg(locale.toString(kilobytes / (kKilo * kKilo), 'f', 2));
}

void OutputEstimateLabel::Refresh(const FileList& list) {
    // The rows are looked at when the pause is over: a listing that adds rows in many parts costs
    // one pass over them, not one per part.
    list_ = &list;
    pause_.start();
}

void OutputEstimateLabel::EstimateNow() {
    std::vector<FileRow> sample;
    for (size_t row : SampleCheckedRows(*list_, kSampleFiles)) {
        sample.push_back(list_->rows()[row]);
    }
    const int checked = static_cast<int>(
        std::count_if(list_->rows().begin(), list_->rows().end(), [](const FileRow& row) { return row.checked; }));
    if (checked == 0) {
        service_->CancelEstimate();
        clear();
        setToolTip(QString());
        return;
    }
    setToolTip(Tr(kEstimating));
    service_->RequestEstimate(settings_, std::move(sample), checked);
}

void OutputEstimateLabel::OnReady(const OutputEstimateResult& result) {
    if (!result.known) {
        clear();
        setToolTip(QString());
        return;
    }
    const OutputSizeEstimate& estimate = result.estimate;
    const QString size = SizeText(estimate.bytes);
    if (estimate.exact()) {
        setText(Tr(kExactTotalFormat).arg(size));
        setToolTip(Tr(kExactTipFormat).arg(estimate.files));
    } else {
        setText(Tr(kEstimateFormat).arg(size));
        setToolTip(Tr(kEstimateTipFormat).arg(estimate.sampled).arg(estimate.files));
    }
}

}  // namespace pelimon
