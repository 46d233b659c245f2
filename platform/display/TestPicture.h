// The test driver's picture helper: one call that saves a window's picture
// as a BMP named after the running GoogleTest test, so that a real-window test
// leaves something to look at. For test programs only (it needs GoogleTest).
//
// Folder: $SUITE_TEST_PICTURES when set and not empty; else the build's
// test-pictures folder, which the suite's CMake test functions pass in as
// SUITE_TEST_PICTURE_FOLDER (build/test-pictures); else the system's
// temporary folder. The folder is made when missing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "Win32.h"
#include "display/WindowPicture.h"

namespace win32 {

inline std::string TestPictureFolder() {
    if (const char* folder = std::getenv("SUITE_TEST_PICTURES"); folder && *folder) return folder;
#ifdef SUITE_TEST_PICTURE_FOLDER
    return SUITE_TEST_PICTURE_FOLDER;
#else
    std::error_code error;
    return std::filesystem::temp_directory_path(error).string();
#endif
}

// <Suite>.<Test>[.<label>].bmp, with anything but letters, digits, '.', '-'
// and '_' (the '/' of parameterised tests) made '_'; "picture" outside a test.
inline std::string TestPictureName(const std::string& label) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "picture";
    if (!label.empty()) name += "." + label;
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '-' || c == '_';
        if (!plain) c = '_';
    }
    return name + ".bmp";
}

// Saves the picture of window's top-level window (frame and visible children)
// under TestPictureFolder() as TestPictureName(label). Returns the path
// written; "" for a window that does not exist or a file that cannot be made.
inline std::string SaveTestPicture(HWND window, const std::string& label = "") {
    HWND topLevel = IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!topLevel) return "";
    const std::filesystem::path folder = TestPictureFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = (folder / TestPictureName(label)).string();
    return SaveWindowPicture(topLevel, path.c_str()) ? path : "";
}

}  // namespace win32
