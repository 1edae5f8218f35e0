#include "batch/save_job.h"

#include <filesystem>

#include "batch/batch_texts.h"
#include "common/atomic_file.h"
#include "exif/source_metadata.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

// The output's folder below the run's output folder (a subfolder of a mirrored tree), made with
// every missing level when it is not there yet.
Status MakeOutputSubfolder(const std::string& dest_path) {
    const std::filesystem::path folder = std::filesystem::path(dest_path).parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return {};
    }
    std::filesystem::create_directories(folder, error);
    if (error && !std::filesystem::is_directory(folder)) {
        return Error{error.message(), folder.string()};
    }
    return {};
}

}  // namespace

Status SaveJob(const AppSettings& settings, const ImageJob& job, std::span<const uint8_t> bytes) {
    if (Status made = MakeOutputSubfolder(job.DestPath); !made.ok()) {
        return Error{t::NotWritten(job.DestName, made.error().message), job.DestPath};
    }
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
