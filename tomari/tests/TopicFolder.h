// A temporary folder that a test works in: made afresh, made the current
// folder (loose topic, picture and link file names are relative to it), and
// removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "MemBitmap.h"

class TopicFolder {
public:
    TopicFolder() {
        static int counter = 0;
        folder_ = std::filesystem::path(::testing::TempDir()) /
                  ("tomari_topics_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    ~TopicFolder() {
        std::error_code error;
        std::filesystem::current_path(previous_, error);
        std::filesystem::remove_all(folder_, error);
    }
    TopicFolder(const TopicFolder&) = delete;
    TopicFolder& operator=(const TopicFolder&) = delete;

    // Writes a file of the folder.
    void Write(const std::string& name, const std::string& bytes) const {
        FILE* file = std::fopen((folder_ / name).c_str(), "wb");
        ASSERT_NE(file, nullptr) << name;
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    // A 24-bit picture of width x height in one colour, saved as BMP or, for
    // a .jpg name, as JPEG.
    static void Picture(const std::string& name, int width, int height, COLORREF colour) {
        TMemBitmap picture;
        ASSERT_TRUE(picture.NewBitmap(width, height, 24));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) picture.SetPixel(x, y, static_cast<int>(colour));
        picture.Refresh();
        if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") {
            picture.JpegQuality = 95;
            picture.SaveToJpeg(TString(name));
        } else {
            ASSERT_TRUE(picture.SaveToFile(TString(name)));
        }
    }
    const std::filesystem::path& Path() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};
