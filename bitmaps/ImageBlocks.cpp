// Image operations over blocks and neighbourhoods: block resolution
// reduction, thinning and pattern search.
#include "ImageColors.h"

#include "ImagePixelAccess.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace image_pixel_access;

namespace {

// How ResoluteImage reads the block values of one image. Coordinates past the
// last column or row are clamped to it, so a block is a few distinct pixels
// with weights; a histogram of those weights gives every mode without
// gathering (or allocating for) blockWidth x blockHeight values.
struct BlockReader {
    IMAGEDATA image;
    int blockWidth;
    int blockHeight;
    int mode;
    bool useIntensity;
    int channels;

    // How many block rows (or columns) from `start` of `size` fall on `index`.
    static int64_t ClampedWeight(int64_t start, int64_t size, int64_t limit, int64_t index) {
        return index < limit - 1 ? 1 : start + size - (limit - 1);
    }

    // Reused between blocks; only the bins from lowest to highest are ever
    // non-zero, and they are cleared after each block.
    mutable int64_t histogram[256] = {};

    // The value of the block with top-left (x, y) in channel l.
    uint8_t BlockValue(int64_t x, int64_t y, int l) const {
        const int64_t lastRow = std::min<int64_t>(y + blockHeight, image.height) - 1;
        const int64_t lastColumn = std::min<int64_t>(x + blockWidth, image.width) - 1;
        int lowest = 255, highest = 0;
        for (int64_t row = y; row <= lastRow; ++row) {
            const int64_t rowWeight = ClampedWeight(y, blockHeight, image.height, row);
            for (int64_t column = x; column <= lastColumn; ++column) {
                const int64_t weight = rowWeight * ClampedWeight(x, blockWidth, image.width, column);
                const uint8_t value = PixelValue(ImagePixel(image, int(column), int(row)), l, useIntensity);
                histogram[value] += weight;
                lowest = std::min<int>(lowest, value);
                highest = std::max<int>(highest, value);
            }
        }
        const uint8_t result = Combine(lowest, highest, int64_t(blockWidth) * blockHeight);
        std::fill(histogram + lowest, histogram + highest + 1, 0);
        return result;
    }

    uint8_t Combine(int lowest, int highest, int64_t count) const {
        switch (mode) {
        case rimMean: {
            unsigned __int128 sum = 0;
            for (int v = lowest; v <= highest; ++v) sum += (unsigned __int128)histogram[v] * unsigned(v);
            return uint8_t(sum / (unsigned __int128)count);
        }
        case rimMinimum:
            return uint8_t(lowest);
        case rimMedian: {
            // The value at index count / 2 of the ascending order.
            int value = lowest;
            int64_t seen = histogram[value];
            while (seen <= count / 2) seen += histogram[++value];
            return uint8_t(value);
        }
        default:
            return uint8_t(highest);
        }
    }
};

bool ValidBlocks(int blockWidth, int blockHeight, int mode) {
    return blockWidth >= 1 && blockHeight >= 1 && mode >= rimMean && mode <= rimMaximum;
}

BlockReader MakeBlockReader(const IMAGEDATA& image, int blockWidth, int blockHeight, int mode, bool perChannel) {
    const bool colour = image.type == idtBgr24;
    return BlockReader{image, blockWidth, blockHeight, mode, colour && !perChannel, (colour && perChannel) ? 3 : 1};
}

long long BlockCount(int size, int block) { return (size + (long long)block - 1) / block; }

// Calls visit(x, y, channel, value) for every block, x and y its top-left.
template <typename Visit>
void ForEachBlockValue(const BlockReader& reader, Visit visit) {
    for (int64_t y = 0; y < reader.image.height; y += reader.blockHeight) {
        for (int64_t x = 0; x < reader.image.width; x += reader.blockWidth) {
            for (int l = 0; l < reader.channels; ++l) {
                visit(x, y, l, reader.BlockValue(x, y, l));
            }
        }
    }
}

}  // namespace

bool ResoluteImage(IMAGEDATA image, int blockWidth, int blockHeight, int mode, bool perChannel) {
    if (!ValidBlocks(blockWidth, blockHeight, mode)) {
        return false;
    }
    if (!ImageHasPixels(image)) {
        return true;
    }
    const BlockReader reader = MakeBlockReader(image, blockWidth, blockHeight, mode, perChannel);
    ForEachBlockValue(reader, [&](int64_t x, int64_t y, int l, uint8_t value) {
        const int64_t bottom = std::min<int64_t>(y + blockHeight, image.height);
        const int64_t right = std::min<int64_t>(x + blockWidth, image.width);
        for (int64_t row = y; row < bottom; ++row) {
            for (int64_t column = x; column < right; ++column) {
                StorePixelValue(ImagePixel(image, int(column), int(row)), l, reader.useIntensity, value);
            }
        }
    });
    return true;
}

bool ResoluteImage(IMAGEDATA source, IMAGEDATA destination, int blockWidth, int blockHeight, int mode,
                   bool perChannel) {
    if (!ValidBlocks(blockWidth, blockHeight, mode) || source.type != destination.type) {
        return false;
    }
    if (!ImageHasPixels(source)) {
        return true;
    }
    if (!ImageHasPixels(destination) ||
        !CoversSize(destination, BlockCount(source.width, blockWidth), BlockCount(source.height, blockHeight))) {
        return false;
    }
    const BlockReader reader = MakeBlockReader(source, blockWidth, blockHeight, mode, perChannel);
    ForEachBlockValue(reader, [&](int64_t x, int64_t y, int l, uint8_t value) {
        uint8_t* target = ImagePixel(destination, int(x / blockWidth), int(y / blockHeight));
        StorePixelValue(target, l, reader.useIntensity, value);
    });
    return true;
}

