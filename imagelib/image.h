// The decoded picture every part of pelimon works on: 24-bit RGB, top-down rows, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelimon {

class Image {
  public:
    Image() = default;
    // A width x height image, every byte zero (black). Sizes below 0 count as 0.
    Image(int width, int height) { Reset(width, height); }

    // Resizes to width x height; the contents are unspecified afterwards. Keeps the allocation when
    // it is large enough, so that a worker can reuse one Image from photo to photo.
    void Reset(int width, int height) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    size_t stride() const { return static_cast<size_t>(width_) * 3; }  // bytes per row

    uint8_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride(); }
    const uint8_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride(); }
    uint8_t* data() { return pixels_.data(); }
    const uint8_t* data() const { return pixels_.data(); }
    size_t size_bytes() const { return pixels_.size(); }

    friend bool operator==(const Image& a, const Image& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;  // R, G, B per pixel
};

}  // namespace pelimon
