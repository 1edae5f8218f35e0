// Quantised coefficients to a JFIF file through libjpeg's transcoder entry (jpeg_write_coefficients),
// which codes whatever levels it is given with optimised Huffman tables and any scan script.
#include <algorithm>
#include <cstring>

#include "imagelib/jpeg_coefficients.h"
#include "imagelib/jpeg_compressor.h"

namespace pelimon::imagelib_detail {

namespace {

JDIMENSION RoundUp(int value, int multiple) {
    return static_cast<JDIMENSION>((value + multiple - 1) / multiple * multiple);
}

bool WriteGuarded(JpegEncodeState& s, const CoefficientPicture& picture, ScanScript script, Bytes& out,
                  int first_mcu_row, int mcu_rows) {
    if (setjmp(s.errors.jump)) {
        return false;
    }
    CreateCompressor(s, out);
    const int mcu_side = picture.subsampled ? 16 : 8;
    const int height =
        mcu_rows > 0 ? std::min(mcu_rows * mcu_side, picture.height - first_mcu_row * mcu_side) : picture.height;
    s.info.image_width = static_cast<JDIMENSION>(picture.width);
    s.info.image_height = static_cast<JDIMENSION>(height);
    s.info.input_components = 3;
    s.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&s.info);
    const int luma_sampling = picture.subsampled ? 2 : 1;
    s.info.comp_info[0].h_samp_factor = luma_sampling;
    s.info.comp_info[0].v_samp_factor = luma_sampling;
    for (int c = 1; c < 3; ++c) {
        s.info.comp_info[c].h_samp_factor = 1;
        s.info.comp_info[c].v_samp_factor = 1;
    }
    for (int t = 0; t < 2; ++t) {
        unsigned int table[64];
        std::copy(picture.quant[static_cast<size_t>(t)].begin(), picture.quant[static_cast<size_t>(t)].end(), table);
        jpeg_add_quant_table(&s.info, t, table, 100, TRUE);
    }
    s.info.optimize_coding = TRUE;
    if (!script.empty()) {
        s.info.scan_info = script.data();
        s.info.num_scans = static_cast<int>(script.size());
    }
    jvirt_barray_ptr arrays[3];
    for (int c = 0; c < 3; ++c) {
        const CoefficientPicture::Component& component = picture.components[static_cast<size_t>(c)];
        const int sampling = c == 0 ? luma_sampling : 1;
        const int rows = mcu_rows > 0
                             ? std::min(mcu_rows * sampling, component.height_in_blocks - first_mcu_row * sampling)
                             : component.height_in_blocks;
        arrays[c] = (*s.info.mem->request_virt_barray)(reinterpret_cast<j_common_ptr>(&s.info), JPOOL_IMAGE, TRUE,
                                                       RoundUp(component.width_in_blocks, sampling),
                                                       RoundUp(rows, sampling), static_cast<JDIMENSION>(sampling));
    }
    jpeg_write_coefficients(&s.info, arrays);
    for (int c = 0; c < 3; ++c) {
        const CoefficientPicture::Component& component = picture.components[static_cast<size_t>(c)];
        const int sampling = c == 0 ? luma_sampling : 1;
        const int first_row = first_mcu_row * sampling;
        const int rows = mcu_rows > 0 ? std::min(mcu_rows * sampling, component.height_in_blocks - first_row)
                                      : component.height_in_blocks;
        for (int y = 0; y < rows; ++y) {
            JBLOCKARRAY row = (*s.info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&s.info), arrays[c],
                                                                static_cast<JDIMENSION>(y), 1, TRUE);
            std::memcpy(row[0], component.block(0, first_row + y),
                        sizeof(JBLOCK) * static_cast<size_t>(component.width_in_blocks));
        }
    }
    jpeg_finish_compress(&s.info);
    return true;
}

}  // namespace

bool WriteCoefficients(const CoefficientPicture& picture, ScanScript script, Bytes& out, JpegErrorManager& errors,
                       int first_mcu_row, int mcu_rows) {
    JpegCompressor compressor;
    JpegEncodeState& s = compressor.state();
    s.info.err = InitJpegErrorManager(s.errors);
    const bool written = WriteGuarded(s, picture, script, out, first_mcu_row, mcu_rows);
    if (!written) {
        std::memcpy(errors.message, s.errors.message, sizeof errors.message);
    }
    return written;
}

}  // namespace pelimon::imagelib_detail
