#include "batch/output_naming.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "batch/batch_texts.h"
#include "imagelib/format_table.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

constexpr int32_t kMaxNumberWidth = 255;

std::string BaseOfName(const std::string& file_name) {
    const size_t dot = file_name.rfind('.');
    return dot == std::string::npos ? file_name : file_name.substr(0, dot);
}

// The path as the file system will resolve it, so that "out/../a.jpg" and a symbolic link to
// the source folder are recognised as the same place.
std::string ResolvedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (error) {
        return std::filesystem::path(path).lexically_normal().string();
    }
    return resolved.string();
}

std::string NumberedName(const std::string& dest_name, const std::string& extension, int number) {
    std::string stem = dest_name;
    if (!extension.empty() && stem.size() >= extension.size() &&
        stem.compare(stem.size() - extension.size(), extension.size(), extension) == 0) {
        stem.resize(stem.size() - extension.size());
    }
    return stem + " (" + std::to_string(number) + ")" + extension;
}

}  // namespace

std::string ExtensionForOutputType(int32_t output_type) {
    const FormatRow* format = FormatOfOutputType(output_type);
    return format != nullptr ? std::string(format->OutputExtension()) : std::string();
}

std::string FormatRunningNumber(int64_t number, int32_t digit, bool zero_padding) {
    const int width = std::clamp(digit, -kMaxNumberWidth, kMaxNumberWidth);
    char buffer[2 * kMaxNumberWidth];
    const long long value = number;
    const int length = zero_padding ? std::snprintf(buffer, sizeof buffer, "%0*lld", width, value)
                                    : std::snprintf(buffer, sizeof buffer, "%-*lld", width, value);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

void BuildOutputName(const AppSettings& settings, const std::string& output_folder, ImageJob& job, size_t k) {
    const std::string base = BaseOfName(job.FileName);
    std::string name;
    switch (settings.NameRule) {
        case kNameAppendText:
            name = base + settings.AddText;
            break;
        case kNamePrependText:
            name = settings.AddText + base;
            break;
        default: {
            const int64_t number = int64_t{settings.StartNum} + int64_t{settings.ImageNum} + static_cast<int64_t>(k);
            name = settings.BaseName + FormatRunningNumber(number, settings.Digit, settings.ZeroPadding != kOff);
            break;
        }
    }
    // AddText and BaseName come from settings and parameter files: a "/" in them would put the
    // output into another folder ("../x" outside the output folder), so it becomes "_".
    std::replace(name.begin(), name.end(), '/', '_');
    job.DestName = name + ExtensionForOutputType(job.OutputType);
    job.DestPath = output_folder + job.DestName;
}

std::vector<RenamedOutput> MakeDestinationsDistinct(std::span<ImageJob> jobs, std::span<const std::string> kept) {
    std::set<std::string> job_folders;
    for (const ImageJob& job : jobs) {
        job_folders.insert(job.DestPath.substr(0, job.DestPath.size() - job.DestName.size()));
    }
    // Only a source in a folder that outputs go into can meet an output's name: a tree reduced
    // into a folder of its own keeps no set of every source.
    std::set<std::string> resolved_job_folders;
    for (const std::string& folder : job_folders) {
        resolved_job_folders.insert(ResolvedPath(folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder));
    }
    std::set<std::string> sources;
    for (const ImageJob& job : jobs) {
        std::string resolved = ResolvedPath(job.SourcePath);
        if (resolved_job_folders.contains(std::filesystem::path(resolved).parent_path().string())) {
            sources.insert(std::move(resolved));
        }
    }
    std::set<std::string> taken;
    // Only a kept output in a folder some job writes into can meet a job's name.
    for (const std::string& path : kept) {
        if (job_folders.contains(path.substr(0, path.rfind('/') + 1))) {
            taken.insert(ResolvedPath(path));
        }
    }
    std::vector<RenamedOutput> renamed;
    for (size_t i = 0; i < jobs.size(); ++i) {
        ImageJob& job = jobs[i];
        const auto is_free = [&](const std::string& resolved) {
            return !sources.contains(resolved) && !taken.contains(resolved);
        };
        std::string resolved = ResolvedPath(job.DestPath);
        if (is_free(resolved)) {
            taken.insert(resolved);
            continue;
        }
        const bool hits_source = sources.contains(resolved);
        const std::string folder = job.DestPath.substr(0, job.DestPath.size() - job.DestName.size());
        const std::string extension = ExtensionForOutputType(job.OutputType);
        const std::string original_name = job.DestName;
        for (int number = 2;; ++number) {
            const std::string candidate = NumberedName(original_name, extension, number);
            resolved = ResolvedPath(folder + candidate);
            if (is_free(resolved)) {
                job.DestName = candidate;
                job.DestPath = folder + candidate;
                break;
            }
        }
        taken.insert(resolved);
        renamed.push_back({i, t::Renamed(job.FileName, original_name, hits_source, job.DestName)});
    }
    return renamed;
}

}  // namespace pelimon
