#include "imagelib/raw_half_develop.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace pelimon::imagelib_detail {

namespace {

// libraw's histogram of each developed channel: 16-bit values in bins of 8.
constexpr int kHistogramBins = 0x2000;
constexpr int kHistogramShift = 3;

// The four places of a 2 x 2 block, numbered (row & 1) * 2 + (column & 1).
constexpr int kPlaces = 4;

// libraw's output curve: power `power` above a linear toe of slope `slope`, the two meeting with
// the same value and slope, scaled so that `white` becomes full scale. The toe's end is found by
// bisection as libraw finds it, so that the same values come out.
class OutputCurve {
  public:
    OutputCurve(double power, double slope, int white) : power_(power), slope_(slope), white_(white) {
        std::array<double, 2> bound = {0, 0};
        bound[slope >= 1 ? 1 : 0] = 1;
        double toe = 0;
        if (slope != 0 && (slope - 1) * (power - 1) <= 0) {
            for (int i = 0; i < 48; ++i) {
                toe = (bound[0] + bound[1]) / 2;
                const bool above = (std::pow(toe / slope, -power) - 1) / power - 1 / toe > -1;
                bound[above ? 1 : 0] = toe;
            }
            toe_end_ = toe / slope;
            offset_ = toe * (1 / power - 1);
        }
    }

    // The 16-bit curve value of a 16-bit developed value, as libraw's curve table holds it.
    int operator()(int value) const {
        const double r = static_cast<double>(value) / white_;
        if (!(r < 1)) {
            return 0xFFFF;
        }
        const double curved = r < toe_end_ ? r * slope_ : std::pow(r, power_) * (1 + offset_) - offset_;
        return static_cast<uint16_t>(static_cast<int>(0x10000 * curved));
    }

