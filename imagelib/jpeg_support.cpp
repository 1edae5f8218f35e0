#include "imagelib/jpeg_support.h"

#include <jerror.h>

namespace pelimon::imagelib_detail {

namespace {

JpegErrorManager& ManagerOf(j_common_ptr info) {
    return *reinterpret_cast<JpegErrorManager*>(info->err);
}

[[noreturn]] void ErrorExit(j_common_ptr info) {
    JpegErrorManager& errors = ManagerOf(info);
    (*info->err->format_message)(info, errors.message);
    std::longjmp(errors.jump, 1);
}

// Warnings never print; those that mean the pixels are damaged are remembered so that the
// decoder can refuse the image instead of returning a grey or garbled band as if it were fine.
void EmitMessage(j_common_ptr info, int level) {
    if (level >= 0) {
        return;  // trace messages
    }
    JpegErrorManager& errors = ManagerOf(info);
    // Only the first damage counts: once the entropy-coded data is corrupt, libjpeg skips ahead to
    // the next marker and may run into the end of the file, which does not make it a cut-short file;
    // a file that really ends early reports the end first and then the fake end marker it inserts.
    const int code = info->err->msg_code;
    const bool damaged_before = errors.truncated || errors.corrupt;
    if (code == JWRN_JPEG_EOF && !damaged_before) {
        errors.truncated = true;
    } else if ((code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE || code == JWRN_MUST_RESYNC) && !damaged_before) {
        errors.corrupt = true;
    }
    ++info->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& errors) {
    jpeg_error_mgr* base = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.emit_message = EmitMessage;
    errors.base.output_message = OutputMessage;
    errors.message[0] = '\0';
    errors.truncated = false;
    errors.corrupt = false;
    return base;
}

void FailJpeg(j_common_ptr info, const char* message) {
    JpegErrorManager& errors = ManagerOf(info);
    std::snprintf(errors.message, sizeof errors.message, "%s", message);
    std::longjmp(errors.jump, 1);
}

}  // namespace pelimon::imagelib_detail
