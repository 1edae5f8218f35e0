// libpng error handling without exceptions, the same way as for libjpeg: errors record their
// message and jump back to png_jmpbuf; setjmp frames live in small functions holding only trivially
// destructible locals, and the RAII guards that own the libpng objects live in the callers. Also
// what both PNG readers (libpng's and png_stream.cpp) share.
#pragma once

#include <png.h>

#include <cstddef>
#include <cstdint>

namespace pelimon::imagelib_detail {

struct PngMessage {
    char text[200];
};

// Error callback: copies the message into the PngMessage passed as error pointer, then jumps.
[[noreturn]] void PngErrorCallback(png_structp png, png_const_charp message);
// Warning callback: ignored (benign problems such as a bad ancillary chunk).
void PngWarningCallback(png_structp png, png_const_charp message);

// Composites a row of `width` RGBA pixels over white into RGB.
void CompositeRow(const uint8_t* rgba, size_t width, uint8_t* rgb);

}  // namespace pelimon::imagelib_detail
