// What the scroller and panel tests share: a shown form in a fresh window
// layer with the test driver, a temporary folder for topic files, and the
// message boxes the viewer shows, answered and recorded; for panels, clicks
// on their links and what their scrollers show.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Form.h"
#include "Responder.h"
#include "TopicFolder.h"
#include "VGTPanel.h"
#include "display/TestDriver.h"

class ScrollerTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 1);
        form->SetBounds(50, 50, 640, 520);
        form->Show();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete form; }

    // Makes a control of class T on the form with the given bounds and pumps.
    template <class T>
    T* Place(int left, int top, int width, int height) {
        T* control = new T(form);
        control->SetBounds(left, top, width, height);
        control->SetParent(form);
        driver.PumpUntilIdle();
        return control;
    }

    // The client pixels of a control, row by row.
    std::vector<COLORREF> Pixels(TWinControl* control) {
        driver.PumpUntilIdle();
        std::vector<COLORREF> pixels;
        const RECT client = control->GetClientRect();
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) pixels.push_back(driver.Pixel(control->GetHandle(), x, y));
        return pixels;
    }

    TopicFolder folder;
    win32::TestDriver driver;
    std::vector<win32::ModalInteraction> boxes;
    win32::ScopedResponder responder{[this](const win32::ModalInteraction& box) {
        boxes.push_back(box);
        return win32::ModalReply::Answer(box.defaultAnswer);
    }};
    TForm* form = nullptr;
};

// A test of one panel on the form, which the derived test makes.
class PanelTest : public ScrollerTest {
protected:
    virtual TVGTPanel* Panel() const = 0;
    TVGTScroller* Main() const { return Panel()->GetMainPanel(); }
    // Clicks a point of a scroller's user rectangle through the window.
    void ClickAt(TVGTScroller* scroller, POINT point) {
        const POINT at = scroller->GetComponentCoord(point);
        driver.MoveMouse(scroller->GetHandle(), at.x, at.y);
        driver.Click(scroller->GetHandle(), at.x, at.y);
    }
    // The middle of text link i's first area.
    void ClickLink(TVGTScroller* scroller, int i) {
        const RECT area = scroller->GetLinks()[i].areas[0];
        ClickAt(scroller, POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
    }
    // The middle of image-link area i's first three points.
    void ClickArea(TVGTScroller* scroller, int i) {
        const TPointContainer& polygon = scroller->GetImageLinks()[i].polygon;
        ClickAt(scroller, POINT{(polygon[0].x + polygon[1].x + polygon[2].x) / 3,
                                (polygon[0].y + polygon[1].y + polygon[2].y) / 3});
    }
    // "sub-panel name:topic" of every scroller, in order.
    std::vector<std::string> Sources() const {
        std::vector<std::string> sources;
        for (int i = 0; i < Panel()->GetScrollerCount(); ++i)
            sources.push_back(Panel()->GetScroller(i)->GetPanelInfo().name.str() + ":" +
                              Panel()->GetScroller(i)->GetTopicName().str());
        return sources;
    }
    // The topic scrollers the form owns, retired ones included.
    int TopicScrollersOfForm() const {
        int count = 0;
        for (int i = 0; i < form->GetComponentCount(); ++i) count += dynamic_cast<TVGTScroller*>(form->GetComponent(i)) != nullptr;
        return count;
    }
};
