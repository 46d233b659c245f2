// Tests of the formula properties dialog: its form and language table, the
// character-table listings of $CHDIR, and OK and Cancel run through the
// responder; on request it is also saved as a picture (SUITE_SCREENSHOT=<file.bmp>).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "ExpressionImagePropsDlg.h"
#include "ExpressionImagePropsTestSupport.h"
#include "GraphObjectComboBox.h"
#include "GroupControls.h"
#include "Label.h"
#include "Responder.h"
#include "display/WindowPicture.h"

namespace {

namespace fs = std::filesystem;

// A temporary character-table folder named by CHDIR for the life of the object.
class TemporaryTableFolder {
public:
    explicit TemporaryTableFolder(const std::vector<std::string>& files) {
        folder_ = fs::temp_directory_path() / ("chr-" + std::to_string(::getpid()) + "-" + std::to_string(++count_));
        fs::create_directories(folder_);
        for (const std::string& name : files) std::ofstream(folder_ / name) << "table";
        if (const char* previous = std::getenv("CHDIR")) previous_ = previous, hadPrevious_ = true;
        setenv("CHDIR", folder_.c_str(), 1);
    }
    ~TemporaryTableFolder() {
        if (hadPrevious_)
            setenv("CHDIR", previous_.c_str(), 1);
        else
            unsetenv("CHDIR");
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    const fs::path& Path() const { return folder_; }

private:
    static inline int count_ = 0;
    fs::path folder_;
    std::string previous_;
    bool hadPrevious_ = false;
};

std::vector<std::string> Items(TComboBox* combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo->GetItems()->GetCount(); ++i) items.push_back(combo->GetItems()->GetStrings(i));
    return items;
}

std::string Selected(TComboBox* combo) {
    const int index = combo->GetItemIndex();
    return index < 0 ? std::string("(none)") : combo->GetItems()->GetStrings(index);
}

// Runs the dialog modally; act sees it shown and queues the user's input.
TModalResult RunDialog(TExpressionImagePropsDlg* dialog, std::function<void(TExpressionImagePropsDlg*)> act) {
    win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
        act(dialog);
        return win32::ModalReply::Run();
    });
    return dialog->ShowModal();
}

void Post(TWinControl* control, UINT key) { PostMessageA(control->GetHandle(), WM_KEYDOWN, key, 1); }

// What the dialog shows when it opens, seen from inside the modal run.
struct TShown {
    std::vector<std::string> fonts, sizes;
    std::string font, size, ratios[3];
};

TShown ShowAndCancel(TExpressionImagePropsDlg* dialog) {
    TShown shown;
    RunDialog(dialog, [&](TExpressionImagePropsDlg* d) {
        shown = {Items(d->cmbFont), Items(d->cmbFontSize), Selected(d->cmbFont), Selected(d->cmbFontSize),
                 {d->edExpCharRatio->GetText(), d->edIndexCharRatio->GetText(), d->edRootCharRatio->GetText()}};
        Post(d, VK_ESCAPE);
    });
    return shown;
}

using Sizes = std::set<int>;
using Fonts = std::set<std::string>;

}  // namespace

TEST(ExpressionImagePropsDlgTest, TheResourceMakesTheFormWithEveryControl) {
    TExpressionImagePropsDlg dialog(nullptr);
    EXPECT_EQ("Expression properties", dialog.GetCaption());
    EXPECT_EQ(409, dialog.GetClientWidth());
    EXPECT_EQ(194, dialog.GetClientHeight());
    EXPECT_EQ(bsDialog, dialog.GetBorderStyle());
    EXPECT_EQ(101000, dialog.GetTag());
    for (TComponent* control : std::initializer_list<TComponent*>{
             dialog.Label1, dialog.Label7, dialog.Bevel1, dialog.cmbBkColor, dialog.cmbTextColor,
             dialog.edExpCharRatio, dialog.edIndexCharRatio, dialog.edRootCharRatio, dialog.brnHelp})
        EXPECT_NE(nullptr, control);
    ASSERT_NE(nullptr, dialog.cmbFont);
    EXPECT_EQ(csDropDownList, dialog.cmbFont->GetStyle());
    EXPECT_EQ(mrCancel, dialog.btnCancel->GetModalResult());
    EXPECT_TRUE(dialog.btnOk->GetDefault());
    EXPECT_EQ(bsRightLine, dialog.Bevel1->GetShape());
    ExpectSameProps(dialog.Props, TExpressionImageProps());
}

