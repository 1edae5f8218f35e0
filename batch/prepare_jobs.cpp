#include "batch/prepare_jobs.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

#include "batch/batch_texts.h"
#include "batch/output_naming.h"
#include "batch/source_reader.h"
#include "exif/source_metadata.h"
#include "filelist/file_type.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"
#include "imagelib/orientation.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

// The OutputType of a job for the source `name`: by FileType, or for "same as the source" by the
// format the name shows; why there is none otherwise.
Result<int32_t> OutputTypeFor(const AppSettings& settings, const std::string& name) {
    if (settings.FileType != kFileTypeSame) {
        const FormatRow* format = FormatOfFileType(settings.FileType);
        if (format == nullptr) {
            return Error{t::UnknownFileType(settings.FileType).sentence, {}};
        }
        return format->codes.output_type;
    }
    const int32_t output_type = OutputTypeOfName(name);
    if (output_type == 0) {
        return Error{t::NoFormatInName(name), {}};
    }
    return output_type;
}

// Where below the output folder the output of `row` goes: the row's subfolders of the source
// folder, so that the outputs mirror the source tree; none with Flat on. A name that would leave
// the output folder ("..") is never mirrored (listings do not make such names).
std::string OutputSubfolder(const AppSettings& settings, const FileRow& row) {
    const std::string subfolder = row.subfolder();
    if (settings.Flat == kOn || subfolder.empty() || subfolder.starts_with('/')) {
        return {};
    }
    for (const std::filesystem::path& part : std::filesystem::path(subfolder)) {
        if (part == "..") {
            return {};
        }
    }
    return subfolder;
}

// Fills the size and metadata fields from the file's header and leading segments.
void ExamineSource(const AppSettings& settings, std::time_t now, ImageJob& job) {
    const Result<ImageHeader> header = ProbeImageFile(job.SourcePath);
    if (!header.ok()) {
        job.PrepareError = Error{t::NotAnImage(job.FileName, header.error().message), job.SourcePath};
        return;
    }
    // The metadata of a JPEG lies in its leading segments, a PNG's in its chunks beside the image
    // data; a WebP's chunks and a HEIF's Exif item may lie anywhere, so those files are read whole
    // (FormatRow::source_metadata). A file that cannot be read leaves the defaults: the render
    // will report it.
    const Result<std::vector<uint8_t>> bytes =
        ReadMetadataBytes(job.SourcePath, FormatRowOf(header.value().format).source_metadata);
    if (bytes.ok() && !bytes.value().empty()) {
        // A HEIF/AVIF reports Orientation 1: its decoder turns the pixels itself.
        const SourceMetadata metadata = ReadSourceMetadata(bytes.value(), now);
        job.ExifLength = metadata.ExifLength;
        job.ShotDate = metadata.ShotDate;
        if (settings.AutoRotate == kOn && OrientationChangesPixels(metadata.Orientation)) {
            job.Orientation = metadata.Orientation;
        }
    }
    const bool swap = SwapsStoredFrame(job);
    job.SrcWidth = swap ? header.value().height : header.value().width;
    job.SrcHeight = swap ? header.value().width : header.value().height;
}

}  // namespace

std::string SourceFolderOf(const AppSettings& settings) {
    std::string folder = settings.ImagePath;
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

PreparedJobs PrepareJobs(const PrepareInput& input) {
    AppSettings& settings = input.settings;
    if (settings.SaveNum == kOff) {
        settings.ImageNum = 0;
    }
    const std::string source_folder = SourceFolderOf(settings);

    PreparedJobs prepared;
    // One allocation: growing by doubling would hold two copies of a big tree's jobs at its peak.
    prepared.jobs.reserve(static_cast<size_t>(std::max(0, input.checked_files)));
    const std::vector<FileRow>& rows = input.list.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const FileRow& row = rows[i];
        if (row.checked) {
            input.ui.ReportCurrentFile(row.name);
            input.ui.ReportProgress(0, input.checked_files);
        }
        if (input.ui.CancelRequested()) {
            prepared.cancelled = true;
            return prepared;
        }
        if (!row.checked) {
            continue;
        }
        const std::string path = SourcePathOf(row, source_folder);
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            continue;
        }
        ImageJob job;
        job.ListIndex = static_cast<int32_t>(i);
        job.SizeText = row.size_text;
        job.FileName = row.file_name();
        job.SourcePath = path;
        const Result<int32_t> output_type = OutputTypeFor(settings, job.FileName);
        job.OutputType = output_type.ok() ? output_type.value() : 0;
        job.Rotation = NormalRotation(row.rotation);
        BuildOutputName(settings, input.output_folder + OutputSubfolder(settings, row), job, prepared.jobs.size());
        if (output_type.ok()) {
            ExamineSource(settings, input.now, job);
        } else {
            job.PrepareError = Error{output_type.error().message, job.SourcePath};
        }
        prepared.jobs.push_back(std::move(job));
    }
    const int64_t next = int64_t{settings.ImageNum} + static_cast<int64_t>(prepared.jobs.size());
    settings.ImageNum = static_cast<int32_t>(std::min<int64_t>(next, std::numeric_limits<int32_t>::max()));
    return prepared;
}

}  // namespace pelimon
