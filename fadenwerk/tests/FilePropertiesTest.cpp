// Tests of file existence, times and attributes, the executable's path and
// output joining, with the time zone pinned.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "FileProperties.h"
#include "PinnedTimeZone.h"
#include "TemporaryFolder.h"
#include "Win32.h"

namespace {

using fadenwerk_tests::TemporaryFolder;

using fadenwerk_tests::Universal;

TEST(FileProperties, ExistenceAndAttributes) {
    TemporaryFolder folder;
    folder.AddFile("file", "x");
    EXPECT_TRUE(FileExists(folder / "file"));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder / "missing"));
    EXPECT_TRUE(GetFileAttrib(folder.Path()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(GetFileAttrib(folder / "file") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(0, GetFileAttrib(folder / "file"));
    EXPECT_EQ(0, GetFileAttrib(folder / "missing"));
}

TEST(FileProperties, TimesAreLocalWallClockEncodedAsUniversal) {
    fadenwerk_tests::PinnedTimeZone zone;
    TemporaryFolder folder;
    folder.AddFile("file", "x");
    const struct timespec times[2] = {{Universal(2024, 1, 2, 23, 30, 0), 0}, {Universal(2024, 7, 4, 10, 5, 9), 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, (folder / "file").c_str(), times, 0));
    EXPECT_EQ(Universal(2024, 7, 4, 12, 5, 9), GetFileModificationTime(folder / "file"));
    EXPECT_EQ(Universal(2024, 1, 3, 0, 30, 0), GetFileAccessTime(folder / "file"));
    const long created = GetFileCreationTime(folder / "file");
    const long now = static_cast<long>(std::time(nullptr));
    EXPECT_TRUE(created == Universal(2024, 7, 4, 12, 5, 9) || (created > now - 86400 && created < now + 86400))
        << created;
    EXPECT_EQ(0, GetFileModificationTime(folder / "missing"));
    EXPECT_EQ(0, GetFileTimeProperty(folder / "file", static_cast<TFileModeProperty>(7)));
}

TEST(FileProperties, CollectOutputStrings) {
    std::string out = ">";
    CollectOutputStrings({"a", "b", "c"}, out, false);
    EXPECT_EQ(">a\r\nb\r\nc", out);
    out.clear();
    CollectOutputStrings({"a", "b", "c"}, out, true);
    EXPECT_EQ("a\r\nb\r\nc\r\n", out);
    out.clear();
    CollectOutputStrings({}, out, true);
    EXPECT_EQ("", out);
}

TEST(FileProperties, ExeNameIsThisProgram) {
    const std::string name = GetExeName();
    EXPECT_EQ(std::filesystem::canonical("/proc/self/exe").string(), name);
}

}  // namespace
