// The format table's codes of one format, for tests that set a FileType or ImageType or expect an
// OutputType.
#pragma once

#include <cstdint>

#include "imagelib/format_table.h"

namespace pelimon::test {

inline int32_t ImageTypeOf(ImageFormat format) {
    return FormatRowOf(format).codes.image_type;
}
inline int32_t FileTypeOf(ImageFormat format) {
    return FormatRowOf(format).codes.file_type;
}
inline int32_t OutputTypeOf(ImageFormat format) {
    return FormatRowOf(format).codes.output_type;
}

}  // namespace pelimon::test
