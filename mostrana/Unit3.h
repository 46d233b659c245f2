// TForm3: the "Statistical" form: the quick list, a histogram, a statistics
// view, a pie and a bar chart and a category statistics view, filled with
// random sample data that its button regenerates, between three splitters.
#pragma once

#include <any>
#include <array>
#include <optional>
#include <string>

#include "Form.h"

class TBarChart;
class TButton;
class TCategStatsView;
class TChartBase;
class TFormSplitter;
class THistogramViewer;
class TPieChart;
class TQuickList;
class TStatsView;

class TForm3 : public TForm {
    CLASSLIB_CLASS(TForm3, TForm)

public:
    // The sample colours, clSilver twice; each form shuffles its own copy.
    static constexpr int kColourCount = 13;
    static const std::array<TColor, kColourCount> kColours;
    // The words the charts label their values with.
    static constexpr int kLabelCount = 19;
    static const std::array<const char*, kLabelCount> kLabels;

    // The seed RegenerateAll gives the C library's generator: the current
    // time unless set (tests set it so that their data repeats).
    static std::optional<unsigned> FixedSeed;

    // Its controls, bounds and handlers come from its stored layout, which
    // also shows it once the application has created it.
    explicit TForm3(TComponent* owner);
    ~TForm3() override;
    std::any FindHandler(const std::string& name) override;

    // Places the splitters in the gaps between the controls, gives each the
    // controls on its two sides, ends FormSplitter3's line on FormSplitter2's,
    // and fills the controls (RegenerateAll).
    void FormCreate(TObject* sender);
    // Closes the main form, which ends the program.
    void FormClose(TObject* sender, TCloseAction& action);
    // Stretches the right column to the client width and the lower row to
    // the client height, 8 pixels from the edges; nothing before FormCreate.
    void FormResize(TObject* sender);
    void Button1Click(TObject* sender);

    // New sample data for every control, drawn with rand() after srand():
    // 30 lines of 5 numbers 0..99 in the quick list, a bell-shaped sample
    // from -10 to 10 in the statistics view, 20 histogram values 0..99, ten
    // values 2..11 in each chart, and 5 to 9 category columns of 3 to 7 items
    // 0..19, coloured from the sample colours, which are shuffled on the way.
    void RegenerateAll();
    // Ten labelled values 2..11 in the sample colours, the labels picked from
    // ten of the nineteen words.
    void FillChart(TChartBase* chart);

    // The form's sample colours in their present order.
    const std::array<TColor, kColourCount>& GetColours() const { return colours_; }

    // The components of the stored layout, in its order; null until it is loaded.
    TQuickList* QuickList1 = nullptr;
    TFormSplitter* FormSplitter1 = nullptr;
    TFormSplitter* FormSplitter2 = nullptr;
    TFormSplitter* FormSplitter3 = nullptr;
    THistogramViewer* HistogramViewer1 = nullptr;
    TStatsView* StatsView1 = nullptr;
    TPieChart* PieChart1 = nullptr;
    TBarChart* BarChart1 = nullptr;
    TCategStatsView* CategStatsView1 = nullptr;
    TButton* Button1 = nullptr;

protected:
    // Finds the components the layout made.
    void Loaded() override;
    // Keeps the form at least as wide as Button1's left edge plus 108, once
    // Button1 exists (the layer asks before the layout is loaded too).
    void WMGetMinMaxInfo(TMessage& message);

    CLASSLIB_MESSAGE_MAP(TForm3, TForm, {WM_GETMINMAXINFO, &TForm3::WMGetMinMaxInfo})

private:
    void FillQuickList();
    void FillStatsView();
    void FillHistogram();
    void FillCategories();
    // Swaps each colour from the second on with one at or before it.
    void ShuffleColours();

    std::array<TColor, kColourCount> colours_;
    bool created_ = false;
};

// The form while the program runs; null before start-up and after it.
extern TForm3* Form3;
