#include "batch/save_job.h"

#include "common/atomic_file.h"
#include "exif/source_metadata.h"

namespace pelimon {

Status SaveJob(const AppSettings& settings, const ImageJob& job, std::span<const uint8_t> bytes) {
    if (Status written = WriteFileAtomically(job.DestPath, bytes); !written.ok()) {
        return Error{job.DestName + " を書き込めませんでした（" + written.error().message + "）。", job.DestPath};
    }
    if (settings.ExifDate == kOn && job.ShotDate != "0") {
        if (Status dated = ApplyShotDate(job.DestPath, job.ShotDate); !dated.ok()) {
            return Error{job.DestName + " の更新日を撮影日にできませんでした（" + dated.error().message + "）。",
                         job.DestPath};
        }
    }
    return {};
}

}  // namespace pelimon
