// Tests of TVGTPanel: a new panel, sub-panels and their layout, following
// links (topics, sub-panels, forms, related topics), the history and going
// back, retired scrollers, and the linked forms.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Label.h"
#include "ListBox.h"
#include "Registration.h"
#include "ScrollerFixture.h"
#include "SeeAlsoDlg.h"
#include "Streaming.h"
#include "VGTForm.h"
#include "VGTPanel.h"

namespace {

// A frame topic of two sub-panels: "top" 170 high, "bottom" the rest.
const char* const kFrame =
    "<PANEL=NAME=top,SOURCE=top.vgt,LEFT=0,TOP=0,WIDTH=100%,HEIGHT=170>"
    "<PANEL=NAME=bottom,SOURCE=bottom.vgt,LEFT=0,TOP=170,WIDTH=100%,HEIGHT=-170>Frame";

class VGTPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        folder.Write("frame.vgt", kFrame);
        folder.Write("top.vgt",
                     "<LINK=other.vgt,TARGET=main>main</LINK> <LINK=b2.vgt,TARGET=bottom>bottom</LINK> "
                     "<LINK=t2.vgt>here</LINK> <LINK=gone.vgt,TARGET=bottom>gone</LINK>"
                     "<PANEL=NAME=inner,SOURCE=other.vgt>");
        folder.Write("bottom.vgt", "Bottom");
        for (const char* name : {"other.vgt", "b2.vgt", "t2.vgt", "a.vgt", "b.vgt"}) folder.Write(name, name);
        panel = new TVGTPanel(form);
        panel->SetParent(form);
        panel->SetName("Help");
        panel->SetBounds(10, 10, 400, 500);
        driver.PumpUntilIdle();
    }
    TVGTPanel* Panel() const override { return panel; }

    TVGTPanel* panel = nullptr;
};

TEST_F(VGTPanelTest, ANewPanelHasItsMainScroller) {
    EXPECT_FALSE(panel->GetVisible());
    ASSERT_EQ(panel->GetScrollerCount(), 1);
    EXPECT_EQ(Main()->GetName(), "HelpScroller1");
    EXPECT_EQ(Main()->GetParent(), form);
    EXPECT_FALSE(Main()->GetCentered());
    EXPECT_EQ(panel->GetHistoryLimit(), 10);
    EXPECT_EQ(panel->GetPanel(TString("")), Main());
    EXPECT_EQ(panel->GetPanel(TString("top")), nullptr);
    // The scroller fills the panel's rectangle in the owner's coordinates.
    EXPECT_EQ(Main()->GetLeft(), 10);
    EXPECT_EQ(Main()->GetHeight(), 500);

    // Link events set on the panel later reach the scrollers.
    folder.Write("links.vgt", "<LINK=a.vgt,TARGET=x>a</LINK>");
    panel->SetSource(TString("links.vgt"));
    EXPECT_EQ(panel->GetSource().str(), "links.vgt");
    std::vector<std::string> events;
    panel->OnEnterLinkArea = [&](const TString& t, const TString& p) { events.push_back("enter " + t.str() + " " + p.str()); };
    panel->OnLeavLinkArea = [&](const TString& t, const TString& p) { events.push_back("leave " + t.str() + " " + p.str()); };
    const RECT area = Main()->GetLinks()[0].areas[0];
    driver.MoveMouse(Main()->GetHandle(), area.left + 1, area.top + 1);
    driver.MoveMouse(Main()->GetHandle(), 300, 300);
    EXPECT_EQ(events, (std::vector<std::string>{"enter a.vgt x", "leave a.vgt x"}));
    driver.MoveMouse(Main()->GetHandle(), area.left + 1, area.top + 1);
    driver.Click(Main()->GetHandle(), area.left + 1, area.top + 1);
    EXPECT_EQ(panel->GetSource().str(), "a.vgt");
    EXPECT_EQ(panel->GetTarget().str(), "x");

    // The topic index.
    TTopics topics;
    TTopics::ReadTopicLine(TString("About,index.vgt"), *topics.NewItem());
    panel->SetTopics(topics);
    panel->AddTopics(topics);
    EXPECT_EQ(panel->GetTopics().GetCount(), 2);
    panel->DeleteTopics();
    EXPECT_EQ(panel->GetTopics().GetCount(), 0);

    // The panel is on the palette page "Rollan" and made by its class name.
    bool onPalette = false;
    for (const TPalettePage& page : PalettePages())
        for (const TClassInfo* info : page.classes) onPalette |= page.name == "Rollan" && info == TVGTPanel::StaticClassInfo();
    EXPECT_TRUE(onPalette);
}

