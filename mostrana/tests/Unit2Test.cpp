// Tests of TForm2: its stored layout and what FormCreate makes of it (the
// panel's place, the splitters, the picture, the help archive), the two
// buttons, resizing, dragging the splitters, and taking the form down.
#include <cstdlib>
#include <string>
#include <vector>

#include "Buttons.h"
#include "FormLayoutChecks.h"
#include "FormSplitter.h"
#include "ListBox.h"
#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "MostranaFixture.h"
#include "Resource.h"
#include "Responder.h"
#include "ScrollControl.h"
#include "SelectTopicDlg.h"
#include "TextEditor.h"
#include "VGMPanel.h"
#include "VGMScroller.h"
#include "VGTForm.h"

namespace {

// The forms made as the start-up makes them, with a responder from the start:
// modal forms go to the test's dialog handler, message boxes are recorded and
// get their default answer.
class Form2Test : public FormsTest {
protected:
    // The statistics form, made last, lies over the lower half of this one:
    // this one comes to the front, as a click on its frame would bring it.
    void SetUp() override {
        FormsTest::SetUp();
        SetActiveWindow(Form2->GetHandle());
        driver.PumpUntilIdle();
    }

    TVGMPanel* Panel() const { return Form2->VGMPanel1; }
    TVGTScroller* Main() const { return Panel()->GetMainPanel(); }
    std::string Shown() const { return Main()->GetTopicName().str(); }
    void Settle() { driver.PumpUntilIdle(); }
    void ClickMiddleOf(TControl* control) {
        driver.Click(Form2->GetHandle(), control->GetLeft() + control->GetWidth() / 2,
                     control->GetTop() + control->GetHeight() / 2);
        driver.PumpUntilIdle();
    }

