// Writes made-irot6.heic and made-orient6.webp from made-source.png (kept for the record, not built):
// g++ -std=c++20 -I<checkout> make_turned_fixtures.cpp <build>/imagelib/libpelimon_imagelib.a
// <build>/common/libpelimon_common.a -lheif -lwebp -lwebpmux -lwebpdemux -llcms2 -ljpeg -lpng -lgif -limagequant
#include <libheif/heif.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include "imagelib/imagelib.h"
using namespace pelimon;
static void Put16(Bytes& b, unsigned v) {
    b.push_back(v & 255);
    b.push_back(v >> 8);
}
static void Put32(Bytes& b, unsigned v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
static void Entry(Bytes& b, unsigned tag, unsigned type, unsigned count, unsigned value) {
    Put16(b, tag);
    Put16(b, type);
    Put32(b, count);
    Put32(b, value);
}
Bytes Exif() {
    Bytes b = {'I', 'I', 42, 0};
    Put32(b, 8);
    // IFD0 at 8: 2 entries -> 2+24+4 = 30 bytes, ends at 38
    Put16(b, 2);
    Entry(b, 0x0112, 3, 1, 6);
    Entry(b, 0x8769, 4, 1, 38);
    Put32(b, 0);
    // Exif IFD at 38: 3 entries -> 2 + 36 + 4 = 42 -> ends at 80; date string at 80
    Put16(b, 3);
    Entry(b, 0x9003, 2, 20, 80);
    Entry(b, 0xA002, 4, 1, 64);
    Entry(b, 0xA003, 4, 1, 48);
    Put32(b, 0);
    const char* d = "2024:05:06 07:08:09";
    b.insert(b.end(), d, d + 20);
    return b;
}
heif_error W(heif_context*, const void* d, size_t n, void* u) {
    auto* o = (Bytes*)u;
    o->insert(o->end(), (const uint8_t*)d, (const uint8_t*)d + n);
    return {heif_error_Ok, heif_suberror_Unspecified, "ok"};
}
int main() {
    std::ifstream f("made-source.png", std::ios::binary);
    Bytes png((std::istreambuf_iterator<char>(f)), {});
    Image img = DecodeImage(png).value();
    Bytes exif = Exif();
    heif_context* ctx = heif_context_alloc();
    heif_encoder* enc;
    heif_context_get_encoder_for_format(ctx, heif_compression_HEVC, &enc);
    heif_encoder_set_lossy_quality(enc, 90);
    heif_image* hi;
    heif_image_create(img.width(), img.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &hi);
    heif_image_add_plane(hi, heif_channel_interleaved, img.width(), img.height(), 8);
    int stride;
    uint8_t* p = heif_image_get_plane(hi, heif_channel_interleaved, &stride);
    for (int y = 0; y < img.height(); ++y)
        memcpy(p + y * stride, img.row(y), img.stride());
    heif_encoding_options* o = heif_encoding_options_alloc();
    o->image_orientation = heif_orientation_rotate_90_cw;
    heif_image_handle* h;
    heif_error e = heif_context_encode_image(ctx, hi, enc, o, &h);
    printf("enc %s\n", e.message);
    e = heif_context_add_exif_metadata(ctx, h, exif.data(), exif.size());
    printf("exif %s\n", e.message);
    Bytes out;
    heif_writer wr{1, W};
    heif_context_write(ctx, &wr, &out);
    std::ofstream("made-irot6.heic", std::ios::binary).write((const char*)out.data(), out.size());
    Bytes webp = EncodeWebp(img, {.quality = 90, .metadata = EncodeMetadata{exif, {}}}).value();
    std::ofstream("made-orient6.webp", std::ios::binary).write((const char*)webp.data(), webp.size());
}
