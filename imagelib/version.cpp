#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

// 1.20: native codecs, exact area averaging, shrink-on-load. Raised whenever behaviour changes.
constexpr uint16_t kLibraryVersion = 120;

}  // namespace

uint16_t ImgGetVersion() {
    return kLibraryVersion;
}

}  // namespace pelimon