TEST_F(VGTPanelTest, SubPanelsAreLaidOutBySizes) {
    struct Case {
        PANEL_POS position;
        int total, expected;
    } cases[] = {{{0, 35}, 491, 171}, {{0, 100}, 500, 500}, {{1, -170}, 500, 330}, {{1, 170}, 500, 170}, {{1, 0}, 9, 0}};
    for (const Case& test : cases) EXPECT_EQ(TVGTPanel::GetPos(test.position, test.total), test.expected);

    panel->SetSource(TString("frame.vgt"));
    ASSERT_EQ(panel->GetScrollerCount(), 3);
    EXPECT_FALSE(Main()->GetVisible());
    EXPECT_EQ(Main()->GetTopicName().str(), "frame.vgt");
    TVGTScroller* top = panel->GetPanel(TString("top"));
    TVGTScroller* bottom = panel->GetPanel(TString("bottom"));
    ASSERT_NE(top, nullptr);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(top->GetTopicName().str(), "top.vgt");
    // A sub-panel's own PANEL tags create nothing.
    EXPECT_EQ(top->GetPanel(), panel);
    const RECT topBounds = top->GetBoundsRect(), bottomBounds = bottom->GetBoundsRect();
    EXPECT_EQ(topBounds.left, 10);
    EXPECT_EQ(topBounds.top, 10);
    EXPECT_EQ(topBounds.right, 410);
    EXPECT_EQ(topBounds.bottom, 180);
    EXPECT_EQ(bottomBounds.top, 180);
    EXPECT_EQ(bottomBounds.bottom, 510);
    // Resize places them again.
    panel->Resize(20, 0, 200, 300);
    EXPECT_EQ(bottom->GetBoundsRect().top, 170);
    EXPECT_EQ(bottom->GetHeight(), 130);
    EXPECT_EQ(bottom->GetWidth(), 200);
    EXPECT_EQ(bottom->GetLeft(), 20);
    // Hide and Show act on every scroller.
    panel->Hide();
    EXPECT_TRUE(panel->Hidden());
    EXPECT_FALSE(top->GetVisible());
    panel->Show();
    EXPECT_TRUE(top->GetVisible());
    EXPECT_FALSE(Main()->GetVisible());
}

TEST_F(VGTPanelTest, LinksOpenWhereTheirTargetSays) {
    panel->SetSource(TString("frame.vgt"));
    TVGTScroller* top = panel->GetPanel(TString("top"));
    // A named sub-panel.
    ClickLink(top, 1);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:b2.vgt"}));
    EXPECT_EQ(panel->GetTarget().str(), "bottom");
    // No target panel: the clicking sub-panel.
    ClickLink(top, 2);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:t2.vgt", "bottom:b2.vgt"}));
    EXPECT_EQ(panel->GetHistory().GetCount(), 2);
    // Back restores by name; top.vgt's own PANEL tag creates nothing, also now.
    panel->Back();
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:b2.vgt"}));
    // A missing topic: the error, and the history as it was.
    ClickLink(panel->GetPanel(TString("top")), 3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The gone.vgt topic can not be opened");
    EXPECT_EQ(panel->GetHistory().GetCount(), 1);
    // "main": the sub-panels go and the main scroller shows the target.
    ClickLink(panel->GetPanel(TString("top")), 0);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":other.vgt"}));
    EXPECT_TRUE(Main()->GetVisible());
    driver.PumpUntilIdle();
    EXPECT_EQ(TopicScrollersOfForm(), 1);  // the retired scrollers are freed
    // Back to a step of other sub-panels rebuilds the layout from its frame topic.
    panel->Back();
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:bottom.vgt"}));
}

