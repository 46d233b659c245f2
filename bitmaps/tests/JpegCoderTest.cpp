// The JPEG coder: decoding, encoding, damaged data, and agreement with djpeg.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BitmapTestSupport.h"
#include "JpegCoder.h"

using namespace bitmap_tests;

namespace {

// A smooth picture with some edges, as B, G, R or gray bytes.
std::vector<uint8_t> TestPicture(int width, int height, int pixelSize) {
    std::vector<uint8_t> bytes(size_t(width) * height * pixelSize);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < pixelSize; ++k)
                bytes[(size_t(y) * width + x) * pixelSize + k] = uint8_t(k == 0   ? x * 255 / width
                                                                         : k == 1 ? y * 255 / height
                                                                                  : (x + y) * 255 / (width + height));
    return bytes;
}

std::vector<uint8_t> Encode(const IMAGEDATA& view, int quality) {
    void* block = nullptr;
    int length = 0;
    EXPECT_TRUE(CreateJPEG(view, &block, &length, quality));
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + length);
    std::free(block);
    return bytes;
}

std::vector<uint8_t> EncodedPicture(int width, int height, int pixelSize, int quality) {
    std::vector<uint8_t> picture = TestPicture(width, height, pixelSize);
    return Encode(MakeImageData(picture.data(), pixelSize == 1 ? idtGray8 : idtBgr24, width, height), quality);
}

