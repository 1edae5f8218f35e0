// ImageJob: one source file of a batch and everything the batch decided about it.
// The preparation phase fills the source fields, the output name and the metadata; the target
// sizes come next; the renderer only reads the record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/result.h"
#include "imagelib/orientation.h"

namespace pelimon {

struct ImageJob {
    int32_t SrcWidth = 0;   // source width in pixels, after automatic orientation and rotation
    int32_t SrcHeight = 0;  // source height in pixels, after automatic orientation and rotation
    int32_t TargetWidth = 0;
    int32_t TargetHeight = 0;
    int32_t ListIndex = 0;    // row of the source in the file list
    uint16_t ExifLength = 0;  // length field of the source's Exif APP1 segment; 0 when none
    std::string SizeText;     // the file list's size column
    std::string FileName;     // source file name, no folder
    std::string SourcePath;   // source folder + its subfolders (a listed tree) + FileName
    std::string DestName;     // output file name with extension
    std::string DestPath;     // output folder + the source's subfolders (unless Flat) + DestName
    int32_t OutputType = 0;   // the output format's OutputType (imagelib/format_table.h); 0: none, see PrepareError
    int32_t LargerThanSource = 0;  // 1 when the target is not smaller than the source (see Equal)
    std::string ShotDate = "0";    // "YYYY/MM/DD HH:MM:SS", or "0" when the source has none

    // Per-file rotation from the file list, clockwise degrees (0, 90, 180, 270).
    int32_t Rotation = 0;
    // Exif Orientation applied to the pixels on load (2..8); 1 when nothing is applied.
    int32_t Orientation = 1;
    // Set when the source could not be examined during preparation; the job produces no file and
    // this error is reported.
    std::optional<Error> PrepareError;
};

// True when the stored pixels are turned a quarter turn relative to the upright output frame, so
// that width and height swap between the file's frame and the job's.
inline bool SwapsStoredFrame(const ImageJob& job) {
    return TurnsQuarter(job.Orientation, job.Rotation);
}

}  // namespace pelimon