TEST_F(VGTPanelTest, TheHistoryKeepsTenStepsAndRunsOut) {
    for (int i = 0; i <= 11; ++i)
        folder.Write("t" + std::to_string(i) + ".vgt", "<LINK=t" + std::to_string(i + 1) + ".vgt>next</LINK>");
    int runOuts = 0;
    panel->OnHistoryRunOut = [&](TObject* sender) {
        EXPECT_EQ(sender, panel);
        ++runOuts;
    };
    panel->Back();
    EXPECT_EQ(runOuts, 0);
    panel->SetSource(TString("t0.vgt"));
    EXPECT_EQ(panel->GetHistory().GetCount(), 0);  // nothing was shown before
    for (int i = 0; i < 11; ++i) ClickLink(Main(), 0);
    EXPECT_EQ(Main()->GetTopicName().str(), "t11.vgt");
    ASSERT_EQ(panel->GetHistory().GetCount(), 10);
    EXPECT_EQ(panel->GetHistory()[0][0].source.str(), "t1.vgt");
    for (int i = 0; i < 10; ++i) panel->Back();
    EXPECT_EQ(Main()->GetTopicName().str(), "t1.vgt");
    EXPECT_EQ(runOuts, 1);
    panel->Back();
    EXPECT_EQ(runOuts, 1);
}

TEST_F(VGTPanelTest, RelatedTopicsAskWhichToOpen) {
    std::vector<std::vector<std::string>> offered;
    constexpr int kCancel = -2;
    int choice = 1;
    win32::ScopedResponder chooser([&](const win32::ModalInteraction& box) {
        auto* dialog = dynamic_cast<TSeeAlsoDlg*>(TWinControl::FindControl(box.window));
        if (dialog == nullptr) {
            boxes.push_back(box);
            return win32::ModalReply::Answer(box.defaultAnswer);
        }
        std::vector<std::string> items;
        for (int i = 0; i < dialog->lbNames->GetCount(); ++i) items.push_back(dialog->lbNames->GetItems()->GetStrings(i));
        offered.push_back(items);
        EXPECT_EQ(box.caption, "Releated topics");
        EXPECT_EQ(dialog->GetClientWidth(), 265);
        EXPECT_EQ(dialog->GetClientHeight(), 185);
        EXPECT_EQ(dialog->Label1->GetCaption(), "Click an item to display:");
        if (choice == kCancel) return win32::ModalReply::Answer(mrCancel);
        dialog->lbNames->SetItemIndex(choice);
        if (choice < 0) return win32::ModalReply::Answer(mrOk);
        // A double click on a caption closes the dialog with OK.
        const RECT item = dialog->lbNames->ItemRect(choice);
        driver.DoubleClick(dialog->lbNames->GetHandle(), item.left + 3, item.top + 3);
        return win32::ModalReply::Answer(dialog->GetModalResult());
    });
    panel->SetSource(TString("other.vgt"));
    panel->SelectLink(Main(), TString("SEEALSO/A/a.vgt/B/b.vgt"), TString(""));
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Main()->GetTopicName().str(), "b.vgt");
    EXPECT_EQ(panel->GetHistory().GetCount(), 1);
    // Cancelled, or OK with nothing chosen: nothing changes, nothing is recorded.
    for (int answer : {kCancel, -1}) {
        choice = answer;
        panel->SelectLink(Main(), TString("SEEALSO/A/a.vgt/B/b.vgt"), TString(""));
        EXPECT_EQ(Main()->GetTopicName().str(), "b.vgt");
        EXPECT_EQ(panel->GetHistory().GetCount(), 1);
    }
    // An even count of items is a topic name.
    panel->SelectLink(Main(), TString("SEEALSO/A/a.vgt/B"), TString(""));
    EXPECT_EQ(offered.size(), 3u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The SEEALSO/A/a.vgt/B topic can not be opened");
}