TEST(ExpressionImagePropsDlgTest, ListingsFollowTheTableFilesOfChdir) {
    TemporaryTableFolder folder({"Arial_10.chr", "Arial_12.chr", "Courier_10.chr", "ArialNarrow_12.chr",
                                 "Arial_x.chr", "Arial_.chr", "Arial_99999999999.chr", "Arial_14.CHR",
                                 "NoUnderscore.chr", "_5.chr", "Times_8.txt"});
    fs::create_directory(folder.Path() / "Folder_3.chr");
    // Folders are not tables.
    EXPECT_EQ((Fonts{"Arial", "ArialNarrow", "Courier"}), TExpressionImagePropsDlg::ListCHRFonts("chr"));
    // Names that hold no number are skipped; ArialNarrow_12 is not an Arial table.
    EXPECT_EQ((Sizes{10, 12}), TExpressionImagePropsDlg::ListCHRSizes("chr", "Arial"));
    EXPECT_EQ((Sizes{10}), TExpressionImagePropsDlg::ListCHRSizes("chr", "Courier"));
    EXPECT_EQ((Sizes{}), TExpressionImagePropsDlg::ListCHRSizes("chr", "Times"));
    // A wildcard in a font name matches no other font's tables.
    EXPECT_EQ((Sizes{}), TExpressionImagePropsDlg::ListCHRSizes("chr", "Cour*"));

    for (const char* separator : {"/", "\\"}) {
        setenv("CHDIR", (folder.Path().string() + separator).c_str(), 1);
        EXPECT_EQ((Sizes{12}), TExpressionImagePropsDlg::ListCHRSizes("chr", "ArialNarrow")) << separator;
    }
    unsetenv("CHDIR");
    EXPECT_TRUE(TExpressionImagePropsDlg::ListCHRFonts("chr").empty());
    EXPECT_TRUE(TExpressionImagePropsDlg::ListCHRSizes("chr", "Arial").empty());
}

TEST(ExpressionImagePropsDlgTest, TheDialogOffersTheFontsAndSizesOfChdir) {
    struct Case {
        std::vector<std::string> files;
        std::string font;
        int size;
        TShown expected;
    } cases[] = {
        {{"Arial_10.chr", "Arial_12.chr", "Courier_10.chr"}, "Arial", 12,
         {{"Arial", "Courier"}, {"10", "12"}, "Arial", "12", {}}},
        {{"Arial_10.chr", "ArialNarrow_12.chr"}, "Arial", 12, {{"Arial", "ArialNarrow"}, {"10"}, "Arial", "10", {}}},
        // A font the folder lacks: the first font and its first size.
        {{"Courier_8.chr", "Times_10.chr", "Times_14.chr"}, "Arial", 14,
         {{"Courier", "Times"}, {"8"}, "Courier", "8", {}}},
        {{"Courier_8.chr", "Times_10.chr", "Times_14.chr"}, "Times", 14,
         {{"Courier", "Times"}, {"10", "14"}, "Times", "14", {}}},
        {{}, "Arial", 10, {{}, {}, "(none)", "(none)", {}}},
    };
    for (const Case& c : cases) {
        TemporaryTableFolder folder(c.files);
        TExpressionImagePropsDlg dialog(nullptr);
        dialog.Props.Font = c.font;
        dialog.Props.FontSize = c.size;
        const TShown shown = ShowAndCancel(&dialog);
        EXPECT_EQ(c.expected.fonts, shown.fonts) << c.font;
        EXPECT_EQ(c.expected.sizes, shown.sizes) << c.font;
        EXPECT_EQ(c.expected.font, shown.font);
        EXPECT_EQ(c.expected.size, shown.size);
        EXPECT_EQ("0.600", shown.ratios[0]);
        EXPECT_EQ("0.400", shown.ratios[1]);
        EXPECT_EQ("0.500", shown.ratios[2]);
    }
}

TEST(ExpressionImagePropsDlgTest, OkStoresWhatTheUserChose) {
    TemporaryTableFolder folder({"Arial_10.chr", "Arial_12.chr", "Courier_10.chr", "Courier_16.chr"});
    TExpressionImagePropsDlg dialog(nullptr);
    dialog.Props.FontSize = 12;
    dialog.Props.IndexCharRatio = 0.25f;
    dialog.Props.RootCharRatio = 0.75f;
    std::vector<std::string> sizesAfterPick;
    const TModalResult result = RunDialog(&dialog, [&](TExpressionImagePropsDlg* d) {
        d->cmbBkColor->SetColor(clYellow);
        d->cmbTextColor->SetColor(0x123456);
        d->edExpCharRatio->SetText(" 0.7abc");
        d->edIndexCharRatio->SetText("wide");  // no number: kept
        d->edRootCharRatio->SetText("nan");    // not finite: kept
        d->cmbFont->SetFocus();
        Post(d->cmbFont, VK_DOWN);  // the user picks Courier
        Post(d, VK_RETURN);
    });
    EXPECT_EQ(mrOk, result);
    EXPECT_EQ("Courier", dialog.Props.Font.str());
    // Courier has no 12: the first size was selected when it was picked.
    EXPECT_EQ(10, dialog.Props.FontSize);
    EXPECT_EQ(std::vector<std::string>({"10", "16"}), Items(dialog.cmbFontSize));
    EXPECT_EQ(clYellow, dialog.Props.BkColor);
    EXPECT_EQ(0x123456, dialog.Props.TextColor);
    EXPECT_FLOAT_EQ(0.7f, dialog.Props.ExpCharRatio);
    EXPECT_EQ(0.25f, dialog.Props.IndexCharRatio);
    EXPECT_EQ(0.75f, dialog.Props.RootCharRatio);
}