// Frame markers present: C0 baseline, C1 extended, C2 progressive.
std::vector<int> FrameMarkers(const std::vector<uint8_t>& jpeg) {
    std::vector<int> markers;
    for (size_t i = 2; i + 3 < jpeg.size();) {
        if (jpeg[i] != 0xFF) break;
        const int marker = jpeg[i + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            markers.push_back(marker);
        if (marker == 0xDA) break;
        i += 2 + size_t(jpeg[i + 2] << 8 | jpeg[i + 3]);
    }
    return markers;
}

struct Decoded {
    IMAGEDATA view;
    std::unique_ptr<uint8_t[]> pixels;
};

Decoded Decode(const std::vector<uint8_t>& jpeg) {
    Decoded decoded;
    ReadJPEG(jpeg.data(), int(jpeg.size()), decoded.view);
    decoded.pixels.reset(decoded.view.data);
    return decoded;
}

TEST(JpegCoder, GrayPictureDecodesToOneBytePixels) {
    const Decoded decoded = Decode(EncodedPicture(17, 5, 1, 90));
    EXPECT_EQ(decoded.view.type, idtGray8);
    EXPECT_EQ(decoded.view.width, 17);
    EXPECT_EQ(decoded.view.height, 5);
    EXPECT_EQ(decoded.view.pixelStep, 1);
    EXPECT_EQ(decoded.view.lineStep, 17);
}

TEST(JpegCoder, ColourPixelsComeOutBlueGreenRed) {
    std::vector<uint8_t> red(8 * 8 * 3);
    for (size_t i = 0; i < red.size(); i += 3) red[i + 2] = 255;
    const Decoded decoded = Decode(Encode(MakeImageData(red.data(), idtBgr24, 8, 8), 95));
    ASSERT_EQ(decoded.view.type, idtBgr24);
    EXPECT_EQ(decoded.view.pixelStep, 3);
    EXPECT_EQ(decoded.view.lineStep, 24);
    EXPECT_LE(decoded.pixels[0], 3);
    EXPECT_LE(decoded.pixels[1], 3);
    EXPECT_GE(decoded.pixels[2], 250);
}

TEST(JpegCoder, EveryQualityGivesABaselineFile) {
    for (int quality : {1, 64, 90, 100, 250}) {
        SCOPED_TRACE(quality);
        for (int pixelSize : {1, 3})
            EXPECT_EQ(FrameMarkers(EncodedPicture(20, 12, pixelSize, quality)), std::vector<int>{0xC0});
    }
}

TEST(JpegCoder, QualityNinetyRoundTripStaysClose) {
    const int width = 64, height = 48;
    const std::vector<uint8_t> picture = TestPicture(width, height, 3);
    const Decoded decoded =
        Decode(Encode(MakeImageData(const_cast<uint8_t*>(picture.data()), idtBgr24, width, height), 90));
    ASSERT_EQ(decoded.view.width, width);
    ASSERT_EQ(decoded.view.height, height);
    double total = 0;
    int worst = 0;
    for (size_t i = 0; i < picture.size(); ++i) {
        const int error = std::abs(int(picture[i]) - int(decoded.pixels[i]));
        total += error;
        worst = std::max(worst, error);
    }
    EXPECT_LT(total / picture.size(), 3.0);
    EXPECT_LT(worst, 40);
}

TEST(JpegCoder, SixteenBitViewsAreEncodedAsColour) {
    std::vector<uint8_t> words(4 * 4 * 2);
    for (size_t i = 0; i < words.size(); i += 2) {
        words[i] = 0x00;
        words[i + 1] = 0xF8;  // pure red in 5-6-5
    }
    const Decoded decoded = Decode(Encode(MakeImageData(words.data(), idtRgb565, 4, 4), 95));
    ASSERT_EQ(decoded.view.type, idtBgr24);
    EXPECT_GE(decoded.pixels[2], 240);
    EXPECT_LE(decoded.pixels[0], 8);
}

TEST(JpegCoder, HeaderGivesTypeAndSizeOnly) {
    const std::vector<uint8_t> jpeg = EncodedPicture(30, 20, 3, 80);
    IMAGEDATA header;
    uint8_t marker = 0;
    header.data = &marker;
    header.pixelStep = 7;
    ReadJPEGHeader(jpeg.data(), int(jpeg.size()), header);
    EXPECT_EQ(header.type, idtBgr24);
    EXPECT_EQ(header.width, 30);
    EXPECT_EQ(header.height, 20);
    EXPECT_EQ(header.data, &marker);
    EXPECT_EQ(header.pixelStep, 7);
}

TEST(JpegCoder, FilesAndTheirFailures) {
    ScratchFolder folder;
    const std::vector<uint8_t> picture = TestPicture(9, 7, 3);
    WriteJPEG(MakeImageData(const_cast<uint8_t*>(picture.data()), idtBgr24, 9, 7), (folder / "p.jpg").c_str(), 75);
    IMAGEDATA view;
    ReadJPEGHeader((folder / "p.jpg").c_str(), view);
    EXPECT_EQ(view.width, 9);
    ReadJPEG((folder / "p.jpg").c_str(), view);
    delete[] view.data;
    EXPECT_THROW(ReadJPEG((folder / "missing.jpg").c_str(), view), TJPEGFileException);
    EXPECT_THROW(ReadJPEGHeader((folder / "missing.jpg").c_str(), view), TJPEGFileException);
    EXPECT_THROW(WriteJPEG(MakeImageData(const_cast<uint8_t*>(picture.data()), idtBgr24, 9, 7),
                           (folder / "no/such/folder.jpg").c_str(), 75),
                 TJPEGFileException);
    EXPECT_THROW(WriteJPEG(IMAGEDATA(), (folder / "empty.jpg").c_str(), 75), TJPEGFileException);
}

TEST(JpegCoder, ViewsThatCannotBeEncoded) {
    std::vector<uint8_t> bytes(64);
    struct Case {
        const char* name;
        IMAGEDATA view;
    };
    IMAGEDATA wide = MakeImageData(bytes.data(), idtGray8, 70000, 1);
    IMAGEDATA fourBytes = MakeImageData(bytes.data(), idtBytes4, 2, 2);
    IMAGEDATA noPixels = MakeImageData(bytes.data(), idtGray8, 0, 4);
    IMAGEDATA noData = MakeImageData(nullptr, idtGray8, 4, 4);
    const Case cases[] = {{"too wide", wide}, {"four bytes", fourBytes}, {"no pixels", noPixels}, {"no data", noData}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* block = &bytes;
        int length = 5;
        EXPECT_FALSE(CreateJPEG(c.view, &block, &length, 80));
        EXPECT_EQ(block, nullptr);
        EXPECT_EQ(length, 0);
    }
}

// Damaged data fails with the exception or decodes; a truncated file decodes
// at its full size as if it ended there.
TEST(JpegCoder, DamagedDataFailsCleanly) {
    const std::vector<uint8_t> good = EncodedPicture(40, 24, 3, 85);
    size_t scan = 0;
    while (scan + 1 < good.size() && !(good[scan] == 0xFF && good[scan + 1] == 0xDA)) ++scan;
    ASSERT_LT(scan + 40, good.size());
    std::vector<uint8_t> huge = good;
    // The frame header's height and width (SOF0 is found by FrameMarkers' walk).
    for (size_t i = 2; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0xFF;
            break;
        }
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool decodes;
    };
    const Case cases[] = {
        {"empty", {}, false},
        {"not a JPEG", {'B', 'M', 0, 0, 0, 0}, false},
        {"start marker only", {0xFF, 0xD8}, false},
        {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(scan / 2)), false},
        {"cut in the scan",
         std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(scan + (good.size() - scan) / 2)), true},
        {"huge frame", huge, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IMAGEDATA view;
        if (!c.decodes) {
            EXPECT_THROW(ReadJPEG(c.bytes.data(), int(c.bytes.size()), view), TJPEGFileException);
            EXPECT_EQ(view.data, nullptr);
            continue;
        }
        ReadJPEG(c.bytes.data(), int(c.bytes.size()), view);
        EXPECT_EQ(view.width, 40);
        EXPECT_EQ(view.height, 24);
        delete[] view.data;
    }
    IMAGEDATA view;
    EXPECT_THROW(ReadJPEG(good.data(), -1, view), TJPEGFileException);
}