TEST_F(VGTPanelTest, ALinkToADeclaredFormOpensIt) {
    folder.Write("forms.vgt",
                 "<FORM=NAME=extra,CAPTION=Extra window,LEFT=730,TOP=40,WIDTH=300,HEIGHT=200>"
                 "<LINK=inner.vgt,TARGET=extra>open</LINK> <LINK=other.vgt,TARGET=extra>again</LINK>");
    folder.Write("inner.vgt", "Inside the form");
    panel->SetSource(TString("forms.vgt"));
    ASSERT_EQ(panel->GetDeclaredForms().GetCount(), 1);
    ClickLink(Main(), 0);
    ASSERT_EQ(panel->GetOpenForms().size(), 1u);
    TVGTFormBase* opened = panel->GetOpenForms()[0];
    EXPECT_EQ(opened->GetCaption(), "Extra window");
    EXPECT_EQ(opened->GetLinkName().str(), "extra");
    EXPECT_EQ(opened->GetLeft(), 730);
    EXPECT_EQ(opened->GetWidth(), 300);
    EXPECT_TRUE(opened->GetVisible());
    EXPECT_EQ(opened->GetPanel()->GetMainPanel()->GetTopicName().str(), "inner.vgt");
    EXPECT_EQ(Main()->GetTopicName().str(), "forms.vgt");
    EXPECT_EQ(panel->GetHistory().GetCount(), 0);
    ClickLink(Main(), 1);
    ASSERT_EQ(panel->GetOpenForms().size(), 1u);
    EXPECT_EQ(opened->GetPanel()->GetMainPanel()->GetTopicName().str(), "other.vgt");
    // The form's panel fills its client area when it is resized.
    opened->SetBounds(730, 0, 420, 330);
    TVGTScroller* inside = opened->GetPanel()->GetMainPanel();
    EXPECT_EQ(inside->GetWidth(), opened->GetClientWidth());
    EXPECT_EQ(inside->GetHeight(), opened->GetClientHeight());
}

// A linked form before any panel sets its bounds: its stored layout, with
// its panel's main scroller over the whole client area.
TEST_F(VGTPanelTest, ALinkedFormStartsWithItsStoredLayout) {
    TVGTForm* linked = new TVGTForm(nullptr);
    EXPECT_EQ(linked->GetLeft(), 192);
    EXPECT_EQ(linked->GetTop(), 108);
    EXPECT_EQ(linked->GetClientWidth(), 251);
    EXPECT_EQ(linked->GetClientHeight(), 149);
    TVGTScroller* inside = linked->GetPanel()->GetMainPanel();
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(linked->GetPanel()->GetOwner(), linked);
    const RECT bounds = inside->GetBoundsRect();
    EXPECT_EQ(std::vector<LONG>({bounds.left, bounds.top, bounds.right, bounds.bottom}),
              std::vector<LONG>({0, 0, 251, 149}));
    delete linked;
}

// A step whose topic cannot be read leaves the layout as it was: the
// sub-panels come back with the topics they showed, whether the panel was
// told to open it or a link to "main" was.
TEST_F(VGTPanelTest, AFailedStepKeepsTheSubPanels) {
    folder.Write("top.vgt", "<LINK=b2.vgt,TARGET=bottom>bottom</LINK> <LINK=gone.vgt,TARGET=main>lost</LINK>");
    panel->SetSource(TString("frame.vgt"));
    ClickLink(panel->GetPanel(TString("top")), 0);
    const std::vector<std::string> shown = Sources();
    ASSERT_EQ(shown, (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:b2.vgt"}));
    const int steps = panel->GetHistory().GetCount();
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 0)
            panel->SetSource(TString("gone.vgt"));
        else
            ClickLink(panel->GetPanel(TString("top")), 1);
        ASSERT_EQ(boxes.size(), static_cast<size_t>(attempt + 1));
        EXPECT_EQ(boxes.back().text, "The gone.vgt topic can not be opened");
        EXPECT_EQ(Sources(), shown) << attempt;
        EXPECT_EQ(panel->GetHistory().GetCount(), steps) << attempt;
        EXPECT_FALSE(Main()->GetVisible()) << attempt;
        ASSERT_NE(panel->GetPanel(TString("bottom")), nullptr);
        EXPECT_TRUE(panel->GetPanel(TString("bottom"))->GetVisible()) << attempt;
        EXPECT_EQ(panel->GetPanel(TString("bottom"))->GetTop(), 10 + 170) << attempt;
    }
    driver.PumpUntilIdle();
    EXPECT_EQ(TopicScrollersOfForm(), 3);
}

