// What the Exif information dialog lists and copies, Qt-free: the rows grouped by IFD, the
// plain text put on the clipboard, and the message of the Exif button for a file without Exif.
#pragma once

#include <string>
#include <vector>

#include "exif/exif_entry.h"

namespace pelimon {

class CExifReader;

// The entries of one file, IFD by IFD, and which directories the file has.
struct ExifDirectories {
    std::vector<ExifEntry> main;
    std::vector<ExifEntry> sub;
    std::vector<ExifEntry> interop;
    std::vector<ExifEntry> gps;
    std::vector<ExifEntry> thumbnail;
    bool has_sub = false;        // IFD0 points to an Exif sub-IFD
    bool has_interop = false;    // the sub-IFD points to an Interoperability IFD
    bool has_gps = false;        // IFD0 points to a GPS IFD that lies inside the segment
    bool has_thumbnail = false;  // IFD0 links to IFD1
};

// Reads every directory of the file the reader's last CheckJpeg accepted (bit 1 set).
ExifDirectories ReadExifDirectories(CExifReader& reader);

struct ExifListRow {
    std::string name;   // UTF-8
    std::string value;  // UTF-8; empty for group rows
    bool group = false;
};

// The list: a group row "▼ メイン IFD 情報" and the IFD0 entries; a group row "▼ サブ IFD 情報"
// (always) and the sub-IFD entries; then, for the directories the file has, a group row and the
// entries of the Interoperability IFD, of the GPS IFD (the location) and of IFD1.
std::vector<ExifListRow> BuildExifRows(const ExifDirectories& directories);

// The clipboard text: one line per row, the name right-aligned in 40 columns (a wide character
// counts two), " : " and the value. Rows without a value have the name only. Lines end with a
// line feed, except the last one when it has a value.
std::string FormatExifClipboard(const std::vector<ExifListRow>& rows);

// The message of the Exif button for a CheckJpeg result without Exif (bit 1 clear): the JPEG has
// no Exif data, or the file is not a JPEG. nullptr when the result has Exif.
const char* ExifButtonMessage(int check_result);

}  // namespace pelimon
