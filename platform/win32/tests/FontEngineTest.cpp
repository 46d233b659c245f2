// Font realisation: face substitution, heights, metrics, advances, glyphs and rotation.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "FontEngine.h"
#include "FontLookup.h"

namespace {

using win32::FontRequest;
using win32::RealizeFont;

FontRequest Request(LONG height, const char* face, LONG weight = 400, bool italic = false, LONG escapement = 0) {
    FontRequest request;
    request.height = height;
    request.weight = weight;
    request.italic = italic;
    request.escapement = escapement;
    request.faceName = face;
    return request;
}

TEST(FontEngine, ClassicFacesMapToInstalledOnes) {
    struct Case {
        const char* requested;
        const char* family;
    };
    const Case cases[] = {
        {"Arial", "Liberation Sans"},     {"times new roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"}, {"MS Sans Serif", "Liberation Sans"},
        {"System", "Liberation Sans"},    {"No Such Face 123", "DejaVu Sans"},
    };
    for (const Case& c : cases) {
        auto font = RealizeFont(Request(-12, c.requested));
        EXPECT_EQ(font->Metrics().faceName, c.family) << c.requested;
    }
}

TEST(FontEngine, NegativeHeightIsEmPositiveIsCell) {
    auto em = RealizeFont(Request(-13, "Arial"));
    EXPECT_EQ(em->Metrics().height - em->Metrics().internalLeading, 13);
    EXPECT_GT(em->Metrics().internalLeading, 0);
    for (LONG cell : {1, 7, 12, 16, 40}) {
        auto font = RealizeFont(Request(cell, "Arial"));
        EXPECT_EQ(font->Metrics().height, cell);
        EXPECT_EQ(font->Metrics().ascent + font->Metrics().descent, cell);
    }
    EXPECT_EQ(RealizeFont(Request(0, "Arial"))->Metrics().height, 16);
}

TEST(FontEngine, WidthsAndHeightsNeverZero) {
    for (LONG height : {1, -1, 2, 0}) {
        auto font = RealizeFont(Request(height, "Arial"));
        EXPECT_GE(font->Metrics().height, 1);
        EXPECT_GE(font->Metrics().averageCharWidth, 1);
        for (int byte = 0; byte < 256; ++byte) EXPECT_GE(font->Advance(static_cast<unsigned char>(byte)), 1) << byte;
    }
}

TEST(FontEngine, FixedPitchFaceHasEqualAdvances) {
    auto font = RealizeFont(Request(-13, "Courier New"));
    EXPECT_TRUE(font->Metrics().fixedPitch);
    int width = font->Metrics().averageCharWidth;
    for (char c : std::string("iiWW m.\xF5\xE1")) EXPECT_EQ(font->Advance(static_cast<unsigned char>(c)), width);
    EXPECT_EQ(font->Metrics().maxCharWidth, width);
    EXPECT_EQ(font->TextWidth("abcdef", 6), 6 * width);
}

TEST(FontEngine, BoldIsWiderThanRegular) {
    auto regular = RealizeFont(Request(-20, "Arial"));
    auto bold = RealizeFont(Request(-20, "Arial", 700));
    EXPECT_GT(bold->TextWidth("Hello world", 11), regular->TextWidth("Hello world", 11));
    // A face without a bold style gets a made-up one, also wider.
    auto madeUp = RealizeFont(Request(-20, "DejaVu Sans Mono", 700));
    auto plain = RealizeFont(Request(-20, "DejaVu Sans Mono"));
    EXPECT_GE(madeUp->Advance('m'), plain->Advance('m'));
}

TEST(FontEngine, SameRequestSharesOneFontAndEscapementWraps) {
    EXPECT_EQ(RealizeFont(Request(-12, "Arial")), RealizeFont(Request(-12, "arial")));
    EXPECT_EQ(RealizeFont(Request(-12, "Arial", 400, false, 3600)), RealizeFont(Request(-12, "Arial")));
    EXPECT_EQ(RealizeFont(Request(-12, "Arial", 400, false, -900))->Escapement(), 2700);
    EXPECT_EQ(RealizeFont(Request(-12, "Arial", 400, false, 4500))->Escapement(), 900);
}

// Extent of the inked pixels of a glyph, relative to its origin (y down).
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
};