TEST(ExpressionImagePropsDlgTest, RatiosThatAreNotFiniteNumbersAreKept) {
    TemporaryTableFolder folder({"Arial_10.chr"});
    for (const char* text : {"inf", "-INF", "nan(1)", "1e99", "", "-", ".e3"}) {
        TExpressionImagePropsDlg dialog(nullptr);
        RunDialog(&dialog, [&](TExpressionImagePropsDlg* d) {
            d->edExpCharRatio->SetText(text);
            d->edIndexCharRatio->SetText("2.5e-1");
            Post(d, VK_RETURN);
        });
        EXPECT_FLOAT_EQ(0.6f, dialog.Props.ExpCharRatio) << text;
        EXPECT_FLOAT_EQ(0.25f, dialog.Props.IndexCharRatio) << text;
    }
}

TEST(ExpressionImagePropsDlgTest, OkWithNothingSelectedKeepsFontAndSize) {
    TemporaryTableFolder folder({});
    TExpressionImagePropsDlg dialog(nullptr);
    dialog.Props.Font = "Garamond";
    dialog.Props.FontSize = 13;
    EXPECT_EQ(mrOk, RunDialog(&dialog, [](TExpressionImagePropsDlg* d) { Post(d, VK_RETURN); }));
    EXPECT_EQ("Garamond", dialog.Props.Font.str());
    EXPECT_EQ(13, dialog.Props.FontSize);
}

TEST(ExpressionImagePropsDlgTest, CancelChangesNothing) {
    TemporaryTableFolder folder({"Arial_10.chr", "Courier_10.chr"});
    TExpressionImagePropsDlg dialog(nullptr);
    dialog.Props.TextColor = clNavy;
    const TExpressionImageProps before = dialog.Props;
    const TModalResult result = RunDialog(&dialog, [](TExpressionImagePropsDlg* d) {
        d->cmbFont->SetItemIndex(1);
        d->cmbFontClick(d);
        d->cmbBkColor->SetColor(clRed);
        d->edExpCharRatio->SetText("0.9");
        d->btnCancel->SetFocus();
        Post(d->btnCancel, VK_SPACE);
        PostMessageA(d->btnCancel->GetHandle(), WM_KEYUP, VK_SPACE, 1);
    });
    EXPECT_EQ(mrCancel, result);
    EXPECT_EQ(mrCancel, dialog.GetModalResult());  // set by the button, not by an idle end
    ExpectSameProps(dialog.Props, before);
}

TEST(ExpressionImagePropsDlgTest, LanguageOneGivesHungarianCaptionsAndKeepsOk) {
    TemporaryTableFolder folder({"Arial_10.chr"});
    TExpressionImagePropsDlg::SetLang(1);
    TExpressionImagePropsDlg dialog(nullptr);
    std::vector<std::string> captions;
    std::string firstColour;
    RunDialog(&dialog, [&](TExpressionImagePropsDlg* d) {
        for (TControl* control : std::initializer_list<TControl*>{d, d->Label1, d->Label2, d->Label3, d->Label4,
                                                                   d->Label5, d->Label6, d->Label7, d->btnOk,
                                                                   d->btnCancel, d->brnHelp})
            captions.push_back(control->GetText());
        firstColour = d->cmbBkColor->GetItems()->GetStrings(0);
        Post(d, VK_ESCAPE);
    });
    TExpressionImagePropsDlg::SetLang(0);
    const std::vector<std::string> hungarian = {
        "Kifejez\xE9s tulajdons\xE1gai", "Bet\xFB:", "Bet\xFBm\xE9ret:", "H\xE1tt\xE9rsz\xEDn:", "Sz\xF6vegsz\xEDn:",
        "Exponens m\xE9retszorz\xF3:", "Index m\xE9retszorz\xF3:", "Gy\xF6k m\xE9retszorz\xF3:", "&Ok", "&M\xE9gsem",
        "&S\xFAg\xF3"};
    EXPECT_EQ(hungarian, captions);
    EXPECT_EQ("Fekete", firstColour);

    // Back in English, a dialog shows the texts of language 0 again.
    TExpressionImagePropsDlg english(nullptr);
    RunDialog(&english, [](TExpressionImagePropsDlg* d) { Post(d, VK_ESCAPE); });
    EXPECT_EQ("Expression properties", english.GetCaption());
    EXPECT_EQ("&Cancel", english.btnCancel->GetText());
}

// ---- The picture for a look under a real display ----

TEST(ExpressionImagePropsDlgPicture, SavedWhenAsked) {
    const char* path = std::getenv("SUITE_SCREENSHOT");
    if (!path) GTEST_SKIP() << "SUITE_SCREENSHOT names no file";
    TemporaryTableFolder folder({"Arial_10.chr", "Arial_12.chr", "Courier_10.chr"});
    auto* dialog = new TExpressionImagePropsDlg(nullptr);
    dialog->Props.FontSize = 12;
    dialog->Props.BkColor = clYellow;
    dialog->Props.TextColor = clNavy;
    dialog->Show();
    for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    EXPECT_TRUE(win32::SaveWindowPicture(dialog->GetHandle(), path));
    delete dialog;
}
