#include "filelist/file_type.h"

#include "imagelib/format_table.h"

namespace pelimon {

int FileTypeOfName(std::string_view name) {
    const FormatRow* format = FormatOfName(name);
    return format != nullptr ? format->codes.image_type : 0;
}

int OutputTypeOfName(std::string_view name) {
    const FormatRow* format = FormatOfName(name);
    return format != nullptr ? FormatRowOf(format->same_as_source).codes.output_type : 0;
}

}  // namespace pelimon
