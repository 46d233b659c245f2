// Shared by the control tests: a top-level host window and the test driver.
#pragma once

#include <gtest/gtest.h>

#include "Controls.h"
#include "display/TestDriver.h"

// A visible top-level window at (100, 100) to put controls in.
class THost : public TCustomControl {
    CLASSLIB_CLASS(THost, TCustomControl)

public:
    explicit THost(TComponent* owner) : TCustomControl(owner) {
        SetBounds(100, 100, 200, 150);
        SetColor(clWhite);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        params.Style = (params.Style & ~static_cast<DWORD>(WS_CHILD)) | WS_POPUP;
    }
};

// Each test gets a fresh window layer and a host window with its handle made.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = new THost(nullptr);
        host->HandleNeeded();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete host; }

    win32::TestDriver driver;
    THost* host = nullptr;
};
