// Files and folders on a temporary tree: attributes of files, folders and
// symbolic links, temporary names, deleting, folders and the working directory.
#include "Files.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "LastError.h"
#include "FileTree.h"

namespace {

using kernel_tests::FileTree;

struct AttributeCase {
    const char* name;
    DWORD attributes;  // INVALID_FILE_ATTRIBUTES: the call fails with `error`
    DWORD size;
    DWORD error;
};

const AttributeCase attributeCases[] = {
    {"alpha.txt", FILE_ATTRIBUTE_ARCHIVE, 5, 0},
    {"sub", FILE_ATTRIBUTE_DIRECTORY, 0, 0},
    {"sub\\inner.txt", FILE_ATTRIBUTE_ARCHIVE, 5, 0},
    {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 1, 0},
    {"readonly.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 1, 0},
    {"link-to-alpha", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT, 5, 0},
    {"link-to-sub", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0, 0},
    {"dangling", FILE_ATTRIBUTE_REPARSE_POINT, 7, 0},
    {"missing", INVALID_FILE_ATTRIBUTES, 0, ERROR_FILE_NOT_FOUND},
    {"alpha.txt/below", INVALID_FILE_ATTRIBUTES, 0, ERROR_PATH_NOT_FOUND},
};

TEST_F(FileTree, AttributesOfFilesFoldersAndLinks) {
    for (const AttributeCase& expected : attributeCases) {
        SCOPED_TRACE(expected.name);
        const std::string path = tree / expected.name;
        SetLastError(0);
        EXPECT_EQ(GetFileAttributesA(path.c_str()), expected.attributes);
        EXPECT_EQ(GetLastError(), expected.error);

        WIN32_FILE_ATTRIBUTE_DATA data;
        const BOOL found = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        EXPECT_EQ(found, expected.attributes != INVALID_FILE_ATTRIBUTES);
        if (!found) continue;
        EXPECT_EQ(data.dwFileAttributes, expected.attributes);
        EXPECT_EQ(data.nFileSizeHigh, 0u);
        if (!(expected.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            EXPECT_EQ(data.nFileSizeLow, expected.size);
        }
    }
}

TEST_F(FileTree, BadArgumentsAreRefused) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::string path = tree / "alpha.txt";
    EXPECT_FALSE(GetFileAttributesExA(path.c_str(), GET_FILEEX_INFO_LEVELS(1), &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, nullptr));
    EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileA(nullptr));
    EXPECT_FALSE(CreateDirectoryA(nullptr, nullptr));
}

TEST_F(FileTree, WriteTimeIsTheFilesModificationTime) {
    // 2021-03-04 05:06:07.890 UTC.
    const timespec times[2] = {{1614834367, 890000000}, {1614834367, 890000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, (tree / "alpha.txt").c_str(), times, 0), 0);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA((tree / "alpha.txt").c_str(), GetFileExInfoStandard, &data));
    const ULONGLONG ticks = (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(ticks, (1614834367ULL + 11644473600ULL) * 10000000ULL + 8900000ULL);
    EXPECT_EQ(std::memcmp(&data.ftLastAccessTime, &data.ftLastWriteTime, sizeof(FILETIME)), 0);

    SYSTEMTIME fields;
    ASSERT_TRUE(FileTimeToSystemTime(&data.ftLastWriteTime, &fields));
    EXPECT_EQ(fields.wYear, 2021);
    EXPECT_EQ(fields.wMonth, 3);
    EXPECT_EQ(fields.wDay, 4);
    EXPECT_EQ(fields.wHour, 5);
    EXPECT_EQ(fields.wMinute, 6);
    EXPECT_EQ(fields.wSecond, 7);
    EXPECT_EQ(fields.wMilliseconds, 890);

    const ULONGLONG creation = (ULONGLONG(data.ftCreationTime.dwHighDateTime) << 32) | data.ftCreationTime.dwLowDateTime;
    EXPECT_GT(creation, 0u);
}

TEST_F(FileTree, DeleteRemovesFilesAndLinksOnly) {
    EXPECT_TRUE(DeleteFileA((tree / "link-to-alpha").c_str()));
    EXPECT_EQ(GetFileAttributesA((tree / "link-to-alpha").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((tree / "alpha.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(DeleteFileA((tree / "alpha.txt").c_str()));
    EXPECT_FALSE(DeleteFileA((tree / "alpha.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

    EXPECT_FALSE(DeleteFileA((tree / "sub").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(DeleteFileA((tree / "sub\\inner.txt").c_str()));
}

TEST_F(FileTree, FoldersAreCreatedEnteredAndRemoved) {
    const std::string folder = tree / "made";
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryA((tree / "none/made").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

    EXPECT_FALSE(RemoveDirectoryA((tree / "sub").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
    EXPECT_FALSE(RemoveDirectoryA(folder.c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileTree, WorkingDirectoryFollowsSetCurrentDirectory) {
    const std::string before = std::filesystem::current_path().string();
    const std::string sub = std::filesystem::canonical(tree / "sub").string();

    ASSERT_TRUE(SetCurrentDirectoryA(sub.c_str()));
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    EXPECT_EQ(needed, sub.size() + 1);
    std::vector<char> tooSmall(sub.size(), 'x');
    EXPECT_EQ(GetCurrentDirectoryA(DWORD(tooSmall.size()), tooSmall.data()), needed);
    EXPECT_EQ(tooSmall[0], 'x');
    std::vector<char> buffer(needed);
    EXPECT_EQ(GetCurrentDirectoryA(needed, buffer.data()), sub.size());
    EXPECT_EQ(std::string(buffer.data()), sub);
    EXPECT_NE(GetFileAttributesA("inner.txt"), INVALID_FILE_ATTRIBUTES);

    EXPECT_FALSE(SetCurrentDirectoryA((tree / "missing").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SetCurrentDirectoryA((tree / "alpha.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    ASSERT_TRUE(SetCurrentDirectoryA(before.c_str()));
}

// Sets $TMPDIR for one test and puts back what was there.
class TemporaryDirectoryVariable {
public:
    explicit TemporaryDirectoryVariable(const std::string& value) {
        const char* old = std::getenv("TMPDIR");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        setenv("TMPDIR", value.c_str(), 1);
    }
    ~TemporaryDirectoryVariable() {
        if (hadOld_)
            setenv("TMPDIR", old_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    bool hadOld_ = false;
    std::string old_;
};

TEST_F(FileTree, TemporaryPathFollowsTmpdirWithATrailingSlash) {
    TemporaryDirectoryVariable variable(tree.Path());
    const std::string expected = tree.Path() + "/";
    EXPECT_EQ(GetTempPathA(0, nullptr), expected.size() + 1);
    char small[4] = "abc";
    EXPECT_EQ(GetTempPathA(sizeof small, small), expected.size() + 1);
    EXPECT_STREQ(small, "abc");
    char path[MAX_PATH];
    EXPECT_EQ(GetTempPathA(sizeof path, path), expected.size());
    EXPECT_EQ(std::string(path), expected);

    TemporaryDirectoryVariable empty("");
    EXPECT_EQ(GetTempPathA(sizeof path, path), 5u);
    EXPECT_STREQ(path, "/tmp/");
}

TEST_F(FileTree, TemporaryNamesAreCreatedEmptyAndUnique) {
    const std::string folder = tree.Path() + "\\";
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        char name[MAX_PATH];
        const UINT number = GetTempFileNameA(folder.c_str(), "JTMLONG", 0, name);
        ASSERT_NE(number, 0u);
        EXPECT_EQ(std::string(name).rfind(tree / "JTM", 0), 0u) << name;
        EXPECT_EQ(std::string(name).substr(std::strlen(name) - 4), ".TMP");
        EXPECT_EQ(std::filesystem::file_size(name), 0u);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 50u);
}

TEST_F(FileTree, TemporaryNamesStayUniqueAcrossThreads) {
    const int threads = 4, perThread = 40;
    std::vector<std::vector<std::string>> made(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) {
                char name[MAX_PATH];
                if (GetTempFileNameA(tree.Path().c_str(), "thr", 0, name)) made[t].push_back(name);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    std::set<std::string> names;
    for (const auto& list : made) names.insert(list.begin(), list.end());
    EXPECT_EQ(names.size(), size_t(threads * perThread));
}

TEST_F(FileTree, TemporaryNameWithAGivenNumberCreatesNothing) {
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA(tree.Path().c_str(), "BMP", 0x1A2B, name), 0x1A2Bu);
    EXPECT_EQ(std::string(name), tree / "BMP1A2B.TMP");
    EXPECT_EQ(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileTree, TemporaryNameFailures) {
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA((tree / "missing").c_str(), "x", 0, name), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

    const std::string longFolder = tree.Path() + "/" + std::string(MAX_PATH, 'd');
    EXPECT_EQ(GetTempFileNameA(longFolder.c_str(), "x", 0, name), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(GetTempFileNameA(nullptr, "x", 0, name), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

}  // namespace
