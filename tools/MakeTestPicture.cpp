// Build-time tool: writes a JPEG test picture: a photograph-like one (smooth
// gradients, hard edges and fine noise) from a fixed seed, in colour or gray,
// or a test card (a grey gradient, a grid every 50 pixels and saturated red,
// green, blue and white corner blocks, as the demonstration program shows).
//
// usage: MakeTestPicture <output.jpg> <width> <height> <quality> [gray|card]
// The same arguments give the same pixels on every machine. Photographs are
// coded by the installed JPEG library directly, so that the suite's decoder
// is checked against pictures it had no part in; the card by the suite's own
// baseline encoder (CreateJPEG). Run it headless (SUITE_DISPLAY=headless).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "ImageData.h"
#include "JpegCoder.h"

namespace {

// A small linear congruential generator: the picture must not depend on the
// standard library's generators.
class Noise {
public:
    int Next(int range) {
        state_ = state_ * 1103515245u + 12345u;
        return int((state_ >> 16) % unsigned(range));
    }

private:
    unsigned state_ = 20240607u;
};

int Clamp(int value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

// Red, green and blue of pixel (x, y): a sky-like vertical gradient, a warm
// horizontal one, a checkered block pattern and a disc with hard edges, all
// under a little noise.
void Paint(int x, int y, int width, int height, Noise& noise, unsigned char* rgb) {
    int red = 40 + x * 150 / width;
    int green = 60 + y * 120 / height;
    int blue = 200 - y * 140 / height;
    if (((x / 97) + (y / 61)) % 2 == 0) {
        red = red * 3 / 4;
        green += 30;
    }
    const long dx = x - width * 2L / 3, dy = y - height / 3L, radius = (width < height ? width : height) / 5L;
    if (dx * dx + dy * dy < radius * radius) {
        red = 230;
        green = 190 - int(dy * 40 / (radius + 1));
        blue = 40;
    }
    if ((x + y) / 23 % 7 == 0) blue = blue / 2;
    const int grain = noise.Next(25) - 12;
    rgb[0] = static_cast<unsigned char>(Clamp(red + grain));
    rgb[1] = static_cast<unsigned char>(Clamp(green + grain));
    rgb[2] = static_cast<unsigned char>(Clamp(blue + noise.Next(9) - 4));
}

bool WritePicture(const char* path, int width, int height, int quality, bool gray) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> rgb(size_t(width) * 3), row(size_t(width) * (gray ? 1 : 3));
    Noise noise;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) Paint(x, y, width, height, noise, &rgb[size_t(x) * 3]);
        for (int x = 0; gray && x < width; ++x)
            row[size_t(x)] = static_cast<unsigned char>((rgb[3 * x] * 77 + rgb[3 * x + 1] * 150 + rgb[3 * x + 2] * 29) >> 8);
        JSAMPROW line = gray ? row.data() : rgb.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

// The test card's pixel (x, y) as blue, green, red: corner blocks of 64 x 64
// pixels (at most a quarter of each side) over a grid on a gradient that
// runs from dark at the top left to light at the bottom right.
void PaintCard(int x, int y, int width, int height, unsigned char* bgr) {
    const int block = std::min(64, std::min(width, height) / 4);
    const bool left = x < block, right = x >= width - block, top = y < block, bottom = y >= height - block;
    int red, green, blue;
    if ((left || right) && (top || bottom)) {
        red = (top && left) || (bottom && right) ? 255 : 0;
        green = (top && right) || (bottom && right) ? 255 : 0;
        blue = bottom ? 255 : 0;
    } else if (x % 50 == 0 || y % 50 == 0) {
        red = green = blue = 24;
    } else {
        red = green = blue = 48 + int(160L * (x + y) / (width + height - 1));
    }
    bgr[0] = static_cast<unsigned char>(blue);
    bgr[1] = static_cast<unsigned char>(green);
    bgr[2] = static_cast<unsigned char>(red);
}

bool WriteCard(const char* path, int width, int height, int quality) {
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) PaintCard(x, y, width, height, &pixels[(size_t(y) * width + x) * 3]);
    IMAGEDATA view;
    view.data = pixels.data();
    view.type = idtBgr24;
    view.width = width;
    view.height = height;
    view.pixelStep = 3;
    view.lineStep = width * 3;
    void* block = nullptr;
    int length = 0;
    if (!CreateJPEG(view, &block, &length, quality)) return false;
    FILE* file = std::fopen(path, "wb");
    bool written = file != nullptr && std::fwrite(block, 1, size_t(length), file) == size_t(length);
    if (file != nullptr && std::fclose(file) != 0) written = false;
    std::free(block);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    const bool gray = argc == 6 && std::strcmp(argv[5], "gray") == 0;
    const bool card = argc == 6 && std::strcmp(argv[5], "card") == 0;
    if (argc < 5 || argc > 6 || (argc == 6 && !gray && !card)) {
        std::fprintf(stderr, "usage: MakeTestPicture <output.jpg> <width> <height> <quality> [gray|card]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]), quality = std::atoi(argv[4]);
    if (width < 1 || height < 1 || width > 65500 || height > 65500 || quality < 1 || quality > 100) {
        std::fprintf(stderr, "MakeTestPicture: size 1..65500 and quality 1..100\n");
        return 2;
    }
    if (card ? !WriteCard(argv[1], width, height, quality) : !WritePicture(argv[1], width, height, quality, gray)) {
        std::fprintf(stderr, "MakeTestPicture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
