#include "batch/output_pixel_size.h"

#include "batch/render_job.h"

namespace pelimon {

std::optional<TargetSize> OutputPixelSize(const AppSettings& settings, int32_t width, int32_t height) {
    ImageJob job;
    job.SrcWidth = width;
    job.SrcHeight = height;
    ComputeTargetSizes(settings, std::span(&job, 1));
    const OutputImagePlan plan = PlanOutputImage(settings, job);
    if (plan.skipped || plan.width < 1 || plan.height < 1) {
        return std::nullopt;
    }
    return TargetSize{plan.width, plan.height};
}

}  // namespace pelimon