int ThinImage(IMAGEDATA image, int threshold) {
    if (!ImageHasPixels(image) || image.type != idtGray8) {
        return 0;
    }
    // Every decision is taken on the image as it was.
    std::vector<uint8_t> original(size_t(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            original[size_t(y) * image.width + x] = *ImagePixel(image, x, y);
        }
    }
    auto isSet = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < image.width && y < image.height && original[size_t(y) * image.width + x] == 255;
    };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    count += (dx != 0 || dy != 0) && isSet(x + dx, y + dy);
                }
            }
            *ImagePixel(image, x, y) = count >= threshold ? 255 : 0;
        }
    }
    return 1;
}

namespace {

// A packed image that owns its pixels, for the reduced and rotated copies.
struct OwnedImage {
    std::vector<uint8_t> pixels;
    IMAGEDATA view;

    OwnedImage(int type, int width, int height)
        : pixels(size_t(width) * height * ImagePixelSize(type)) {
        view = MakeImageData(pixels.data(), type, width, height);
    }
    // Moving keeps the buffer, so the view stays valid; a copy would not.
    OwnedImage(OwnedImage&&) = default;
    OwnedImage& operator=(OwnedImage&&) = default;
    OwnedImage(const OwnedImage&) = delete;
    OwnedImage& operator=(const OwnedImage&) = delete;
};

OwnedImage ReducedImage(const IMAGEDATA& image, int blockWidth, int blockHeight) {
    OwnedImage reduced(image.type, int(BlockCount(image.width, blockWidth)), int(BlockCount(image.height, blockHeight)));
    ResoluteImage(image, reduced.view, blockWidth, blockHeight, rimMean, true);
    return reduced;
}

OwnedImage CopiedImage(const IMAGEDATA& image) {
    OwnedImage copy(image.type, image.width, image.height);
    CopyImage(copy.view, image);
    return copy;
}

// Mean absolute difference of the first bytes over the pattern pixels whose
// first byte is not 0, over 255; a pattern without such pixels scores 1.
double PatternScore(const IMAGEDATA& image, const IMAGEDATA& pattern, int x, int y) {
    long long sum = 0;
    long long count = 0;
    for (int row = 0; row < pattern.height; ++row) {
        for (int column = 0; column < pattern.width; ++column) {
            const uint8_t wanted = *ImagePixel(pattern, column, row);
            if (wanted != 0) {
                sum += std::abs(int(*ImagePixel(image, x + column, y + row)) - int(wanted));
                ++count;
            }
        }
    }
    return count == 0 ? 1.0 : double(sum) / (255.0 * double(count));
}

// The ranked list of hits and the admission rule of PatternMatch.
struct MatchRanking {
    std::vector<PATTERN_MATCH_ITEM>& results;
    float limit;
    double best = DBL_MAX;

    void Offer(const PATTERN_MATCH_ITEM& item) {
        if (!(item.score < best)) {
            return;
        }
        auto place = std::lower_bound(results.begin(), results.end(), item.score,
                                      [](const PATTERN_MATCH_ITEM& held, double score) { return held.score < score; });
        const size_t index = size_t(place - results.begin());
        const bool admitted = (limit > 0 && double(index) < std::trunc(limit)) ||
                              (limit < 0 && item.score < std::fabs(limit));
        if (admitted) {
            results.insert(place, item);
            if (limit > 0 && double(results.size()) > std::trunc(limit)) {
                results.pop_back();
            }
        }
        if (!results.empty()) {
            best = results.back().score;
        }
    }
};

}  // namespace

void PatternMatch(IMAGEDATA image, IMAGEDATA pattern, float limit, std::vector<PATTERN_MATCH_ITEM>& results,
                  int blockWidth, int blockHeight, double angle0, double angleStep, int angles) {
    results.clear();
    if (limit > 0) {
        results.reserve(size_t(std::min(limit, 1e6f)));
    }
    if (!ImageHasPixels(image) || !ImageHasPixels(pattern) || image.type != pattern.type) {
        return;
    }
    if (blockWidth < 1 || blockHeight < 1 || angles < 1) {
        return;
    }
    const bool reduce = blockWidth != 1 || blockHeight != 1;
    OwnedImage searched = reduce ? ReducedImage(image, blockWidth, blockHeight) : CopiedImage(image);
    OwnedImage fixedPattern = (reduce && angles == 1) ? ReducedImage(pattern, blockWidth, blockHeight)
                                                      : CopiedImage(pattern);

    MatchRanking ranking{results, limit};
    for (int i = 0; i < angles; ++i) {
        const double angle = angle0 + i * angleStep;
        OwnedImage rotated(pattern.type, pattern.width, pattern.height);
        IMAGEDATA current = fixedPattern.view;
        OwnedImage rotatedReduced(pattern.type, 0, 0);
        if (angles > 1) {
            RotateImage(rotated.view, pattern, angle, -1, -1, -1, -1);
            current = rotated.view;
            if (reduce) {
                rotatedReduced = ReducedImage(rotated.view, blockWidth, blockHeight);
                current = rotatedReduced.view;
            }
        }
        const IMAGEDATA& target = searched.view;
        for (int y = 0; y <= target.height - current.height; ++y) {
            for (int x = 0; x <= target.width - current.width; ++x) {
                PATTERN_MATCH_ITEM item;
                item.score = PatternScore(target, current, x, y);
                item.angle = angle;
                item.x = x * blockWidth;
                item.y = y * blockHeight;
                ranking.Offer(item);
            }
        }
    }
}