    std::vector<win32::ModalInteraction> boxes;
    std::function<int(TWinControl*, const win32::ModalInteraction&)> dialogs;
    win32::ScopedResponder responder{[this](const win32::ModalInteraction& box) {
        if (box.kind == win32::ModalKind::Form && dialogs)
            return win32::ModalReply::Answer(dialogs(TWinControl::FindControl(box.window), box));
        boxes.push_back(box);
        return win32::ModalReply::Answer(box.defaultAnswer);
    }};
};

TEST_F(Form2Test, TheStoredLayoutAndFormCreateGiveTheControlsTheirPlacesAndValues) {
    EXPECT_FALSE(Form2->GetAutoScroll());
    for (const char* handler : {"FormCreate", "FormClose", "FormResize"})
        EXPECT_TRUE(Form2->FindHandler(handler).has_value()) << handler;
    EXPECT_EQ(EventHandlerName(Form2->OnCreate), "FormCreate");
    EXPECT_EQ(EventHandlerName(Form2->OnClose), "FormClose");
    EXPECT_EQ(EventHandlerName(Form2->OnResize), "FormResize");

    // Shown, the form stretches the right column to its client width (498 - 256 - 8).
    const int rightWidth = Form2->GetClientWidth() - 256 - 8;
    const int lowerHeight = Form2->GetClientHeight() - 184 - 8;
    ExpectComponents(Form2, {
        {"ScrollControl1", "TScrollControl", Form2->ScrollControl1, 8, 8, 233, 161},
        {"VGMPanel1", "TVGMPanel", Form2->VGMPanel1, 256, 41, rightWidth, 128},
        // The panel's main scroller, a component of the form over the panel's rectangle.
        {"VGMPanel1Scroller1", "TVGMScroller", Main(), 256, 41, rightWidth, 128},
        {"MemBitmapScroller1", "TMemBitmapScroller", Form2->MemBitmapScroller1, 8, 184, 233, lowerHeight},
        {"TextEditor1", "TTextEditor", Form2->TextEditor1, 256, 184, rightWidth, lowerHeight},
        {"FormSplitter1", "TFormSplitter", Form2->FormSplitter1, -1, 0, 0, 0},
        {"FormSplitter2", "TFormSplitter", Form2->FormSplitter2, -1, 0, 0, 0},
        {"Button1", "TButton", Form2->Button1, 256, 8, 75, 25},
        {"Button2", "TButton", Form2->Button2, 336, 8, 75, 25},
    });
    // The panel: 8 pixels under the buttons, its bottom level with the scroll control's.
    const TControl* button = Form2->Button1;
    EXPECT_EQ(Panel()->GetTop(), button->GetTop() + button->GetHeight() + 8);
    const TControl* scrollControl = Form2->ScrollControl1;
    EXPECT_EQ(Panel()->GetTop() + Panel()->GetHeight(), scrollControl->GetTop() + scrollControl->GetHeight());
    EXPECT_EQ(Form2->Button1->GetCaption(), "Topics...");
    EXPECT_EQ(Form2->Button2->GetCaption(), "Back");
    EXPECT_EQ(EventHandlerName(Form2->Button1->OnClick), "Button1Click");
    EXPECT_EQ(EventHandlerName(Form2->Button2->OnClick), "Button2Click");

    const TMemBitmapScroller* pictures = Form2->MemBitmapScroller1;
    EXPECT_TRUE(pictures->GetWantArrows());
    EXPECT_EQ(pictures->GetBorderBrush()->GetColor(), clBlack);
    EXPECT_EQ(pictures->GetRulerNumber(), 5);
    EXPECT_EQ(pictures->GetHorzRatio(), 1.0f);
    EXPECT_EQ(pictures->GetVertRatio(), 1.0f);
    const TTextEditor* editor = Form2->TextEditor1;
    EXPECT_EQ(editor->GetVMax(), 0);
    EXPECT_EQ(editor->GetVScrollStep(), 14);
    EXPECT_EQ(editor->GetHMax(), 0);
    EXPECT_EQ(editor->GetHScrollStep(), 7);
    EXPECT_EQ(editor->GetFontName(), "Courier New");

    for (TFormSplitter* splitter : {Form2->FormSplitter1, Form2->FormSplitter2}) {
        EXPECT_TRUE(splitter->GetShowPosition()) << splitter->GetName();
        EXPECT_TRUE(splitter->GetShowPercentage()) << splitter->GetName();
        EXPECT_EQ(splitter->GetLineType(), fslChecked) << splitter->GetName();
        EXPECT_EQ(splitter->GetCursorType(), fscSplit) << splitter->GetName();
        EXPECT_EQ(splitter->GetResizeMode(), fsrKeepRatio) << splitter->GetName();
        EXPECT_EQ(splitter->GetHost(), Form2) << splitter->GetName();
        EXPECT_EQ(EventHandlerName(splitter->OnMove), "FormSplitter1Move") << splitter->GetName();
        EXPECT_EQ(EventHandlerName(splitter->OnOmitControl), "FormSplitter1OmitControl") << splitter->GetName();
    }
    EXPECT_TRUE(Form2->FormSplitter1->GetHorizontal());
    EXPECT_FALSE(Form2->FormSplitter2->GetHorizontal());

    // The help: the index topic from the archive, no box, and nothing in the history.
    ASSERT_NE(Form2->GetArchive(), nullptr);
    EXPECT_EQ(Panel()->GetResource(), Form2->GetArchive());
    EXPECT_TRUE(Form2->GetArchive()->HasEntry(TString("index.vgt")));
    EXPECT_EQ(Shown(), "index.vgt");
    EXPECT_EQ(Panel()->GetSource().str(), "index.vgt");
    EXPECT_GT(Panel()->GetTopics().GetCount(), 10);
    EXPECT_EQ(Panel()->GetHistory().GetCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

// Each splitter moved by 10 pixels: the controls on its lower side grow, those
// on its upper side move their near edge, the moving ones move, the others stay.
TEST_F(Form2Test, TheSplittersStandInTheGapsBetweenTheirControls) {
    EXPECT_EQ(Form2->FormSplitter1->GetPosition(), 248);
    EXPECT_EQ(Form2->FormSplitter2->GetPosition(), 176);

    // The panel's scroller follows the panel.
    const std::vector<TControl*> controls = {Form2->ScrollControl1, Panel(),        Main(),
                                             Form2->MemBitmapScroller1, Form2->TextEditor1,
                                             Form2->Button1,        Form2->Button2};
    const struct {
        TFormSplitter* splitter;
        std::vector<SplitterSide> sides;
    } cases[] = {
        {Form2->FormSplitter1, {Lower, Upper, Upper, Lower, Upper, Moving, Moving}},
        {Form2->FormSplitter2, {Lower, Lower, Lower, Upper, Upper, Unmoved, Unmoved}},
    };
    for (const auto& c : cases) ExpectSplitterSides(c.splitter, controls, c.sides, [this] { Settle(); });
}

// The splitters leave every topic scroller to the panel, even one given them
// as a control to move; any other control they move.
TEST_F(Form2Test, TheSplittersNeverMoveATopicScrollerThemselves) {
    TVGTScroller standalone(nullptr);
    const struct {
        TControl* control;
        bool omitted;
    } rows[] = {
        {Main(), true},           {&standalone, true},          {Form2->TextEditor1, false},
        {Panel(), false},         {Form2->ScrollControl1, false}, {Form2->MemBitmapScroller1, false},
        {Form2->Button1, false},
    };
    for (TFormSplitter* splitter : {Form2->FormSplitter1, Form2->FormSplitter2})
        for (const auto& row : rows)
            EXPECT_EQ(splitter->OnOmitControl(splitter, row.control), row.omitted)
                << splitter->GetName() << " " << row.control->ClassName();

    // Given as a control to move, the panel's scroller still only follows the panel.
    const struct {
        TFormSplitter* splitter;
        SplitterSide panelSide;
    } cases[] = {{Form2->FormSplitter1, Upper}, {Form2->FormSplitter2, Lower}};
    for (const auto& c : cases) {
        c.splitter->AddMovingObject(Main());
        ExpectSplitterSides(c.splitter, {Panel(), Main()}, {c.panelSide, c.panelSide}, [this] { Settle(); });
    }
}

TEST_F(Form2Test, ThePictureScrollerShowsTheTestPictureWithItsCorners) {
    TMemBitmapScroller* scroller = Form2->MemBitmapScroller1;
    const TMemBitmap* image = scroller->GetImage();
    ASSERT_TRUE(image && image->Valid);
    EXPECT_EQ(image->Width, 640);
    EXPECT_EQ(image->Height, 480);
    // Each corner block scrolled into view and read from the window.
    const struct {
        int x, y;
        bool right, bottom;
        COLORREF colour;
    } corners[] = {{32, 32, false, false, RGB(255, 0, 0)},
                   {607, 32, true, false, RGB(0, 255, 0)},
                   {32, 447, false, true, RGB(0, 0, 255)},
                   {607, 447, true, true, RGB(255, 255, 255)}};
    for (const auto& corner : corners) {
        scroller->SetHPos(corner.right ? scroller->GetHMax() : 0);
        scroller->SetVPos(corner.bottom ? scroller->GetVMax() : 0);
        driver.PumpUntilIdle();
        const POINT at = scroller->GetComponentCoord(POINT{corner.x, corner.y});
        ASSERT_TRUE(at.x >= 0 && at.y >= 0 && at.x < scroller->GetClientWidth() && at.y < scroller->GetClientHeight())
            << corner.x << "," << corner.y << " out of view at " << at.x << "," << at.y;
        const COLORREF pixel = driver.Pixel(scroller->GetHandle(), at.x, at.y);
        EXPECT_NEAR(GetRValue(pixel), GetRValue(corner.colour), 40) << corner.x << "," << corner.y;
        EXPECT_NEAR(GetGValue(pixel), GetGValue(corner.colour), 40) << corner.x << "," << corner.y;
        EXPECT_NEAR(GetBValue(pixel), GetBValue(corner.colour), 40) << corner.x << "," << corner.y;
    }
    // The keys the help names for it: a click gives it the keyboard, Ctrl+R
    // shows the rulers and Ctrl+M the mesh.
    ClickMiddleOf(scroller);
    EXPECT_EQ(GetFocus(), scroller->GetHandle());
    driver.Press({VK_CONTROL}, 'R');
    driver.Press({VK_CONTROL}, 'M');
    EXPECT_TRUE(scroller->GetShowRulers());
    EXPECT_TRUE(scroller->GetShowMesh());
}

// "Topics..." opens the choice of a topic by name; "Back" returns to the index.
TEST_F(Form2Test, TopicsChoosesATopicByNameAndBackReturnsToTheIndex) {
    std::string caption;
    dialogs = [&](TWinControl* window, const win32::ModalInteraction& box) {
        caption = box.caption;
        auto* dialog = dynamic_cast<TSelectTopicDlg*>(window);
        if (!dialog) return int(mrCancel);
        dialog->lbNames->SetItemIndex(dialog->lbNames->GetItems()->IndexOf("Scrollers and splitters"));
        return int(mrOk);
    };
    ClickMiddleOf(Form2->Button1);
    EXPECT_EQ(caption, "Select a topic");
    EXPECT_EQ(Shown(), "scrollers.vgt");
    EXPECT_EQ(Panel()->GetHistory().GetCount(), 1);
    ClickMiddleOf(Form2->Button2);
    EXPECT_EQ(Shown(), "index.vgt");
    EXPECT_EQ(Panel()->GetHistory().GetCount(), 0);
    // With nothing to go back to, Back leaves the index where it is.
    ClickMiddleOf(Form2->Button2);
    EXPECT_EQ(Shown(), "index.vgt");
    // Cancel opens nothing.
    dialogs = [](TWinControl*, const win32::ModalInteraction&) { return int(mrCancel); };
    ClickMiddleOf(Form2->Button1);
    EXPECT_EQ(Shown(), "index.vgt");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form2Test, ResizingKeepsEightPixelsToTheRightAndBottomEdges) {
    const struct {
        int clientWidth, clientHeight;
    } cases[] = {{640, 480}, {498, 345}, {900, 400}, {560, 700}};
    // The topic is laid out to the scroller's client width less its margins.
    const int margins = Main()->GetClientWidth() - Main()->GetLayoutWidth();
    for (const auto& c : cases) {
        Form2->SetClientWidth(c.clientWidth);
        Form2->SetClientHeight(c.clientHeight);
        driver.PumpUntilIdle();
        const std::string what = std::to_string(c.clientWidth) + " x " + std::to_string(c.clientHeight);
        ASSERT_EQ(Form2->GetClientWidth(), c.clientWidth) << what;
        ASSERT_EQ(Form2->GetClientHeight(), c.clientHeight) << what;
        for (TControl* control : {static_cast<TControl*>(Panel()), static_cast<TControl*>(Form2->TextEditor1)})
            EXPECT_EQ(control->GetLeft() + control->GetWidth(), c.clientWidth - 8) << what << " " << control->GetName();
        for (TControl* control : {static_cast<TControl*>(Form2->MemBitmapScroller1),
                                  static_cast<TControl*>(Form2->TextEditor1)})
            EXPECT_EQ(control->GetTop() + control->GetHeight(), c.clientHeight - 8)
                << what << " " << control->GetName();
        // The lines keep their share of the client area, between the controls.
        EXPECT_EQ(Form2->FormSplitter1->GetPosition(), (2 * 248 * c.clientWidth + 498) / (2 * 498)) << what;
        EXPECT_EQ(Form2->FormSplitter2->GetPosition(), (2 * 176 * c.clientHeight + 345) / (2 * 345)) << what;
        EXPECT_EQ(Panel()->GetTop() + Panel()->GetHeight(),
                  Form2->ScrollControl1->GetTop() + Form2->ScrollControl1->GetHeight())
            << what;
        EXPECT_EQ(Edges(Main()->GetBoundsRect()), Edges(Panel()->GetBoundsRect())) << what;
        EXPECT_EQ(Main()->GetLayoutWidth(), Main()->GetClientWidth() - margins) << what;
    }
}

// The user drags each line: the panel moves or grows and its topic is laid
// out again at the new size, by the panel alone.
TEST_F(Form2Test, DraggingASplitterLaysThePanelsTopicOutAgain) {
    const int width = Main()->GetLayoutWidth();
    const int height = Main()->GetLaidOutHeight();
    // The vertical line 60 pixels right: the panel is narrower and its text longer.
    driver.Drag(Form2->GetHandle(), 248, 100, 308, 100);
    driver.PumpUntilIdle();
    EXPECT_EQ(Form2->FormSplitter1->GetPosition(), 308);
    EXPECT_EQ(Panel()->GetLeft(), 316);
    EXPECT_EQ(Panel()->GetLeft() + Panel()->GetWidth(), Form2->GetClientWidth() - 8);
    EXPECT_EQ(Edges(Main()->GetBoundsRect()), Edges(Panel()->GetBoundsRect()));
    EXPECT_EQ(Main()->GetLayoutWidth(), width - 60);
    EXPECT_GT(Main()->GetLaidOutHeight(), height);
    EXPECT_EQ(Form2->Button1->GetLeft(), 316);
    // The horizontal line 50 pixels down: the panel is taller.
    driver.Drag(Form2->GetHandle(), 100, 176, 100, 226);
    driver.PumpUntilIdle();
    EXPECT_EQ(Form2->FormSplitter2->GetPosition(), 226);
    EXPECT_EQ(Panel()->GetHeight(), 128 + 50);
    EXPECT_EQ(Edges(Main()->GetBoundsRect()), Edges(Panel()->GetBoundsRect()));
    EXPECT_EQ(Form2->TextEditor1->GetTop(), 184 + 50);
    // And the first line back: the text as wide as at first.
    driver.Drag(Form2->GetHandle(), 308, 100, 248, 100);
    driver.PumpUntilIdle();
    EXPECT_EQ(Main()->GetLayoutWidth(), width);
    EXPECT_EQ(Shown(), "index.vgt");
    EXPECT_TRUE(boxes.empty());
}

// Taking the form down while the help shows a frame topic with its sub-panels
// and a form of its own: the components go before the archive they read, and
// no box shows.
TEST_F(Form2Test, TheFormGoesDownCleanlyWithSubPanelsAndAnOpenHelpForm) {
    Panel()->SetSource(TString("links.vgt"));
    Panel()->SelectLink(Main(), TString("note.vgt"), TString("note"));
    ASSERT_EQ(Panel()->GetOpenForms().size(), 1u);
    Panel()->SetSource(TString("guide.vgt"));
    driver.PumpUntilIdle();
    ASSERT_GT(Panel()->GetScrollerCount(), 1);
    // The base form runs OnDestroy after the form's own members, the archive
    // among them, are gone: by then no component may be left to read it.
    int left = -1;
    Form2->OnDestroy = [&](TObject*) { left = Form2->GetComponentCount(); };
    delete Form2;
    Form2 = nullptr;
    driver.PumpUntilIdle();
    EXPECT_EQ(left, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MostranaTest, BeforeFormCreateResizingLeavesTheControlsAlone) {
    TForm2 loaded(nullptr);
    loaded.LoadStoredLayout();
    ASSERT_NE(loaded.TextEditor1, nullptr);
    EXPECT_EQ(loaded.GetArchive(), nullptr);
    loaded.Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1200, 800));
    loaded.FormResize(&loaded);
    EXPECT_EQ(loaded.TextEditor1->GetWidth(), 233);
    EXPECT_EQ(loaded.TextEditor1->GetHeight(), 150);
    EXPECT_EQ(loaded.VGMPanel1->GetTop(), 40);
}

}  // namespace
