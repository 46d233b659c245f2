// 32-bit pixel surfaces: owned or viewing someone else's rows.
#include "Surface.h"

#include <algorithm>

namespace {
// Surfaces larger than this many pixels are refused (an empty surface results).
constexpr long long kMaximumPixels = 1LL << 28;
}  // namespace

Surface::Surface(int width, int height) {
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaximumPixels) return;
    storage_.assign(static_cast<size_t>(width) * height, 0);
    width_ = width;
    height_ = height;
    firstRow_ = storage_.data();
    stride_ = width;
}

Surface::Surface(int width, int height, uint32_t* firstRow, std::ptrdiff_t stridePixels)
    : width_(width), height_(height), firstRow_(firstRow), stride_(stridePixels) {}

Surface::Surface(Surface&& other) noexcept { *this = std::move(other); }

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other) return *this;
    const bool owned = other.firstRow_ == other.storage_.data() && !other.storage_.empty();
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    storage_ = std::move(other.storage_);
    firstRow_ = owned ? storage_.data() : other.firstRow_;
    other.width_ = other.height_ = 0;
    other.firstRow_ = nullptr;
    other.stride_ = 0;
    other.storage_.clear();
    return *this;
}

void Surface::Fill(uint32_t pixel) {
    for (int y = 0; y < height_; ++y) std::fill_n(Row(y), width_, pixel);
}
