// The decoded picture every part of pelimon works on: 24-bit RGB, top-down rows, no padding.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace pelimon {

class Image {
  public:
    Image() = default;
    // A width x height image, every byte zero (black). Sizes below 0 count as 0.
    Image(int width, int height) {
        Reset(width, height);
        std::fill_n(pixels_.get(), size_, uint8_t{0});
    }
    Image(const Image& other) : width_(other.width_), height_(other.height_) {
        Allocate(other.size_);
        std::copy_n(other.pixels_.get(), size_, pixels_.get());
    }
    Image& operator=(const Image& other) {
        if (this != &other) {
            Reset(other.width_, other.height_);
            std::copy_n(other.pixels_.get(), size_, pixels_.get());
        }
        return *this;
    }
    Image(Image&& other) noexcept
        : width_(std::exchange(other.width_, 0)),
          height_(std::exchange(other.height_, 0)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)),
          pixels_(std::move(other.pixels_)) {}
    Image& operator=(Image&& other) noexcept {
        if (this != &other) {
            width_ = std::exchange(other.width_, 0);
            height_ = std::exchange(other.height_, 0);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
            pixels_ = std::move(other.pixels_);
        }
        return *this;
    }
    ~Image() = default;

    // Resizes to width x height; the contents are unspecified afterwards: a new allocation is not
    // even zeroed, since every caller writes all pixels before the image is used. Keeps the
    // allocation when it is large enough, so that a worker can reuse one Image from photo to photo.
    void Reset(int width, int height) {
        width = width > 0 ? width : 0;
        height = height > 0 ? height : 0;
        Allocate(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
        width_ = width;  // only once the allocation succeeded
        height_ = height;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    size_t stride() const { return static_cast<size_t>(width_) * 3; }  // bytes per row

    uint8_t* row(int y) { return pixels_.get() + static_cast<size_t>(y) * stride(); }
    const uint8_t* row(int y) const { return pixels_.get() + static_cast<size_t>(y) * stride(); }
    uint8_t* data() { return pixels_.get(); }
    const uint8_t* data() const { return pixels_.get(); }
    size_t size_bytes() const { return size_; }

    friend bool operator==(const Image& a, const Image& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ &&
               std::equal(a.pixels_.get(), a.pixels_.get() + a.size_, b.pixels_.get());
    }

  private:
    // Makes room for `size` bytes, keeping the allocation when it is large enough.
    void Allocate(size_t size) {
        if (size > capacity_) {
            pixels_ = std::make_unique_for_overwrite<uint8_t[]>(size);
            capacity_ = size;
        }
        size_ = size;
    }

    int width_ = 0;
    int height_ = 0;
    size_t size_ = 0;                    // bytes in use
    size_t capacity_ = 0;                // bytes allocated
    std::unique_ptr<uint8_t[]> pixels_;  // R, G, B per pixel
};

}  // namespace pelimon
