// A topic panel on a form in a real window: a frame topic with its two
// sub-panels, then the "Select a topic" dialog over it, both saved as
// pictures for looking at. Needs a display (run under xvfb-run); skips
// itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../TopicFolder.h"
#include "Edit.h"
#include "Form.h"
#include "ListBox.h"
#include "Responder.h"
#include "SelectTopicDlg.h"
#include "VGTPanel.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

const char* const kFrame =
    "<PANEL=NAME=contents,SOURCE=contents.vgt,LEFT=0,TOP=0,WIDTH=35%,HEIGHT=100%>"
    "<PANEL=NAME=page,SOURCE=page.vgt,LEFT=35%,TOP=0,WIDTH=65%,HEIGHT=100%>";

const char* const kContents =
    "<BKCOLOR=E8EEF6><B>Contents</B><NL><LIST>"
    "<LI><LINK=page.vgt,TARGET=page>Introduction</LINK>"
    "<LI><LINK=functions.vgt,TARGET=page>Functions</LINK>"
    "<LI><LINK=fields.vgt,TARGET=page>Fields</LINK></LIST>";

const char* const kPage =
    "<FS=14><B>Introduction</B><FS=10><HLINE=SIZE=100%><P>The panel on the left lists the topics; a link "
    "there opens its topic in this sub-panel, named by the link's target panel. The frame topic that declared "
    "both sub-panels stays in the hidden main scroller.<P><LINK=functions.vgt>Functions</LINK> and "
    "<LINK=fields.vgt>fields</LINK> are described on pages of their own.";

TEST(PanelWindow, AFrameTopicAndTheTopicSelection) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    setenv("SUITE_DISPLAY", "sdl", 1);
    ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
    win32::TestDriver driver;
    TopicFolder folder;
    folder.Write("frame.vgt", kFrame);
    folder.Write("contents.vgt", kContents);
    folder.Write("page.vgt", kPage);
    folder.Write("functions.vgt", "Functions");
    folder.Write("fields.vgt", "Fields");
    folder.Write("topics.txt", "Introduction,page.vgt\nFunctions,functions.vgt\n/Built-in functions,functions.vgt\n"
                               "Fields,fields.vgt\nFrame,frame.vgt\n");

    auto form = std::make_unique<TForm>(nullptr, 1);
    form->SetBounds(40, 40, 560, 320);
    form->SetCaption("Topic panel");
    TVGTPanel* panel = new TVGTPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, form->GetClientWidth(), form->GetClientHeight());
    TTopics topics;
    topics.ReadFromFile(TString("topics.txt"));
    panel->SetTopics(topics);
    form->Show();
    panel->SetSource(TString("frame.vgt"));
    win32::SettleRealWindows(driver);
    ASSERT_EQ(panel->GetScrollerCount(), 3);
    EXPECT_EQ(panel->GetPanel(TString("page"))->GetLeft(), form->GetClientWidth() * 35 / 100);
    const std::string frame = win32::SaveTestPicture(form->GetHandle(), "frame");
    EXPECT_FALSE(frame.empty());
    std::printf("saved %s\n", frame.c_str());

    std::string dialogPicture;
    int selected = -1;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& box) {
        auto* dialog = dynamic_cast<TSelectTopicDlg*>(TWinControl::FindControl(box.window));
        if (dialog == nullptr) return win32::ModalReply::Answer(box.defaultAnswer);
        win32::SettleRealWindows(driver);
        driver.Type("fu");
        win32::SettleRealWindows(driver);
        selected = dialog->lbNames->GetItemIndex();
        dialogPicture = win32::SaveTestPicture(box.window, "dialog");
        return win32::ModalReply::Answer(mrOk);
    });
    panel->SelectTopic();
    EXPECT_EQ(selected, 1);
    EXPECT_FALSE(dialogPicture.empty());
    std::printf("saved %s\n", dialogPicture.c_str());
    EXPECT_EQ(panel->GetMainPanel()->GetTopicName().str(), "functions.vgt");
}

}  // namespace