// With the frame topic on screen no longer readable, a step whose topic
// cannot be read shows one error box, its own, and the panel keeps the very
// sub-panels it showed.
TEST_F(VGTPanelTest, AFailedStepUnderAnUnreadableFrameReportsOnlyItself) {
    folder.Write("top.vgt", "<LINK=gone.vgt,TARGET=main>lost</LINK>");
    panel->SetSource(TString("frame.vgt"));
    const std::vector<TVGTScroller*> shown{panel->GetScroller(0), panel->GetScroller(1), panel->GetScroller(2)};
    std::filesystem::remove(folder.Path() / "frame.vgt");
    for (int attempt = 0; attempt < 2; ++attempt) {
        boxes.clear();
        if (attempt == 0)
            panel->SetSource(TString("gone.vgt"));
        else
            ClickLink(panel->GetPanel(TString("top")), 0);
        std::vector<std::string> texts;
        for (const win32::ModalInteraction& box : boxes) texts.push_back(box.text);
        EXPECT_EQ(texts, (std::vector<std::string>{"The gone.vgt topic can not be opened"})) << attempt;
        EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:bottom.vgt"})) << attempt;
        ASSERT_EQ(panel->GetScrollerCount(), 3);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(panel->GetScroller(i), shown[size_t(i)]) << attempt;
        EXPECT_FALSE(Main()->GetVisible()) << attempt;
        EXPECT_TRUE(shown[2]->GetVisible()) << attempt;
    }
}

// The topic scrollers a form owns, by name.
std::vector<std::string> TopicScrollerNames(TComponent* owner) {
    std::vector<std::string> names;
    for (int i = 0; i < owner->GetComponentCount(); ++i)
        if (dynamic_cast<TVGTScroller*>(owner->GetComponent(i))) names.push_back(owner->GetComponent(i)->GetName());
    return names;
}

// A form with a panel, written while sub-panels show and read back, holds
// the same components and writes the same text again: the panel's scrollers
// are not written, and the panel read back makes its own.
TEST_F(VGTPanelTest, AFormWithAPanelWritesAndReadsBackTheSame) {
    form->SetName("HelpForm");
    panel->SetSource(TString("frame.vgt"));
    std::string text = WriteComponentText(form);
    EXPECT_EQ(text.find("Scroller"), std::string::npos) << text;
    for (int round = 0; round < 2; ++round) {
        TForm copy(nullptr, 1);
        ReadComponentText(&copy, text);
        auto* read = dynamic_cast<TVGTPanel*>(copy.FindComponent("Help"));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(TopicScrollerNames(&copy), (std::vector<std::string>{"HelpScroller1"}));
        EXPECT_EQ(read->GetMainPanel(), copy.FindComponent("HelpScroller1"));
        const std::string written = WriteComponentText(&copy);
        // The form is shown and the copies are not: the copies' texts agree.
        if (round > 0) {
            EXPECT_EQ(written, text);
        }
        text = written;
    }
}

// Texts written before the scrollers were left out still load: the stored
// scrollers of a panel (before it, after it, sub-panels too) make no window,
// the panel makes its own, and a scroller of another name stays.
TEST_F(VGTPanelTest, OlderTextsWithStoredScrollersLoadWithoutThem) {
    auto scroller = [](const std::string& name, const std::string& kind) {
        return "  object " + name + ": " + kind + "\n    Left = 10\n    Top = 10\n    Width = 300\n    Height = 100\n"
               "    VMax = 0\n    HMax = 0\n    AutoScroll = False\n    Centered = False\n  end\n";
    };
    auto panelObject = [](const std::string& kind) {
        return "  object Cpanel: " + kind + "\n    Left = 10\n    Top = 10\n    Width = 300\n    Height = 200\n"
               "    Visible = False\n  end\n";
    };
    const std::string head = "object HelpForm: TForm\n  Left = 50\n  Top = 50\n";
    for (const std::string& kind : {std::string("TVGT"), std::string("TVGM")}) {
        const std::string scrollerKind = kind + "Scroller", panelKind = kind + "Panel";
        const std::string standalone = scroller("Standalone", "TVGTScroller");
        const std::string texts[] = {
            head + scroller("CpanelScroller1", scrollerKind) + panelObject(panelKind) +
                scroller("CpanelScroller2", scrollerKind) + scroller("CpanelScroller3", scrollerKind) + standalone +
                "end\n",
            head + panelObject(panelKind) + scroller("CpanelScroller1", scrollerKind) + standalone + "end\n",
            head + scroller("cpanelscroller7", scrollerKind) + standalone + panelObject(panelKind) + "end\n",
        };
        for (const std::string& text : texts) {
            SCOPED_TRACE(text);
            TForm copy(nullptr, 1);
            ReadComponentText(&copy, text);
            auto* read = dynamic_cast<TVGTPanel*>(copy.FindComponent("Cpanel"));
            ASSERT_NE(read, nullptr);
            ASSERT_NE(read->GetMainPanel(), nullptr);
            EXPECT_EQ(read->GetScrollerCount(), 1);
            std::vector<std::string> names = TopicScrollerNames(&copy);
            std::sort(names.begin(), names.end());
            EXPECT_EQ(names, (std::vector<std::string>{read->GetMainPanel()->GetName(), "Standalone"}));
            const std::string written = WriteComponentText(&copy);
            EXPECT_EQ(written.find("CpanelScroller"), std::string::npos) << written;
            EXPECT_NE(written.find("object Standalone: TVGTScroller"), std::string::npos) << written;
        }
    }
}

