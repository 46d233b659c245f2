// Shared by the program's tests: a fresh window layer and application, and
// the forms made as the start-up makes them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "Application.h"
#include "Startup.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "display/TestDriver.h"

class MostranaTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The generated character tables, unless the run names others.
        setenv("CHDIR", MOSTRANA_TEST_CHR_DIR, 0);
        Application->Initialize();
    }
    void TearDown() override {
        DestroyForms();
        Application->OnException = nullptr;
    }

    win32::TestDriver driver;
};

// The three forms made and the main form shown, without a message loop.
class FormsTest : public MostranaTest {
protected:
    void SetUp() override {
        MostranaTest::SetUp();
        CreateForms();
        Form1->Show();
        driver.PumpUntilIdle();
    }
};