  private:
    double power_;
    double slope_;
    int white_;
    double toe_end_ = 0;
    double offset_ = 0;
};

// The 8-bit output of every 16-bit developed value. The curve rises, so the first value of each
// output level is found by bisection: a few thousand evaluations instead of 65536.
std::vector<uint8_t> EightBitTable(const OutputCurve& curve) {
    std::vector<uint8_t> table(0x10000);
    int from = 0;
    for (int level = 0; level < 256; ++level) {
        // The first value whose output is above `level`.
        int low = from;
        int high = 0x10000;
        while (low < high) {
            const int middle = (low + high) / 2;
            if ((curve(middle) >> 8) > level) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        std::fill(table.begin() + from, table.begin() + low, static_cast<uint8_t>(level));
        from = low;
    }
    return table;
}

// What the development of one file needs, read from libraw once the raw data is unpacked.
struct Mosaic {
    const uint16_t* raw = nullptr;
    size_t pitch = 0;  // in samples
    int top = 0;
    int left = 0;
    int width = 0;  // of the visible area
    int height = 0;
    std::array<int, kPlaces> colour{};      // 0 red, 1 green, 2 blue, 3 the second green
    std::array<uint32_t, kPlaces> black{};  // by place
    std::array<float, kPlaces> scale{};     // by colour: white balance onto 16 bits
    std::array<std::array<float, 3>, 3> matrix{};

    int Place(int row, int column) const { return (row & 1) * 2 + (column & 1); }
    uint16_t Sample(int row, int column) const {
        return raw[static_cast<size_t>(row + top) * pitch + static_cast<size_t>(column + left)];
    }
};

// The black level of each place: the common level, the colour's own and the place's in a
// repeated pattern of one or two rows and columns.
std::array<uint32_t, kPlaces> BlackLevels(const libraw_colordata_t& color, const std::array<int, kPlaces>& colour) {
    std::array<uint32_t, kPlaces> black{};
    const unsigned rows = color.cblack[4];
    const unsigned columns = color.cblack[5];
    for (int place = 0; place < kPlaces; ++place) {
        uint64_t level = uint64_t{color.black} + color.cblack[colour[static_cast<size_t>(place)]];
        if (rows != 0 && columns != 0) {
            level += color.cblack[6 + (static_cast<unsigned>(place) / 2 % rows) * columns +
                                  static_cast<unsigned>(place) % 2 % columns];
        }
        black[static_cast<size_t>(place)] = static_cast<uint32_t>(std::min<uint64_t>(level, 65535));
    }
    return black;
}

// The largest sample above its black level, less that level: what libraw calls the data maximum;
// any value from `enough` on once one is found (it then no longer matters).
uint32_t DataMaximum(const Mosaic& mosaic, uint32_t enough) {
    uint32_t most = 0;
    for (int row = 0; row < mosaic.height && most < enough; ++row) {
        const uint16_t* samples =
            &mosaic.raw[static_cast<size_t>(row + mosaic.top) * mosaic.pitch + static_cast<size_t>(mosaic.left)];
        const uint32_t black_even = mosaic.black[static_cast<size_t>(mosaic.Place(row, 0))];
        const uint32_t black_odd = mosaic.black[static_cast<size_t>(mosaic.Place(row, 1))];
        uint32_t even = 0;
        uint32_t odd = 0;
        int column = 0;
        for (; column + 1 < mosaic.width; column += 2) {
            even = std::max<uint32_t>(even, samples[column]);
            odd = std::max<uint32_t>(odd, samples[column + 1]);
        }
        if (column < mosaic.width) {
            even = std::max<uint32_t>(even, samples[column]);
        }
        most = std::max({most, even > black_even ? even - black_even : 0, odd > black_odd ? odd - black_odd : 0});
    }
    return most;
}

// White balance onto 16 bits, as libraw scales: the camera's multipliers (or the daylight ones
// when the camera gives none), divided by the smallest so that no channel is lowered and
// highlights clip to white, over the white level less black, which is lowered to the data's
// maximum when that lies above three quarters of it.
std::array<float, kPlaces> Scales(const LibRaw& raw, uint32_t maximum, uint32_t data_maximum) {
    const libraw_colordata_t& color = raw.imgdata.color;
    std::array<float, kPlaces> multiplier{};
    const bool camera = color.cam_mul[0] != 0 && color.cam_mul[2] != 0;
    for (size_t c = 0; c < kPlaces; ++c) {
        multiplier[c] = camera ? color.cam_mul[c] : color.pre_mul[c];
    }
    if (multiplier[1] == 0) {
        multiplier[1] = 1;
    }
    if (multiplier[3] == 0) {
        multiplier[3] = multiplier[1];
    }
    const float threshold = raw.imgdata.params.adjust_maximum_thr;
    if (threshold > 0.00001f && data_maximum > 0 &&
        data_maximum<maximum&& static_cast<float>(data_maximum)> static_cast<float>(maximum) * threshold) {
        maximum = data_maximum;
    }
    double least = DBL_MAX;
    for (const float m : multiplier) {
        least = std::min<double>(least, m);
    }
    std::array<float, kPlaces> scale{};
    for (size_t c = 0; c < kPlaces; ++c) {
        const bool usable = least > 0.00001 && maximum > 0;
        const auto balanced = static_cast<float>(multiplier[c] / least);
        scale[c] = usable ? static_cast<float>(balanced * 65535.0 / maximum) : 1.0f;
    }
    return scale;
}

// A float clipped to [0, 65535] before it becomes an int, so that a product beyond int's range (a
// damaged file's white balance or colour matrix) is never converted; NaN gives 65535.
inline int ClippedToSixteenBits(float value) {
    return static_cast<int>(std::max(0.0f, std::min(65535.0f, value)));
}

// A sample less its black level, white-balanced and clipped onto 16 bits, as libraw scales it (a
// float product truncated). Written without branches, so that rows of them are computed in
// vector registers.
inline int Scaled(uint32_t sample, uint32_t black, float scale) {
    const int above = std::max(static_cast<int>(sample) - static_cast<int>(black), 0);
    return ClippedToSixteenBits(static_cast<float>(above) * scale);
}

// The scaled samples of one place along a row of blocks: every second sample of `samples` from
// `first`, for `count` blocks.
void ScaleAlong(const uint16_t* samples, int first, int count, uint32_t black, float scale, int* out) {
    for (int x = 0; x < count; ++x) {
        out[x] = Scaled(samples[2 * x + first], black, scale);
    }
}

// One row of developed pixels, three 16-bit channels each, in libraw's arithmetic (its float
// products and truncations included). `work` holds 7 * width values.
void DevelopRow(const Mosaic& mosaic, int y, int width, int* work, uint16_t* out) {
    const bool two_rows = 2 * y + 1 < mosaic.height;
    const uint16_t* top =
        &mosaic.raw[static_cast<size_t>(2 * y + mosaic.top) * mosaic.pitch + static_cast<size_t>(mosaic.left)];
    const int whole = mosaic.width / 2;  // blocks with two columns; an odd width leaves one of one
    // The scaled samples by colour, a row of blocks each; a place outside the mosaic gives 0.
    std::array<int*, kPlaces> by_colour{};
    for (size_t place = 0; place < kPlaces; ++place) {
        const auto colour = static_cast<size_t>(mosaic.colour[place]);
        int* values = work + static_cast<size_t>(width) * colour;
        by_colour[colour] = values;
        const bool second_row = place >= 2;
        const int column = static_cast<int>(place % 2);
        const int count = column == 0 ? width : whole;
        if (second_row && !two_rows) {
            std::fill(values, values + width, 0);
            continue;
        }
        ScaleAlong(second_row ? top + mosaic.pitch : top, column, count, mosaic.black[place], mosaic.scale[colour],
                   values);
        std::fill(values + count, values + width, 0);
    }
    const int* red = by_colour[0];
    const int* green = by_colour[1];
    const int* green2 = by_colour[3];
    const int* blue = by_colour[2];
    for (size_t c = 0; c < 3; ++c) {
        const float from_red = mosaic.matrix[c][0];
        const float from_green = mosaic.matrix[c][1];
        const float from_blue = mosaic.matrix[c][2];
        int* converted = work + static_cast<size_t>(width) * (kPlaces + c);
        for (int x = 0; x < width; ++x) {
            float sum = 0;
            sum += from_red * static_cast<float>(red[x]);
            sum += from_green * static_cast<float>((green[x] + green2[x]) >> 1);
            sum += from_blue * static_cast<float>(blue[x]);
            converted[x] = ClippedToSixteenBits(sum);
        }
    }
    const int* converted = work + static_cast<size_t>(width) * kPlaces;
    for (int x = 0; x < width; ++x) {
        out[3 * x] = static_cast<uint16_t>(converted[x]);
        out[3 * x + 1] = static_cast<uint16_t>(converted[width + x]);
        out[3 * x + 2] = static_cast<uint16_t>(converted[2 * width + x]);
    }
}

Mosaic MosaicOf(LibRaw& raw) {
    const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
    const libraw_colordata_t& color = raw.imgdata.color;
    Mosaic mosaic;
    mosaic.raw = raw.imgdata.rawdata.raw_image;
    mosaic.pitch = sizes.raw_pitch / 2;
    mosaic.top = sizes.top_margin;
    mosaic.left = sizes.left_margin;
    mosaic.width = std::min<int>(sizes.width, sizes.raw_width - sizes.left_margin);
    mosaic.height = std::min<int>(sizes.height, sizes.raw_height - sizes.top_margin);
    for (int place = 0; place < kPlaces; ++place) {
        mosaic.colour[static_cast<size_t>(place)] = raw.FC(place / 2, place % 2);
    }
    mosaic.black = BlackLevels(color, mosaic.colour);
    const uint32_t common_black = *std::min_element(mosaic.black.begin(), mosaic.black.end());
    const uint32_t maximum = color.maximum > common_black ? color.maximum - common_black : 0;
    mosaic.scale = Scales(raw, maximum, DataMaximum(mosaic, maximum));
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = 0; j < 3; ++j) {
            mosaic.matrix[i][j] = color.rgb_cam[i][j];
        }
    }
    return mosaic;
}

}  // namespace