// A handler that opens another topic and goes back from a click in a
// sub-panel: the clicking scroller is retired, not freed under its click.
TEST_F(VGTPanelTest, HandlersMayReplaceTheLayoutDuringAClick) {
    panel->SetSource(TString("frame.vgt"));
    TVGTScroller* top = panel->GetPanel(TString("top"));
    int clicks = 0;
    top->OnClickLink = [&](const TString&) {
        ++clicks;
        panel->SetSource(TString("other.vgt"));
        panel->Back();
    };
    ClickLink(top, 1);
    EXPECT_EQ(clicks, 1);
    driver.PumpUntilIdle();
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:bottom.vgt"}));
    EXPECT_EQ(TopicScrollersOfForm(), 3);
    // Names stay unique through retiring and rebuilding.
    std::vector<std::string> names;
    for (int i = 0; i < form->GetComponentCount(); ++i) names.push_back(form->GetComponent(i)->GetName());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

// A scroller name another component holds (a retired scroller still alive)
// is skipped.
TEST_F(VGTPanelTest, ScrollerNamesSkipNamesInUse) {
    (new TComponent(form))->SetName("HelpScroller3");
    panel->SetSource(TString("frame.vgt"));
    ASSERT_EQ(panel->GetScrollerCount(), 3);
    EXPECT_EQ(panel->GetScroller(1)->GetName(), "HelpScroller2");
    EXPECT_EQ(panel->GetScroller(2)->GetName(), "HelpScroller4");
}

// Going back between two frame topics with the same sub-panel names keeps
// one set of sub-panels.
TEST_F(VGTPanelTest, BackBetweenFramesKeepsOneSetOfSubPanels) {
    folder.Write("frame2.vgt", std::string(kFrame) + " two");
    panel->SetSource(TString("frame.vgt"));
    panel->SetSource(TString("frame2.vgt"));
    panel->Back();
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "top:top.vgt", "bottom:bottom.vgt"}));
    driver.PumpUntilIdle();
    EXPECT_EQ(TopicScrollersOfForm(), 3);
}

// Panel and scrollers go in either order.
TEST_F(VGTPanelTest, PanelAndScrollersGoInEitherOrder) {
    panel->SetSource(TString("frame.vgt"));
    TVGTScroller* top = panel->GetPanel(TString("top"));
    delete Main();
    EXPECT_EQ(panel->GetScrollerCount(), 0);
    EXPECT_EQ(top->GetPanel(), nullptr);
    delete panel;
    panel = new TVGTPanel(form);
    panel->SetParent(form);
    panel->SetSource(TString("frame.vgt"));
    TVGTScroller* main = Main();
    delete panel;
    panel = nullptr;
    EXPECT_EQ(main->GetPanel(), nullptr);
    driver.MoveMouse(main->GetHandle(), 5, 5);
}

TEST_F(VGTPanelTest, TheDesignFramePaintsItsName) {
    TForm* designed = new TForm(nullptr, 1);
    designed->SetDesigning(true);
    designed->SetBounds(0, 0, 300, 200);
    designed->Show();
    TVGTPanel* shown = new TVGTPanel(designed);
    shown->SetName("Designed");
    shown->SetParent(designed);
    driver.PumpUntilIdle();
    EXPECT_EQ(shown->GetWidth(), 120);
    EXPECT_EQ(shown->GetHeight(), 80);
    EXPECT_EQ(shown->GetScrollerCount(), 0);
    EXPECT_EQ(driver.Pixel(shown->GetHandle(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(driver.Pixel(shown->GetHandle(), 60, 60), RGB(255, 255, 255));
    bool ink = false;
    for (int y = 10; y < 25 && !ink; ++y)
        for (int x = 10; x < 60 && !ink; ++x) ink = driver.Pixel(shown->GetHandle(), x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(ink);
    delete designed;
}

}  // namespace
