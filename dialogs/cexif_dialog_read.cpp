// Reading every directory the Exif information dialog shows, through the program's reader.
#include "exif/exif_list_rows.h"
#include "exif/exif_reader.h"

namespace pelimon {

ExifDirectories ReadExifDirectories(CExifReader& reader) {
    ExifDirectories directories;
    reader.ReadMainIFD();
    directories.main = reader.MainEntries();
    directories.has_sub = reader.m_bSubIFD;
    if (directories.has_sub) {
        reader.ReadSubIFD();
        directories.sub = reader.SubEntries();
        directories.has_interop = reader.m_bInterop;
        if (directories.has_interop) {
            reader.ReadInteropIFD();
            directories.interop = reader.InteropEntries();
        }
    }
    if (reader.GpsIFDOffset() != 0) {
        directories.has_gps = reader.ReadGpsIFD() == 1;
        directories.gps = reader.GpsEntries();
    }
    if (reader.ThumbnailIFDOffset() != 0) {
        directories.has_thumbnail = reader.ReadThumbnailIFD() == 1;
        directories.thumbnail = reader.ThumbnailEntries();
    }
    return directories;
}

}  // namespace pelimon