bool DevelopsAtHalfSize(LibRaw& raw) {
    const libraw_iparams_t& idata = raw.imgdata.idata;
    const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
    const libraw_colordata_t& color = raw.imgdata.color;
    const libraw_output_params_t& params = raw.imgdata.params;
    const libraw_internal_output_params_t& internal = raw.get_internal_data_pointer()->internal_output_params;
    const unsigned filters = idata.filters;
    // A pattern of 2 x 2 that repeats down the eight rows libraw's filter word describes.
    if (raw.imgdata.rawdata.raw_image == nullptr || filters <= 1000 || filters != (filters & 0xFF) * 0x01010101u ||
        idata.colors != 3 || idata.is_foveon != 0) {
        return false;
    }
    std::array<bool, kPlaces> seen{};
    for (int place = 0; place < kPlaces; ++place) {
        seen[static_cast<size_t>(raw.FC(place / 2, place % 2))] = true;
    }
    if (!std::all_of(seen.begin(), seen.end(), [](bool s) { return s; })) {
        return false;
    }
    const bool white_patch = std::any_of(&color.white[0][0], &color.white[0][0] + 64, [](ushort w) { return w != 0; });
    // Outside DNG files libraw may replace the matrix by the camera's own when it develops.
    const bool own_matrix = idata.dng_version == 0 && color.cmatrix[0][0] > 0.25f &&
                            !std::equal(&color.cmatrix[0][0], &color.cmatrix[0][0] + 12, &color.rgb_cam[0][0]);
    const bool block_black = color.cblack[4] > 2 || color.cblack[5] > 2;
    // The visible area lies inside rows of raw data that are as long as libraw says.
    const bool inside = sizes.raw_pitch >= 2u * sizes.raw_width && sizes.left_margin + 2 <= sizes.raw_width &&
                        sizes.top_margin + 2 <= sizes.raw_height;
    return inside && internal.raw_color == 0 && internal.zero_is_bad == 0 && internal.fuji_width == 0 &&
           (sizes.pixel_aspect == 1.0 || sizes.pixel_aspect == 0.0) && color.cam_mul[0] != -1 && !white_patch &&
           color.as_shot_wb_applied == 0 && !own_matrix && !block_black && sizes.width >= 2 && sizes.height >= 2 &&
           params.use_camera_wb == 1 && params.output_color == 1 && params.highlight == 0 &&
           params.no_auto_bright == 0 && params.user_black < 0 && params.user_sat <= 0 && params.user_mul[0] == 0 &&
           params.threshold == 0 && params.aber[0] == 1.0 && params.aber[2] == 1.0 && params.med_passes <= 0 &&
           params.bright == 1.0f;
}

