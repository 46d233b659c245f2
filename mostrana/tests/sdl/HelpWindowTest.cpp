// The help archives in a real window: a document panel of the size the
// program gives it and a larger one, showing the start topic, the guided
// tour with its sub-panels, the showcase topics and the note form of each
// archive, each saved as a picture for looking at. Needs a display (run
// under xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "Form.h"
#include "MemBuffer.h"
#include "Resource.h"
#include "Responder.h"
#include "VGMPanel.h"
#include "VGTForm.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

void Save(HWND window, const std::string& label) {
    const std::string path = win32::SaveTestPicture(window, label);
    EXPECT_FALSE(path.empty()) << label;
    std::printf("saved %s\n", path.c_str());
}

class HelpWindow : public ::testing::TestWithParam<const char*> {};

TEST_P(HelpWindow, TopicsOfTheArchive) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    setenv("SUITE_DISPLAY", "sdl", 1);
    ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
    win32::TestDriver driver;
    win32::ScopedResponder quiet([](const win32::ModalInteraction& box) {
        ADD_FAILURE() << box.text;
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    TMemBuffer block;
    TMemResource archive;
    ASSERT_TRUE(block.LoadFromResource(nullptr, GetParam()) && archive.ReadFromMemBuffer(block));
    const std::string language = std::string(GetParam()) == "ORVEX_HELP_HU" ? "hu" : "en";

    const std::initializer_list<const char*> showcase = {
        "index.vgt",  "guide.vgt",    "text.vgt",  "lists.vgt", "columns.vgt",   "blocks.vgt",     "pictures.vgt",
        "paper.vgt",  "links.vgt",    "helpuse.vgt", "mainwindow.vgt", "scrollers.vgt", "statistics.vgt"};
    // The program's size, the same width with the height a splitter can give, and a wide panel.
    const struct {
        int width, height;
        std::initializer_list<const char*> topics;
    } sizes[] = {{233, 128, {"index.vgt", "guide.vgt", "pictures.vgt"}}, {233, 440, showcase}, {420, 330, showcase}};
    for (const auto& size : sizes) {
        auto form = std::make_unique<TForm>(nullptr, 1);
        form->SetBounds(40, 40, size.width + 24, size.height + 40);
        form->SetCaption("Help");
        TVGMPanel* panel = new TVGMPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(8, 8, size.width, size.height);
        form->Show();
        panel->SetResource(&archive);
        const std::string prefix = language + "." + std::to_string(size.width) + "x" + std::to_string(size.height) + ".";
        for (const char* topic : size.topics) {
            panel->SetSource(TString(topic));
            win32::SettleRealWindows(driver);
            Save(form->GetHandle(), prefix + topic);
        }
        if (size.width < 400) continue;
        // The note form that the links topic declares.
        panel->SetSource(TString("links.vgt"));
        panel->SelectLink(panel->GetMainPanel(), TString("note.vgt"), TString("note"));
        ASSERT_EQ(panel->GetOpenForms().size(), 1u);
        win32::SettleRealWindows(driver);
        Save(panel->GetOpenForms()[0]->GetHandle(), language + ".note");
    }
}

INSTANTIATE_TEST_SUITE_P(Archives, HelpWindow, ::testing::Values("ORVEX_HELP_EN", "ORVEX_HELP_HU"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
