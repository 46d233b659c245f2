// A pixel buffer for the tests, laid out top-down or bottom-up with padded rows.
#pragma once

#include "ImageData.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class TestImage {
public:
    TestImage(int type, int width, int height, bool bottomUp = false) {
        const int pixelSize = ImagePixelSize(type);
        const int rowBytes = (width * pixelSize + 3) / 4 * 4;
        buffer_.assign(size_t(rowBytes) * height, 0);
        view_.type = type;
        view_.width = width;
        view_.height = height;
        view_.pixelStep = pixelSize;
        view_.lineStep = bottomUp ? -rowBytes : rowBytes;
        view_.data = buffer_.data() + (bottomUp ? size_t(rowBytes) * (height - 1) : 0);
    }

    IMAGEDATA view() const { return view_; }
    uint8_t* Pixel(int x, int y) { return ImagePixel(view_, x, y); }
    uint8_t& At(int x, int y, int byteIndex = 0) { return Pixel(x, y)[byteIndex]; }

    // Sets every byte of every pixel.
    void Fill(uint8_t value) {
        for (int y = 0; y < view_.height; ++y)
            for (int x = 0; x < view_.width; ++x)
                for (int k = 0; k < view_.pixelStep; ++k) At(x, y, k) = value;
    }

    // Sets the first byte of the pixels row by row from a list.
    void SetRows(std::initializer_list<int> values) {
        int index = 0;
        for (int value : values) {
            At(index % view_.width, index / view_.width) = uint8_t(value);
            ++index;
        }
    }

    // The first bytes row by row.
    std::vector<int> Rows() {
        std::vector<int> values;
        for (int y = 0; y < view_.height; ++y)
            for (int x = 0; x < view_.width; ++x) values.push_back(At(x, y));
        return values;
    }

    void SetBgr(int x, int y, int blue, int green, int red) {
        At(x, y, 0) = uint8_t(blue);
        At(x, y, 1) = uint8_t(green);
        At(x, y, 2) = uint8_t(red);
    }

    const std::vector<uint8_t>& Bytes() const { return buffer_; }

private:
    std::vector<uint8_t> buffer_;
    IMAGEDATA view_;
};
