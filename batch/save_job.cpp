#include "batch/save_job.h"

#include "batch/batch_texts.h"
#include "common/atomic_file.h"
#include "exif/source_metadata.h"

namespace pelimon {

namespace t = batch_texts;

Status SaveJob(const AppSettings& settings, const ImageJob& job, std::span<const uint8_t> bytes) {
    if (Status written = WriteFileAtomically(job.DestPath, bytes); !written.ok()) {
        return Error{t::NotWritten(job.DestName, written.error().message), job.DestPath};
    }
    if (settings.ExifDate == kOn && job.ShotDate != "0") {
        if (Status dated = ApplyShotDate(job.DestPath, job.ShotDate); !dated.ok()) {
            return Error{t::NotDated(job.DestName, dated.error().message), job.DestPath};
        }
    }
    return {};
}

}  // namespace pelimon
