// Folder searches with wildcard patterns on a temporary tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileTree.h"
#include "Files.h"
#include "LastError.h"
#include "Synchronization.h"

namespace {

using kernel_tests::FileTree;

// Every name a search lists, or the error when it finds nothing.
struct SearchResult {
    std::vector<std::string> names;
    DWORD error = 0;
};

SearchResult Search(const std::string& pattern) {
    SearchResult result;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        result.error = GetLastError();
        return result;
    }
    do result.names.push_back(data.cFileName);
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return result;
}

struct SearchCase {
    const char* pattern;  // below the tree, '\\' or '/' alike
    std::vector<std::string> names;
    DWORD error;
};

const std::vector<std::string> everything = {".",        "..",         ".hidden",       "alpha.txt",
                                             "dangling", "link-to-alpha", "link-to-sub", "readonly.txt",
                                             "sub"};

const SearchCase searchCases[] = {
    {"*.txt", {"alpha.txt", "readonly.txt"}, 0},
    {"?lpha.*", {"alpha.txt"}, 0},
    {"*a*", {"alpha.txt", "dangling", "link-to-alpha", "readonly.txt"}, 0},
    {"link-to-*", {"link-to-alpha", "link-to-sub"}, 0},
    {"*", everything, 0},
    {"*.*", everything, 0},
    {"sub\\*", {".", "..", "inner.txt"}, 0},
    {"sub/inner.???", {"inner.txt"}, 0},
    {"alpha.txt", {"alpha.txt"}, 0},
    {"ALPHA.TXT", {}, ERROR_FILE_NOT_FOUND},
    {"*.none", {}, ERROR_FILE_NOT_FOUND},
    {"sub\\", {}, ERROR_FILE_NOT_FOUND},
    {"missing\\*", {}, ERROR_PATH_NOT_FOUND},
    {"alpha.txt\\*", {}, ERROR_PATH_NOT_FOUND},
};

TEST_F(FileTree, SearchListsMatchingNamesInOrder) {
    for (const SearchCase& expected : searchCases) {
        SCOPED_TRACE(expected.pattern);
        const SearchResult result = Search(tree.Path() + "\\" + expected.pattern);
        EXPECT_EQ(result.names, expected.names);
        EXPECT_EQ(result.error, expected.error);
    }
}

TEST_F(FileTree, SearchReportsAttributesSizesAndTimes) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((tree / "*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int checked = 0;
    do {
        const std::string name = data.cFileName;
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        ASSERT_TRUE(GetFileAttributesExA((tree / name).c_str(), GetFileExInfoStandard, &attributes)) << name;
        EXPECT_EQ(data.dwFileAttributes, attributes.dwFileAttributes) << name;
        EXPECT_EQ(data.nFileSizeLow, attributes.nFileSizeLow) << name;
        EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, attributes.ftLastWriteTime.dwLowDateTime) << name;
        EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, attributes.ftLastWriteTime.dwHighDateTime) << name;
        const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        EXPECT_EQ(data.dwReserved0, link ? DWORD(IO_REPARSE_TAG_SYMLINK) : 0u) << name;
        EXPECT_STREQ(data.cAlternateFileName, "");
        ++checked;
    } while (FindNextFileA(search, &data));
    EXPECT_EQ(checked, int(everything.size()));
    EXPECT_TRUE(FindClose(search));
}

TEST_F(FileTree, SearchFromTheWorkingDirectoryAndHandleMisuse) {
    const std::string before = std::filesystem::current_path().string();
    ASSERT_TRUE(SetCurrentDirectoryA((tree / "sub").c_str()));
    EXPECT_EQ(Search("*.txt").names, std::vector<std::string>{"inner.txt"});
    ASSERT_TRUE(SetCurrentDirectoryA(before.c_str()));

    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((tree / "alpha.txt").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WaitForSingleObject(search, 0) == WAIT_OBJECT_0);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);

    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(FindClose(event));
    EXPECT_TRUE(CloseHandle(event));
}

TEST_F(FileTree, EntriesRemovedDuringASearchAreSkipped) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((tree / "*.txt").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "alpha.txt");
    std::filesystem::remove(tree / "readonly.txt");
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
}

}  // namespace
