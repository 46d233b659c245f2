// Shared by the Kontrola tests: a shown form built in code and the test driver.
#pragma once

#include <gtest/gtest.h>

#include "Form.h"
#include "display/TestDriver.h"

// Each test gets a fresh window layer and a visible 400x300 form at (50, 50).
class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 1);
        form->SetBounds(50, 50, 400, 300);
        form->SetColor(clBtnFace);
        form->Show();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete form; }

    // Makes a control of class T on the form with the given bounds.
    template <class T>
    T* Place(int left, int top, int width, int height) {
        T* control = new T(form);
        control->SetBounds(left, top, width, height);
        control->SetParent(form);
        return control;
    }

    win32::TestDriver driver;
    TForm* form = nullptr;
};