Status DevelopAtHalfSize(LibRaw& raw, RowSink& sink) {
    const Mosaic mosaic = MosaicOf(raw);
    const int width = (mosaic.width + 1) / 2;
    const int height = (mosaic.height + 1) / 2;
    const size_t row_values = static_cast<size_t>(width) * 3;
    // The 16-bit picture is kept for the curve, which depends on all of it: the white point is the
    // lowest bin of any channel above which lie more than its brightest 1 %.
    const std::unique_ptr<uint16_t[]> developed(new uint16_t[row_values * static_cast<size_t>(height)]);
    std::vector<int> work(static_cast<size_t>(width) * (kPlaces + 3));
    std::array<std::vector<int>, 3> histogram;
    for (std::vector<int>& bins : histogram) {
        bins.assign(kHistogramBins, 0);
    }
    for (int y = 0; y < height; ++y) {
        uint16_t* row = developed.get() + row_values * static_cast<size_t>(y);
        DevelopRow(mosaic, y, width, work.data(), row);
        for (size_t i = 0; i < row_values; i += 3) {
            ++histogram[0][row[i] >> kHistogramShift];
            ++histogram[1][row[i + 1] >> kHistogramShift];
            ++histogram[2][row[i + 2] >> kHistogramShift];
        }
    }
    const auto clipped = static_cast<int>(static_cast<float>(width * height) * raw.imgdata.params.auto_bright_thr);
    int white = 0;
    for (const std::vector<int>& bins : histogram) {
        int bin = kHistogramBins;
        for (int total = 0; --bin > 32;) {
            if ((total += bins[static_cast<size_t>(bin)]) > clipped) {
                break;
            }
        }
        white = std::max(white, bin);
    }
    const libraw_output_params_t& params = raw.imgdata.params;
    const std::vector<uint8_t> table =
        EightBitTable(OutputCurve(params.gamm[0], params.gamm[1],
                                  static_cast<int>(static_cast<float>(white << kHistogramShift) / params.bright)));
    if (Status begun = sink.Begin(width, height); !begun) {
        return begun;
    }
    std::vector<uint8_t> own_row;
    for (int y = 0; y < height; ++y) {
        const uint16_t* row = developed.get() + row_values * static_cast<size_t>(y);
        uint8_t* pixels = sink.RowBuffer(y);
        if (pixels == nullptr) {
            own_row.resize(row_values);
            pixels = own_row.data();
        }
        for (size_t i = 0; i < row_values; ++i) {
            pixels[i] = table[row[i]];
        }
        sink.Row(pixels);
    }
    return {};
}

}  // namespace pelimon::imagelib_detail
