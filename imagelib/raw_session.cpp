#include "imagelib/raw_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

namespace {

// Lossless raw data takes at least a bit per pixel and lossy raw data far more than this, so raw
// data with less room than this per pixel before the end of the file has been stripped or cut.
constexpr int64_t kMinRawBitsPerPixel = 1;

}  // namespace

RawSession::RawSession() : raw_(std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE)) {
    libraw_output_params_t& params = raw_->imgdata.params;
    params.max_raw_memory_mb = kMaxRawMemoryMegabytes;
    // libraw's own handlers print to standard error; errors are counted and reported instead.
    raw_->set_dataerror_handler([](void* data, const char* /*file*/, int /*offset*/) { ++*static_cast<int*>(data); },
                                &data_errors_);
    raw_->set_memerror_handler([](void* /*data*/, const char* /*file*/, const char* /*where*/) {}, nullptr);
}

RawSession::~RawSession() {
    raw_.reset();  // recycles libraw's buffers before the stream it reads goes
    stream_.reset();
    if (owned_fd_ >= 0) {
        close(owned_fd_);
    }
}

Status RawSession::StatusOf(int code) {
    switch (code) {
        case LIBRAW_SUCCESS:
            return {};
        case LIBRAW_FILE_UNSUPPORTED:
        case LIBRAW_NOT_IMPLEMENTED:
            return UnsupportedError(imagelib_texts::kRawNotRead);
        case LIBRAW_UNSUFFICIENT_MEMORY:
        case LIBRAW_TOO_BIG:
            return CorruptError(imagelib_texts::kRawTooBig);
        case LIBRAW_CANCELLED_BY_CALLBACK:
            return CorruptError(imagelib_texts::kRawTooSlow);
        case LIBRAW_IO_ERROR:
        case LIBRAW_REQUEST_FOR_NONEXISTENT_IMAGE:
            return CorruptError(imagelib_texts::kRawDataMissing);
        default:
            return CorruptError(imagelib_texts::kRawDamaged);
    }
}

Status RawSession::OpenStream(std::unique_ptr<RawStream> stream) {
    stream_ = std::move(stream);
    const RawWatchdog watchdog(*raw_);
    const int code = raw_->open_datastream(stream_.get());
    return Identified(watchdog.fired() ? LIBRAW_CANCELLED_BY_CALLBACK : code);
}

Status RawSession::Open(ByteView bytes) {
    return OpenStream(std::make_unique<RawStream>(bytes));
}

Status RawSession::OpenDescriptor(int fd) {
    return OpenStream(std::make_unique<RawStream>(fd));
}

Status RawSession::OpenFile(const std::string& path) {
    owned_fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (owned_fd_ < 0) {
        return StatusOf(LIBRAW_IO_ERROR);
    }
    return OpenDescriptor(owned_fd_);
}

int RawSession::UnpackPreview() {
    const RawWatchdog watchdog(*raw_);
    const int code = raw_->unpack_thumb();
    return watchdog.fired() ? LIBRAW_CANCELLED_BY_CALLBACK : code;
}

Status RawSession::Identified(int code) {
    if (Status opened = StatusOf(code); !opened) {
        return opened;
    }
    const libraw_image_sizes_t& sizes = raw_->imgdata.sizes;
    if (sizes.raw_width == 0 || sizes.raw_height == 0 || sizes.width == 0 || sizes.height == 0) {
        return BadSizeError(sizes.width, sizes.height);
    }
    if (int64_t{sizes.raw_width} * sizes.raw_height > kMaxDecodedPixels) {
        return TooLargeError(sizes.raw_width, sizes.raw_height);
    }
    return CheckDimensions(sizes.width, sizes.height, 65535);
}

