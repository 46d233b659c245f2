// TForm3: the "Statistical" form, made from its stored layout; its handlers
// are bound by name, and it fills its components with random sample data.
#include "Unit3.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "BarChart.h"
#include "Buttons.h"
#include "CategStatsView.h"
#include "Events.h"
#include "FormSplitter.h"
#include "HistogramViewer.h"
#include "PieChart.h"
#include "QuickList.h"
#include "StatsView.h"
#include "Unit1.h"

TForm3* Form3 = nullptr;

const std::array<TColor, TForm3::kColourCount> TForm3::kColours = {
    clYellow, clRed, clGreen, clBlue, clNavy, clLime, clSilver, clSilver, clGray, clFuchsia, clMaroon, clPurple, clTeal,
};

const std::array<const char*, TForm3::kLabelCount> TForm3::kLabels = {
    "Alder", "Birch", "Cedar", "Hazel", "Larch", "Maple",  "Rowan",  "Spruce", "Willow", "Aspen",
    "Linden", "Poplar", "Walnut", "Holly", "Myrtle", "Juniper", "Acacia", "Cypress", "Laurel",
};

std::optional<unsigned> TForm3::FixedSeed;

namespace {

const THandlerEntry kForm3Handlers[] = {
    CLASSLIB_HANDLER(TForm3, FormCreate),
    CLASSLIB_HANDLER(TForm3, FormClose),
    CLASSLIB_HANDLER(TForm3, FormResize),
    CLASSLIB_HANDLER(TForm3, Button1Click),
};

// The space between the right and bottom edges of the form and its controls.
constexpr int kMargin = 8;
// How far the form's right edge stays from Button1's left edge at least.
constexpr int kMinimumWidthPastButton = 108;

// The middle of the gap between two controls along one axis, rounded toward zero.
int GapMiddle(int firstStart, int firstExtent, int secondStart) { return (firstStart + firstExtent + secondStart) / 2; }

}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner), colours_(kColours) {}

TForm3::~TForm3() = default;

std::any TForm3::FindHandler(const std::string& name) { return BindHandler(kForm3Handlers, this, name.c_str()); }

void TForm3::Loaded() {
    TForm::Loaded();
    QuickList1 = dynamic_cast<TQuickList*>(FindComponent("QuickList1"));
    FormSplitter1 = dynamic_cast<TFormSplitter*>(FindComponent("FormSplitter1"));
    FormSplitter2 = dynamic_cast<TFormSplitter*>(FindComponent("FormSplitter2"));
    FormSplitter3 = dynamic_cast<TFormSplitter*>(FindComponent("FormSplitter3"));
    HistogramViewer1 = dynamic_cast<THistogramViewer*>(FindComponent("HistogramViewer1"));
    StatsView1 = dynamic_cast<TStatsView*>(FindComponent("StatsView1"));
    PieChart1 = dynamic_cast<TPieChart*>(FindComponent("PieChart1"));
    BarChart1 = dynamic_cast<TBarChart*>(FindComponent("BarChart1"));
    CategStatsView1 = dynamic_cast<TCategStatsView*>(FindComponent("CategStatsView1"));
    Button1 = dynamic_cast<TButton*>(FindComponent("Button1"));
}

void TForm3::FormCreate(TObject*) {
    // Each line's position is set before it has controls, so that placing it moves none.
    FormSplitter1->SetPosition(GapMiddle(QuickList1->GetLeft(), QuickList1->GetWidth(), StatsView1->GetLeft()));
    FormSplitter1->AddLowerObject(QuickList1);
    FormSplitter1->AddLowerObject(HistogramViewer1);
    FormSplitter1->AddUpperObject(StatsView1);
    FormSplitter1->AddUpperObject(PieChart1);

    FormSplitter2->SetPosition(GapMiddle(StatsView1->GetLeft(), StatsView1->GetWidth(), BarChart1->GetLeft()));
    FormSplitter2->AddLowerObject(StatsView1);
    FormSplitter2->AddLowerObject(PieChart1);
    FormSplitter2->AddUpperObject(BarChart1);
    FormSplitter2->AddUpperObject(Button1);

    FormSplitter3->SetPosition(GapMiddle(QuickList1->GetTop(), QuickList1->GetHeight(), HistogramViewer1->GetTop()));
    FormSplitter3->AddLowerObject(QuickList1);
    FormSplitter3->AddLowerObject(StatsView1);
    FormSplitter3->AddUpperObject(HistogramViewer1);
    FormSplitter3->AddUpperObject(PieChart1);

    FormSplitter2->JoinEnd(FormSplitter3);
    created_ = true;
    RegenerateAll();
}

