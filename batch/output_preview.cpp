#include "batch/output_preview.h"

#include <system_error>
#include <utility>

#include "batch/batch_texts.h"
#include "batch/prepare_jobs.h"
#include "batch/target_size.h"

namespace pelimon {

namespace {

// Preparing one job asks nothing and reports nothing.
class Unattended final : public Interaction {
  public:
    void ShowError(const Notice&) override {}
    bool AskYesNo(std::string_view, std::string_view) override { return false; }
    void ReportProgress(int, int) override {}
    bool CancelRequested() override { return false; }
    void ReportSummary(const std::vector<Error>&, const std::vector<std::string>&) override {}
    void OfferToOpenFolder(const std::string&, bool&) override {}
};

}  // namespace

Result<ImageJob> PrepareSingleJob(const AppSettings& settings, const FileRow& row) {
    AppSettings run = settings;  // preparation numbers the job: ImageNum changes
    FileList list;
    list.rows().push_back(row);
    list.rows().back().checked = true;
    Unattended ui;
    PreparedJobs prepared = PrepareJobs({run, list, std::string(), ui, 1, 0});
    if (prepared.jobs.empty()) {
        const std::string path = (row.folder.empty() ? settings.ImagePath : row.folder) + row.name;
        return Error{batch_texts::FileGone(row.file_name()), path};
    }
    ComputeTargetSizes(run, prepared.jobs);
    return std::move(prepared.jobs.front());
}

void OutputPreviewRenderer::Clear() {
    key_.reset();
    reduced_ = RenderBuffers{};
    work_ = RenderBuffers{};
}

Result<PreviewedOutput> OutputPreviewRenderer::Render(const AppSettings& settings, const FileRow& row,
                                                      const std::function<bool()>& abandoned) {
    Result<ImageJob> prepared = PrepareSingleJob(settings, row);
    if (!prepared.ok()) {
        return prepared.error();
    }
    const ImageJob& job = prepared.value();
    const OutputImagePlan plan = PlanOutputImage(settings, job);
    std::error_code error;
    ReducedKey key{job.SourcePath,
                   std::filesystem::file_size(job.SourcePath, error),
                   std::filesystem::last_write_time(job.SourcePath, error),
                   job.Orientation,
                   job.Rotation,
                   plan.width,
                   plan.height,
                   settings.Reduction,
                   settings.ToSRGB};
    PreviewedOutput output;
    if (!key_ || !(*key_ == key) || job.PrepareError) {
        key_.reset();
        Result<OutputImagePlan> reduced = ReduceJobSource({settings, job}, reduced_);
        if (!reduced.ok()) {
            return reduced.error();
        }
        if (reduced.value().skipped) {
            output.skipped = true;
            return output;
        }
        key_ = std::move(key);
        reduced_.decoded = Image();  // only the reduced image is kept
    }
    if (abandoned && abandoned()) {
        return Error{batch_texts::kAbandoned.str(), job.SourcePath};
    }
    work_.file = reduced_.file;
    work_.reduced = reduced_.reduced;
    Result<RenderedOutput> finished = FinishJob({settings, job}, work_, abandoned);
    if (!finished.ok()) {
        return finished.error();
    }
    output.bytes = std::move(finished).value().bytes;
    output.quality = finished.value().quality;
    output.width = work_.reduced.front().width();
    output.height = work_.reduced.front().height();
    return output;
}

std::vector<size_t> SampleCheckedRows(const FileList& list, size_t most) {
    std::vector<size_t> checked;
    for (size_t i = 0; i < list.rows().size(); ++i) {
        if (list.rows()[i].checked) {
            checked.push_back(i);
        }
    }
    if (checked.size() <= most || most == 0) {
        return most == 0 ? std::vector<size_t>{} : checked;
    }
    std::vector<size_t> sample;
    sample.reserve(most);
    for (size_t k = 0; k < most; ++k) {
        // k-th of `most` points from the first checked row to the last, both included
        sample.push_back(checked[most == 1 ? 0 : k * (checked.size() - 1) / (most - 1)]);
    }
    return sample;
}

std::optional<OutputSizeEstimate> EstimateOutputSize(const AppSettings& settings, std::span<const FileRow> sample,
                                                     int checked_files, const std::function<bool()>& cancelled) {
    OutputSizeEstimate estimate;
    estimate.files = checked_files;
    int64_t sampled_bytes = 0;
    RenderBuffers buffers;
    for (const FileRow& row : sample) {
        if (cancelled()) {
            return std::nullopt;
        }
        Result<ImageJob> job = PrepareSingleJob(settings, row);
        if (!job.ok()) {
            continue;
        }
        const RenderTarget target[] = {{settings, job.value()}};
        const Result<RenderedOutput> rendered = std::move(RenderJobs(target, buffers).front());
        if (!rendered.ok()) {
            continue;
        }
        sampled_bytes += static_cast<int64_t>(rendered.value().bytes.size());
        ++estimate.sampled;
    }
    if (estimate.sampled == 0) {
        return std::nullopt;
    }
    estimate.bytes = sampled_bytes * checked_files / estimate.sampled;
    return estimate;
}

}  // namespace pelimon
