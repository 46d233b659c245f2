// Topic layout speed: the visualizer's measure and paint passes over generated
// topics of 10 KB, 100 KB and 1 MB (plain words; words with dense font, colour
// and link tags; columns) at a layout width of 800, against Pango laying out
// and drawing the same words at the same width, face and size, and against a
// floor that only measures each word once. Pango paints its laid-out words
// alone, and once more laying them out first as the paint pass does. Prints
// the ratios at the end.
#include <benchmark/benchmark.h>

#include <cairo.h>
#include <pango/pangocairo.h>
#include <pango/pangoft2.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "VGTVisualizer.h"
#include "win32/tests/GdiCanvas.h"

namespace {

constexpr int kLayoutWidth = 800;
constexpr int kSurfaceWidth = 800;
constexpr int kSurfaceHeight = 600;

// A generated topic: its markup, and the same words as plain text (paragraph
// tags as line ends) and as a list.
struct Topic {
    TStringContainer markup;
    std::string plain;
    std::vector<std::string> words;
};

const char* const kVocabulary[] = {
    "the", "topic", "viewer", "lays", "out", "words", "line", "by", "line", "and", "wraps", "them", "at",
    "right", "limit", "of", "a", "layout", "with", "fonts", "colours", "columns", "frames", "links", "to",
    "other", "topics", "in", "help", "set", "expression", "evaluator", "function", "returns", "value",
    "argument", "integer", "string", "complex", "number", "is", "shown", "here", "for", "example", "when"};

enum class Kind { Plain, Dense, Columns };

const char* KindName(Kind kind) { return kind == Kind::Plain ? "Plain" : kind == Kind::Dense ? "Dense" : "Columns"; }

// Builds source lines of about 80 characters until the markup holds bytes bytes.
class TopicWriter {
public:
    explicit TopicWriter(Topic& topic) : topic_(topic) {}
    void Word(const std::string& word) {
        line_ += word + " ";
        topic_.words.push_back(word);
        topic_.plain += (topic_.plain.empty() || topic_.plain.back() == '\n' ? "" : " ") + word;
    }
    void Tag(const std::string& tag) { line_ += tag; }
    void Break(const std::string& tag) {
        line_ += tag;
        topic_.plain += "\n";
    }
    void EndLineIfLong() {
        if (line_.size() < 80) return;
        bytes_ += line_.size() + 1;
        topic_.markup.Add(TString(line_));
        line_.clear();
    }
    size_t Bytes() const { return bytes_ + line_.size(); }
    void Finish() {
        if (!line_.empty()) topic_.markup.Add(TString(line_));
    }

private:
    Topic& topic_;
    std::string line_;
    size_t bytes_ = 0;
};

Topic MakeTopic(Kind kind, size_t bytes) {
    Topic topic;
    TopicWriter out(topic);
    std::mt19937 random(102);
    auto word = [&] { return std::string(kVocabulary[random() % (sizeof(kVocabulary) / sizeof(kVocabulary[0]))]); };
    if (kind == Kind::Columns) out.Tag("<SETCOL=NUM=0,POS=30%,GAP=2><SETCOL=NUM=1,POS=65%,GAP=2>");
    for (int n = 0; out.Bytes() < bytes; ++n) {
        if (kind == Kind::Columns && n % 60 == 0) out.Tag("<STARTCOL>");
        if (kind == Kind::Dense) {
            switch (n % 9) {
                case 1: out.Tag("<B>"); break;
                case 2: out.Tag("</B>"); break;
                case 3: out.Tag("<FC=A01010>"); break;
                case 5: out.Tag("<LINK=functions.vgt>"); break;
                case 7: out.Tag("</LINK><FC=000000>"); break;
                case 8: out.Tag(n % 2 ? "<I>" : "</I>"); break;
                default: break;
            }
        }
        out.Word(word());
        if (kind == Kind::Columns && n % 12 == 11) out.Tag(n % 60 == 59 ? "<ENDCOL>" : "<COLBREAK>");
        if (kind != Kind::Columns && n % 100 == 99) out.Break("<P>");
        out.EndLineIfLong();
    }
    out.Finish();
    return topic;
}

const Topic& CachedTopic(Kind kind, size_t bytes) {
    static std::map<std::pair<int, size_t>, Topic> topics;
    auto key = std::make_pair(static_cast<int>(kind), bytes);
    auto found = topics.find(key);
    if (found == topics.end()) found = topics.emplace(key, MakeTopic(kind, bytes)).first;
    return found->second;
}

void MeasurePass(benchmark::State& state, Kind kind, size_t bytes) {
    const Topic& topic = CachedTopic(kind, bytes);
    GdiCanvas surface(kSurfaceWidth, kSurfaceHeight);
    TVGTVisualizer visualizer;
    visualizer.AssignSource(topic.markup);
    for (auto _ : state) {
        int height = 0, maxWidth = kLayoutWidth;
        visualizer.MeasureTopic(surface.dc(), 8, 0, kLayoutWidth, height, maxWidth, false, false);
        benchmark::DoNotOptimize(height);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void PaintPass(benchmark::State& state, Kind kind, size_t bytes) {
    const Topic& topic = CachedTopic(kind, bytes);
    GdiCanvas surface(kSurfaceWidth, kSurfaceHeight);
    TVGTVisualizer visualizer;
    visualizer.AssignSource(topic.markup);
    int height = 0, maxWidth = kLayoutWidth;
    visualizer.MeasureTopic(surface.dc(), 8, 0, kLayoutWidth, height, maxWidth, false, false);
    for (auto _ : state) visualizer.PaintTopic(surface.dc(), 8, 0, kLayoutWidth, false, false, false);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// One GetTextExtentPoint32A per word: what any layout of these words must do.
void MeasureFloor(benchmark::State& state, Kind kind, size_t bytes) {
    const Topic& topic = CachedTopic(kind, bytes);
    GdiCanvas surface(kSurfaceWidth, kSurfaceHeight);
    HFONT font = CreateFontA(-MulDiv(10, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(surface.dc(), font);
    for (auto _ : state) {
        long long total = 0;
        for (const std::string& word : topic.words) {
            SIZE size;
            GetTextExtentPoint32A(surface.dc(), word.data(), static_cast<int>(word.size()), &size);
            total += size.cx;
        }
        benchmark::DoNotOptimize(total);
    }
    SelectObject(surface.dc(), old);
    DeleteObject(font);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// A layout of the topic's words in its face and size, wrapped at the layout
// width, on a context of the font map; freed with the object.
class PangoTopicLayout {
public:
    explicit PangoTopicLayout(PangoFontMap* map) : map_(map) {
        context_ = pango_font_map_create_context(map_);
        layout_ = pango_layout_new(context_);
        font_ = pango_font_description_from_string("Arial 10");
        pango_layout_set_font_description(layout_, font_);
        pango_layout_set_width(layout_, (kLayoutWidth - 8) * PANGO_SCALE);
        pango_layout_set_wrap(layout_, PANGO_WRAP_WORD);
    }
    ~PangoTopicLayout() {
        pango_font_description_free(font_);
        g_object_unref(layout_);
        g_object_unref(context_);
        g_object_unref(map_);
    }
    PangoTopicLayout(const PangoTopicLayout&) = delete;
    PangoTopicLayout& operator=(const PangoTopicLayout&) = delete;

    // Sets the text and lays it out; returns the height in pixels.
    int LayOut(const std::string& text) {
        pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
        int width = 0, height = 0;
        pango_layout_get_pixel_size(layout_, &width, &height);
        return height;
    }
    PangoLayout* layout() const { return layout_; }

private:
    PangoFontMap* map_;
    PangoContext* context_;
    PangoLayout* layout_;
    PangoFontDescription* font_;
};

void PangoMeasure(benchmark::State& state, Kind kind, size_t bytes) {
    const Topic& topic = CachedTopic(kind, bytes);
    PangoFontMap* map = pango_ft2_font_map_new();
    pango_ft2_font_map_set_resolution(PANGO_FT2_FONT_MAP(map), 96, 96);
    PangoTopicLayout pango(map);
    for (auto _ : state) benchmark::DoNotOptimize(pango.LayOut(topic.plain));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// Pango drawing the laid-out words; with relayout, laying them out again
// first, as the paint pass does on every paint.
void PangoDraw(benchmark::State& state, Kind kind, size_t bytes, bool relayout) {
    const Topic& topic = CachedTopic(kind, bytes);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSurfaceWidth, kSurfaceHeight);
    cairo_t* cairo = cairo_create(surface);
    PangoFontMap* map = pango_cairo_font_map_new();
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(map), 96);
    {
        PangoTopicLayout pango(map);
        pango.LayOut(topic.plain);
        cairo_set_source_rgb(cairo, 0, 0, 0);
        for (auto _ : state) {
            if (relayout) pango.LayOut(topic.plain);
            cairo_move_to(cairo, 8, 0);
            pango_cairo_show_layout(cairo, pango.layout());
        }
        cairo_surface_flush(surface);
    }
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void PangoPaint(benchmark::State& state, Kind kind, size_t bytes) { PangoDraw(state, kind, bytes, false); }

void PangoLayoutPaint(benchmark::State& state, Kind kind, size_t bytes) { PangoDraw(state, kind, bytes, true); }

const size_t kSizes[] = {10 * 1024, 100 * 1024, 1024 * 1024};
const Kind kKinds[] = {Kind::Plain, Kind::Dense, Kind::Columns};

const struct {
    const char* name;
    void (*run)(benchmark::State&, Kind, size_t);
} kCases[] = {
    {"Measure", MeasurePass}, {"PangoMeasure", PangoMeasure}, {"MeasureFloor", MeasureFloor},
    {"Paint", PaintPass},     {"PangoPaint", PangoPaint},     {"PangoLayoutPaint", PangoLayoutPaint},
};

std::string CaseName(const char* what, Kind kind, size_t bytes) {
    return std::string(what) + "/" + KindName(kind) + "/" + std::to_string(bytes / 1024) + "KB";
}

// Keeps each run's processor time per iteration (steadier than real time on a
// busy machine) beside the console output.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\n%-16s %14s %14s %14s %20s\n", "topic", "measure/pango", "measure/floor", "paint/pango",
                    "paint/pango+layout");
        for (Kind kind : kKinds)
            for (size_t bytes : kSizes) {
                const std::string topic = std::string(KindName(kind)) + "/" + std::to_string(bytes / 1024) + "KB";
                std::printf("%-16s %14s %14s %14s %20s\n", topic.c_str(),
                            Ratio("Measure", "PangoMeasure", kind, bytes).c_str(),
                            Ratio("Measure", "MeasureFloor", kind, bytes).c_str(),
                            Ratio("Paint", "PangoPaint", kind, bytes).c_str(),
                            Ratio("Paint", "PangoLayoutPaint", kind, bytes).c_str());
            }
    }

private:
    std::string Ratio(const char* ours, const char* peer, Kind kind, size_t bytes) const {
        auto a = times_.find(CaseName(ours, kind, bytes));
        auto b = times_.find(CaseName(peer, kind, bytes));
        if (a == times_.end() || b == times_.end() || b->second <= 0) return "-";
        char text[32];
        std::snprintf(text, sizeof(text), "%.2f", a->second / b->second);
        return text;
    }
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    for (Kind kind : kKinds)
        for (size_t bytes : kSizes)
            for (const auto& test : kCases)
                benchmark::RegisterBenchmark(CaseName(test.name, kind, bytes).c_str(), test.run, kind, bytes)
                    ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