Ink InkOf(const win32::Glyph& glyph) {
    Ink ink;
    for (int row = 0; row < glyph.rows; ++row) {
        for (int column = 0; column < glyph.width; ++column) {
            if (glyph.coverage[size_t(row) * glyph.width + column] < 128) continue;
            ink.left = std::min(ink.left, glyph.left + column);
            ink.right = std::max(ink.right, glyph.left + column + 1);
            ink.top = std::min(ink.top, row - glyph.top);
            ink.bottom = std::max(ink.bottom, row - glyph.top + 1);
        }
    }
    return ink;
}

TEST(FontEngine, GlyphsAreRenderedAndTurnedByEscapement) {
    std::vector<const win32::Glyph*> glyphs;
    auto upright = RealizeFont(Request(-40, "Arial"));
    upright->GetGlyphs("l", 1, glyphs);
    Ink tall = InkOf(*glyphs[0]);
    EXPECT_GT(tall.bottom - tall.top, 3 * (tall.right - tall.left));
    EXPECT_LE(tall.bottom, 1);  // sits on the baseline
    EXPECT_GE(tall.left, 0);

    auto turned = RealizeFont(Request(-40, "Arial", 400, false, 900));
    turned->GetGlyphs("l", 1, glyphs);
    Ink lying = InkOf(*glyphs[0]);
    // Turned a quarter counter-clockwise: the stem lies along the baseline, its
    // foot at the origin, rising to the left of it.
    EXPECT_GT(lying.right - lying.left, 3 * (lying.bottom - lying.top));
    EXPECT_LE(lying.right, 1 - tall.bottom + 1);
    EXPECT_EQ(lying.right - lying.left, tall.bottom - tall.top);
    EXPECT_EQ(turned->Advance('l'), upright->Advance('l'));
}

TEST(FontEngine, HungarianLettersHaveTheirOwnGlyphs) {
    auto font = RealizeFont(Request(-20, "Arial"));
    std::vector<const win32::Glyph*> glyphs;
    font->GetGlyphs("o\xF5\xFB", 3, glyphs);  // o, o double acute, u double acute
    ASSERT_EQ(glyphs.size(), 3u);
    // The double acute sits above the x-height of the plain o.
    EXPECT_LT(InkOf(*glyphs[1]).top, InkOf(*glyphs[0]).top - 2);
    EXPECT_LT(InkOf(*glyphs[2]).top, InkOf(*glyphs[0]).top - 2);
}

// Coverage of every glyph of a text, as one comparable vector.
std::vector<uint8_t> RenderedText(const FontRequest& request, const std::string& text) {
    std::vector<const win32::Glyph*> glyphs;
    RealizeFont(request)->GetGlyphs(text.data(), text.size(), glyphs);
    std::vector<uint8_t> pixels;
    for (const win32::Glyph* glyph : glyphs) {
        pixels.push_back(uint8_t(glyph->left));
        pixels.push_back(uint8_t(glyph->top));
        pixels.insert(pixels.end(), glyph->coverage.begin(), glyph->coverage.end());
    }
    return pixels;
}

TEST(FontEngine, ThreadsRealiseAndRenderTheSameGlyphs) {
    const std::string text = "Thread \xE1rv\xEDzt\xFBr\xF5 0123";
    const char* faces[] = {"Arial", "Courier New", "Times New Roman", "Verdana"};
    // Each thread walks through the same fonts, many of them new to the cache.
    auto work = [&](std::vector<std::vector<uint8_t>>& results) {
        for (int size = 30; size < 42; ++size) {
            for (const char* face : faces) results.push_back(RenderedText(Request(-size, face, 400, size % 2, size * 10), text));
        }
    };
    std::vector<std::vector<std::vector<uint8_t>>> results(6);
    std::vector<std::thread> threads;
    for (auto& result : results) threads.emplace_back(work, std::ref(result));
    for (std::thread& thread : threads) thread.join();
    std::vector<std::vector<uint8_t>> alone;
    work(alone);
    for (const auto& result : results) EXPECT_TRUE(result == alone);
}

}  // namespace
