// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fadenwerk_tests {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/fadenwerk-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The folder's path without a trailing '/'; empty when it could not be made.
    const std::string& Path() const { return path_; }
    // The path of an entry inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Writes a file (and the folders above it) inside the folder.
    void AddFile(const std::string& name, const std::string& contents) const {
        std::filesystem::create_directories(std::filesystem::path(*this / name).parent_path());
        std::ofstream(*this / name, std::ios::binary) << contents;
    }
    void AddFolder(const std::string& name) const { std::filesystem::create_directories(*this / name); }

private:
    std::string path_;
};

}  // namespace fadenwerk_tests
