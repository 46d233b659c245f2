// TForm2 in a program that carries its layout but neither the test picture nor
// the help archive: the picture scroller stays empty, the panel has no topics,
// and the form works and goes down all the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Application.h"
#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "Resource.h"
#include "Responder.h"
#include "Unit2.h"
#include "VGMPanel.h"
#include "display/TestDriver.h"

namespace {

TEST(Form2WithoutItsResources, ShowsAnEmptyPictureScrollerAndAPanelWithoutTopics) {
    ASSERT_EQ(FindResourceA(GetModuleHandleA(nullptr), "TESTIMAGE", RT_RCDATA), nullptr);
    ASSERT_EQ(FindResourceA(GetModuleHandleA(nullptr), "ORVEX_HELP_EN", RT_RCDATA), nullptr);
    win32::TestDriver driver;
    std::vector<win32::ModalInteraction> boxes;
    std::vector<std::string> dialogs;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& box) {
        if (box.kind == win32::ModalKind::Form)
            dialogs.push_back(box.caption);
        else
            boxes.push_back(box);
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    Application->Initialize();
    Form2 = Application->CreateForm<TForm2>();
    driver.PumpUntilIdle();

    TMemBitmapScroller* pictures = Form2->MemBitmapScroller1;
    ASSERT_NE(pictures->GetImage(), nullptr);
    EXPECT_FALSE(pictures->GetImage()->Valid);
    // Nothing but the background where the picture would start.
    EXPECT_EQ(driver.Pixel(pictures->GetHandle(), 20, 20), driver.Pixel(pictures->GetHandle(), 60, 60));

    TVGMPanel* panel = Form2->VGMPanel1;
    ASSERT_NE(Form2->GetArchive(), nullptr);
    EXPECT_EQ(Form2->GetArchive()->GetCount(), 0);
    EXPECT_EQ(panel->GetTopics().GetCount(), 0);
    EXPECT_EQ(panel->GetMainPanel()->GetTopicName().str(), "");
    EXPECT_EQ(panel->GetHistory().GetCount(), 0);
    // Opening the index topic said that it could not.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The index.vgt topic can not be opened");

    // The buttons and a resize still work; taking the form down shows nothing more.
    boxes.clear();
    Form2->Button1Click(Form2);
    EXPECT_EQ(dialogs, std::vector<std::string>{"Select a topic"});
    Form2->Button2Click(Form2);
    Form2->SetClientWidth(600);
    driver.PumpUntilIdle();
    EXPECT_EQ(panel->GetLeft() + panel->GetWidth(), 600 - 8);
    Application->DestroyComponents();
    Form2 = nullptr;
    driver.PumpUntilIdle();
    for (const win32::ModalInteraction& box : boxes) ADD_FAILURE() << "a box: " << box.caption << ": " << box.text;
}

}  // namespace
