// What the scroller and panel tests share: a shown form in a fresh window
// layer with the test driver, a temporary folder for topic files, and the
// message boxes the viewer shows, answered and recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Form.h"
#include "Responder.h"
#include "TopicFolder.h"
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