TEST(JpegCoder, FuzzedDataNeverCrashes) {
    const std::vector<uint8_t> seeds[] = {EncodedPicture(24, 16, 3, 70), EncodedPicture(19, 11, 1, 50)};
    Damage damage(1401);
    int decoded = 0;
    for (int round = 0; round < 400; ++round) {
        const std::vector<uint8_t> bytes = damage.Next(seeds[round % 2]);
        IMAGEDATA view;
        try {
            ReadJPEGHeader(bytes.data(), int(bytes.size()), view);
            ReadJPEG(bytes.data(), int(bytes.size()), view);
            ASSERT_NE(view.data, nullptr);
            volatile uint8_t last = view.data[size_t(view.lineStep) * view.height - 1];
            (void)last;
            delete[] view.data;
            ++decoded;
        } catch (const TJPEGFileException&) {
        }
    }
    EXPECT_GT(decoded, 0);
}

// ---- Agreement with djpeg ----

bool HaveDjpeg() { return access("/usr/bin/djpeg", X_OK) == 0 || std::system("command -v djpeg >/dev/null 2>&1") == 0; }

// Pixels of a binary PPM or PGM file as djpeg writes it.
bool ReadNetpbm(const std::string& path, int& width, int& height, int& channels, std::vector<uint8_t>& pixels) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    size_t at = 0;
    auto token = [&]() {
        std::string text;
        while (at < bytes.size() && std::isspace(bytes[at])) ++at;
        while (at < bytes.size() && !std::isspace(bytes[at])) text += char(bytes[at++]);
        return text;
    };
    const std::string magic = token();
    if (magic != "P6" && magic != "P5") return false;
    channels = magic == "P6" ? 3 : 1;
    width = std::atoi(token().c_str());
    height = std::atoi(token().c_str());
    if (std::atoi(token().c_str()) != 255) return false;
    ++at;
    if (bytes.size() - at != size_t(width) * height * channels) return false;
    pixels.assign(bytes.begin() + std::ptrdiff_t(at), bytes.end());
    return true;
}

TEST(JpegCoder, DecodingMatchesDjpeg) {
    if (!HaveDjpeg()) GTEST_SKIP() << "djpeg is not installed";
    ScratchFolder folder;
    struct Case {
        int width, height, pixelSize, quality;
    };
    const Case cases[] = {{37, 29, 3, 75}, {64, 48, 3, 95}, {33, 17, 1, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.pixelSize);
        const std::vector<uint8_t> jpeg = EncodedPicture(c.width, c.height, c.pixelSize, c.quality);
        const std::string input = folder / "input.jpg";
        const std::string output = folder / "output.pnm";
        WriteBytes(input, jpeg);
        ASSERT_EQ(std::system(("djpeg -outfile '" + output + "' '" + input + "'").c_str()), 0);
        int width = 0, height = 0, channels = 0;
        std::vector<uint8_t> reference;
        ASSERT_TRUE(ReadNetpbm(output, width, height, channels, reference));
        const Decoded decoded = Decode(jpeg);
        ASSERT_EQ(decoded.view.width, width);
        ASSERT_EQ(decoded.view.height, height);
        ASSERT_EQ(decoded.view.pixelStep, channels);
        int worst = 0;
        for (size_t i = 0; i < reference.size(); i += size_t(channels))
            for (int k = 0; k < channels; ++k) {
                // djpeg writes R, G, B; the view holds B, G, R.
                const int ours = decoded.pixels[i + size_t(channels == 3 ? 2 - k : k)];
                worst = std::max(worst, std::abs(ours - int(reference[i + size_t(k)])));
            }
        EXPECT_LE(worst, 1);
    }
}

}  // namespace
