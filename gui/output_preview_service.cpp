#include "gui/output_preview_service.h"

#include <utility>

#include "controls/latest_only.h"
#include "controls/qimage_of.h"
#include "imagelib/imagelib.h"

namespace pelimon {

OutputPreviewService::OutputPreviewService(QObject* parent)
    : QObject(parent), renderer_(std::make_unique<OutputPreviewRenderer>()) {
    preview_pool_.setMaxThreadCount(1);
    estimate_pool_.setMaxThreadCount(1);
}

OutputPreviewService::~OutputPreviewService() {
    CancelPreview();
    CancelEstimate();
    preview_pool_.waitForDone();
    estimate_pool_.waitForDone();
}

void OutputPreviewService::CancelPreview() {
    ++preview_generation_;
    preview_pool_.clear();
    // The kept source goes with the next render's thread, never under a running one.
    preview_pool_.start([this] { renderer_->Clear(); });
}

void OutputPreviewService::CancelEstimate() {
    ++estimate_generation_;
    estimate_pool_.clear();
}

void OutputPreviewService::RequestPreview(const AppSettings& settings, const FileRow& row) {
    const uint64_t generation = ++preview_generation_;
    preview_pool_.clear();
    preview_pool_.start([this, generation, settings, row] {
        if (generation != preview_generation_) {
            return;
        }
        DeliverIfLatest(this, preview_generation_, generation,
                        [this, result = Render(settings, row, generation)] { emit PreviewRendered(result); });
    });
}

OutputPreviewResult OutputPreviewService::Render(const AppSettings& settings, const FileRow& row, uint64_t generation) {
    OutputPreviewResult result;
    Result<PreviewedOutput> rendered =
        renderer_->Render(settings, row, [this, generation] { return generation != preview_generation_; });
    if (!rendered.ok()) {
        result.error = QString::fromStdString(rendered.error().message);
        return result;
    }
    const PreviewedOutput& output = rendered.value();
    result.skipped = output.skipped;
    if (output.skipped) {
        return result;
    }
    Result<Image> decoded = DecodeImage(output.bytes);
    if (!decoded.ok()) {
        result.error = QString::fromStdString(decoded.error().message);
        return result;
    }
    result.source = QImageOf(renderer_->reduced_source());
    result.output = QImageOf(decoded.value());
    result.bytes = static_cast<qint64>(output.bytes.size());
    result.width = output.width;
    result.height = output.height;
    result.quality = output.quality;
    return result;
}

void OutputPreviewService::RequestEstimate(const AppSettings& settings, std::vector<FileRow> sample,
                                           int checked_files) {
    const uint64_t generation = ++estimate_generation_;
    estimate_pool_.clear();
    estimate_pool_.start([this, generation, settings, sample = std::move(sample), checked_files] {
        const auto stale = [this, generation] { return generation != estimate_generation_; };
        const std::optional<OutputSizeEstimate> estimate = EstimateOutputSize(settings, sample, checked_files, stale);
        if (stale()) {
            return;
        }
        const OutputEstimateResult result{estimate.has_value(), estimate.value_or(OutputSizeEstimate{})};
        DeliverIfLatest(this, estimate_generation_, generation, [this, result] { emit EstimateReady(result); });
    });
}

}  // namespace pelimon
