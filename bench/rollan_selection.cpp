// One mouse step of a rectangle selection being drawn on a 1920x1080
// selectable rectangle scroller (rulers, mesh and helper lines on): the old
// rectangle and its eight dashed helper lines inverted away and the new ones
// inverted in, against cairo doing the same inversions (DIFFERENCE with
// white, no antialiasing) on an image surface of the same size, in the same
// iterations. Prints the ratio.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cstdio>
#include <cstdlib>

#include "Form.h"
#include "SelectableRectScroller.h"
#include "TimeBesidePeer.h"
#include "display/TestDriver.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr POINT kPress{100, 100};
// The two points the mouse goes back and forth between.
constexpr POINT kSteps[2] = {{900, 600}, {903, 602}};

struct Scene {
    Scene() {
        form = new TForm(nullptr, 1);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, kWidth, kHeight);
        scroller = new TSelectableRectScroller(form);
        scroller->SetBounds(0, 0, kWidth, kHeight);
        scroller->SetParent(form);
        scroller->OnGetRectSizes = [](TRectScroller*, SIZE& size) { size = SIZE{3000, 2000}; };
        scroller->SetShowRulers(true);
        scroller->SetShowMesh(true);
        scroller->SetShowSelectionHelpers(true);
        form->Show();
        driver.PumpUntilIdle();
        scroller->Refresh();
        driver.PumpUntilIdle();
        HWND window = scroller->GetHandle();
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(kPress.x, kPress.y));
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kPress.x, kPress.y));
        if (!scroller->GetSelecting()) {
            std::fprintf(stderr, "the press started no selection\n");
            std::exit(1);
        }
    }
    ~Scene() { delete form; }

    win32::TestDriver driver;
    TForm* form;
    TSelectableRectScroller* scroller;
};

Scene* scene = nullptr;

// The peer's picture of one rectangle from the press to to, with its helper
// lines from beyond the corners to the edges, inverted.
void InvertWithCairo(cairo_t* cairo, POINT to) {
    const double left = kPress.x + 0.5, top = kPress.y + 0.5, right = to.x + 0.5, bottom = to.y + 0.5;
    cairo_set_dash(cairo, nullptr, 0, 0);
    cairo_rectangle(cairo, left, top, right - left, bottom - top);
    cairo_stroke(cairo);
    const double dashes[] = {5, 5};
    cairo_set_dash(cairo, dashes, 2, 0);
    for (double y : {top, bottom}) {
        cairo_move_to(cairo, left - 1, y);
        cairo_line_to(cairo, 0, y);
        cairo_move_to(cairo, right + 1, y);
        cairo_line_to(cairo, kWidth, y);
    }
    for (double x : {left, right}) {
        cairo_move_to(cairo, x, top - 1);
        cairo_line_to(cairo, x, 0);
        cairo_move_to(cairo, x, bottom + 1);
        cairo_line_to(cairo, x, kHeight);
    }
    cairo_stroke(cairo);
}

void SelectionDragStep(benchmark::State& state) {
    HWND window = scene->scroller->GetHandle();
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kSteps[0].x, kSteps[0].y));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_source_rgb(cairo, 1, 1, 1);
    cairo_paint(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cairo, 1);
    InvertWithCairo(cairo, kSteps[0]);
    int step = 0;
    TimeBesidePeer(
        state, "cairo",
        [&] {
            const POINT to = kSteps[(step + 1) % 2];
            SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        },
        [&] {
            InvertWithCairo(cairo, kSteps[step % 2]);
            InvertWithCairo(cairo, kSteps[(step + 1) % 2]);
            cairo_surface_flush(surface);
            ++step;
        });
    if (scene->scroller->GetSelectRight() != kSteps[step % 2].x) state.SkipWithError("the selection did not follow");
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}
BENCHMARK(SelectionDragStep)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    scene = new Scene;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("ratio: a drag step of the scroller / the same inversions by cairo (the counter)\n");
    delete scene;
    benchmark::Shutdown();
    return 0;
}
