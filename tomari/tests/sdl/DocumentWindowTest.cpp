// A document panel on a small help archive in a real window: the start
// topic, the pictures topic, the frame topic with its picture map, and the
// form a FORM link opened, each saved as a picture for looking at. Needs a
// display (run under xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../HelpArchiveFixture.h"
#include "Form.h"
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

TEST(DocumentWindow, TopicsPicturesAFrameAndAFormFromAnArchive) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    setenv("SUITE_DISPLAY", "sdl", 1);
    ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
    win32::TestDriver driver;
    win32::ScopedResponder quiet([](const win32::ModalInteraction& box) {
        ADD_FAILURE() << box.text;
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    TMemResource archive;
    help_archive::Build(archive);

    auto form = std::make_unique<TForm>(nullptr, 1);
    form->SetBounds(40, 40, 420, 260);
    form->SetCaption("Document panel");
    TVGMPanel* panel = new TVGMPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, form->GetClientWidth(), form->GetClientHeight());
    form->Show();
    panel->SetResource(&archive);
    panel->SetSource(TString("index.vgt"));
    win32::SettleRealWindows(driver);
    Save(form->GetHandle(), "index");

    panel->SetSource(TString("pictures.vgt"));
    win32::SettleRealWindows(driver);
    Save(form->GetHandle(), "pictures");

    panel->SetSource(TString("frame.vgt"));
    win32::SettleRealWindows(driver);
    ASSERT_EQ(panel->GetScrollerCount(), 3);
    Save(form->GetHandle(), "frame");

    panel->SetSource(TString("forms.vgt"));
    const RECT area = panel->GetMainPanel()->GetLinks()[0].areas[0];
    const POINT at = panel->GetMainPanel()->GetComponentCoord(POINT{area.left + 2, area.top + 2});
    driver.MoveMouse(panel->GetMainPanel()->GetHandle(), at.x, at.y);
    driver.Click(panel->GetMainPanel()->GetHandle(), at.x, at.y);
    ASSERT_EQ(panel->GetOpenForms().size(), 1u);
    TVGTFormBase* opened = panel->GetOpenForms()[0];
    win32::SettleRealWindows(driver);
    Save(form->GetHandle(), "forms");
    Save(opened->GetHandle(), "sheet");
}

}  // namespace