void TForm3::FormClose(TObject*, TCloseAction&) {
    if (Form1) Form1->Close();
}

void TForm3::FormResize(TObject*) {
    if (!created_) return;
    const RECT client = GetClientRect();
    const int width = client.right - BarChart1->GetLeft() - kMargin;
    BarChart1->SetWidth(width);
    CategStatsView1->SetWidth(width);
    Button1->SetWidth(width);
    const int height = client.bottom - HistogramViewer1->GetTop() - kMargin;
    HistogramViewer1->SetHeight(height);
    PieChart1->SetHeight(height);
    // Its own top: the horizontal splitter moves the other two, never this one.
    CategStatsView1->SetHeight(client.bottom - CategStatsView1->GetTop() - kMargin);
}

void TForm3::Button1Click(TObject*) { RegenerateAll(); }

void TForm3::WMGetMinMaxInfo(TMessage& message) {
    if (Button1) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(message.LParam);
        limits->ptMinTrackSize.x = Button1->GetLeft() + kMinimumWidthPastButton;
    }
    message.Result = 0;
}

void TForm3::RegenerateAll() {
    FillQuickList();
    FillStatsView();
    FillHistogram();
    FillChart(PieChart1);
    FillChart(BarChart1);
    FillCategories();
}

void TForm3::FillQuickList() {
    static const std::vector<std::string> kCaptions = {"First", "Second", "Third", "Fourth", "Fifth"};
    QuickList1->Clear(true);
    QuickList1->SetCaptions(kCaptions, false);
    std::srand(FixedSeed ? *FixedSeed : unsigned(std::time(nullptr)));
    for (int line = 0; line < 30; ++line) {
        std::vector<std::string> cells;
        for (size_t col = 0; col < kCaptions.size(); ++col) cells.push_back(std::to_string(std::rand() % 100));
        QuickList1->AppendLine(cells, false);
    }
    QuickList1->Refresh();
}

void TForm3::FillStatsView() {
    StatsView1->ClearValues(true);
    // The position runs in single precision; its steps of 0.5 are exact, so all 41 positions come.
    for (float v = -10; v <= 10; v += 0.5f) {
        const double x = v * 0.25;
        const int count = int((std::rand() % 5 + 5) * std::exp(-x * x));
        for (int i = 0; i < count; ++i) StatsView1->NewValue(v, false);
    }
    StatsView1->Refresh();
}

void TForm3::FillHistogram() {
    HistogramViewer1->SetValueCount(20);
    for (int i = 0; i < 20; ++i) HistogramViewer1->SetValue(i, std::rand() % 100);
}

void TForm3::FillChart(TChartBase* chart) {
    chart->Clear(false);
    std::vector<const char*> labels(kLabels.begin(), kLabels.end());
    for (int i = 0; i < 9; ++i) labels.erase(labels.begin() + std::rand() % int(labels.size()));
    for (int i = 0; i < 10; ++i) {
        // The draws go label, value, colour.
        const char* label = labels[size_t(std::rand() % 10)];
        const int value = std::rand() % 10 + 2;
        const TColor colour = colours_[size_t(std::rand() % kColourCount)];
        chart->AddValue(value, colour, bsSolid, label, clNavy, false);
    }
    chart->Refresh();
}

void TForm3::FillCategories() {
    const int columns = std::rand() % 5 + 5;
    CategStatsView1->SetColCount(columns, false);
    for (int col = 0; col < columns; ++col)
        CategStatsView1->SetColCaption(col, "Categ #" + std::to_string(col), false);
    for (int col = 0; col < columns; ++col) {
        const int items = std::rand() % 5 + 3;
        CategStatsView1->SetColItemCount(col, items, false);
        ShuffleColours();
        CategStatsView1->SetColColors(col, colours_.data(), items, false);
        for (int item = 0; item < items; ++item) CategStatsView1->SetColItem(col, item, std::rand() % 20, false);
    }
    CategStatsView1->Refresh();
}

void TForm3::ShuffleColours() {
    for (size_t p = 1; p < colours_.size(); ++p) std::swap(colours_[p], colours_[size_t(std::rand()) % (p + 1)]);
}