Status RawSession::CheckRawDataFits() {
    const libraw_internal_data_t& internal = *raw_->get_internal_data_pointer();
    if (internal.internal_data.input == nullptr) {  // libraw let the file go after an error
        return CorruptError(imagelib_texts::kRawDamaged);
    }
    const unpacker_data_t& unpacker = internal.unpacker_data;
    const int64_t file_size = internal.internal_data.input->size();
    const int64_t offset = unpacker.data_offset;
    if (offset < 0 || offset >= file_size) {
        return CorruptError(imagelib_texts::kRawDataMissing);
    }
    const int64_t room = file_size - offset;
    const libraw_image_sizes_t& sizes = raw_->imgdata.sizes;
    const int64_t least = int64_t{sizes.raw_width} * sizes.raw_height * kMinRawBitsPerPixel / 8;
    if ((unpacker.data_size > 0 && unpacker.data_size > room) || room < least) {
        return CorruptError(imagelib_texts::kRawDataMissing);
    }
    return {};
}

ImageHeader RawSession::ShownHeader() {
    const libraw_image_sizes_t& sizes = raw_->imgdata.sizes;
    if (raw_->adjust_sizes_info_only() == LIBRAW_SUCCESS && sizes.iwidth > 0 && sizes.iheight > 0) {
        return ImageHeader{ImageFormat::kRaw, sizes.iwidth, sizes.iheight};
    }
    const bool swap = (sizes.flip & 4) != 0;
    return ImageHeader{ImageFormat::kRaw, swap ? sizes.height : sizes.width, swap ? sizes.width : sizes.height};
}

int RawSession::Orientation() const {
    // libraw's flip bits (1 mirror, 2 upside down, 4 transposed) as Exif Orientation values.
    constexpr int kOrientationOfFlip[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return kOrientationOfFlip[raw_->imgdata.sizes.flip & 7];
}

Status RawSession::Unpack() {
    if (Status fits = CheckRawDataFits(); !fits) {
        return fits;
    }
    if (stream_ != nullptr) {
        stream_->Watch();
    }
    data_errors_ = 0;
    int code = LIBRAW_SUCCESS;
    bool fired = false;
    {
        const RawWatchdog watchdog(*raw_);
        code = raw_->unpack();
        fired = watchdog.fired();
    }
    if (fired) {
        return CorruptError(imagelib_texts::kRawTooSlow);
    }
    if (Status unpacked = StatusOf(code); !unpacked) {
        return unpacked;
    }
    if ((stream_ != nullptr && stream_->ran_out()) || data_errors_ > 0 || raw_->error_count() > 0) {
        return CorruptError(imagelib_texts::kRawDataMissing);
    }
    // Stripped files often keep an area of zeros where the raw data was.
    const libraw_rawdata_t& data = raw_->imgdata.rawdata;
    const libraw_image_sizes_t& sizes = raw_->imgdata.sizes;
    if (data.raw_image != nullptr) {
        const uint16_t* first = data.raw_image;
        const uint16_t* last = first + size_t{sizes.raw_pitch} / 2 * sizes.raw_height;
        if (std::all_of(first, last, [value = *first](uint16_t v) { return v == value; })) {
            return CorruptError(imagelib_texts::kRawDataMissing);
        }
    }
    return {};
}

struct RawWatchdog::State {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool fired = false;
    std::thread thread;
};

RawWatchdog::RawWatchdog(LibRaw& raw) : state_(std::make_unique<State>()) {
    State* state = state_.get();
    state->thread = std::thread([state, &raw] {
        std::unique_lock lock(state->mutex);
        if (!state->done.wait_for(lock, std::chrono::seconds(kMaxRawDecodeSeconds),
                                  [state] { return state->finished; })) {
            state->fired = true;
            raw.setCancelFlag();
        }
    });
}

RawWatchdog::~RawWatchdog() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->finished = true;
    }
    state_->done.notify_one();
    state_->thread.join();
}

bool RawWatchdog::fired() const {
    const std::lock_guard lock(state_->mutex);
    return state_->fired;
}

}  // namespace pelimon::imagelib_detail
