// Modules and resource lookup across the program and a library.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Module.h"

HMODULE ResourceFixtureModule();
HMODULE TestProgramModule();

namespace {

std::string ResourceText(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC resource = FindResourceA(module, name, type);
    if (!resource) return "<missing>";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return std::string(bytes, SizeofResource(module, resource));
}

TEST(Module, HandlesByName) {
    HMODULE library = ResourceFixtureModule();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(GetModuleHandleA("resourcefixture"), library);
    EXPECT_EQ(GetModuleHandleA("libResourceFixture.so"), library);
    EXPECT_EQ(GetModuleHandleA(nullptr), TestProgramModule());
    EXPECT_EQ(GetModuleHandleA("no-such-module"), nullptr);
}

TEST(Module, FileNames) {
    char path[4096];
    const DWORD length = GetModuleFileNameA(ResourceFixtureModule(), path, sizeof path);
    ASSERT_GT(length, 0u);
    EXPECT_NE(std::string(path).find("win32_resource_fixture"), std::string::npos) << path;
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    EXPECT_NE(std::string(path).find("win32_tests"), std::string::npos) << path;

    char tiny[4];
    EXPECT_EQ(GetModuleFileNameA(nullptr, tiny, sizeof tiny), 4u);
    EXPECT_EQ(std::strlen(tiny), 3u);
}

TEST(Module, ResourcesMatchWithoutCase) {
    EXPECT_EQ(ResourceText(ResourceFixtureModule(), "SHARED", RT_RCDATA), "library bytes");
    EXPECT_EQ(ResourceText(ResourceFixtureModule(), "onlyinlibrary", "BLOB"), "library bytes");
    EXPECT_EQ(ResourceText(TestProgramModule(), "shared", RT_RCDATA), "program bytes");
    EXPECT_EQ(ResourceText(TestProgramModule(), "OnlyInLibrary", "blob"), "<missing>");
    EXPECT_EQ(ResourceText(ResourceFixtureModule(), "shared", MAKEINTRESOURCEA(2)), "<missing>");
    EXPECT_EQ(ResourceText(ResourceFixtureModule(), "shared", "#10"), "library bytes");
}

TEST(Module, NullModuleSearchesProgramFirstThenLibraries) {
    EXPECT_EQ(ResourceText(nullptr, "Shared", RT_RCDATA), "program bytes");
    EXPECT_EQ(ResourceText(nullptr, "OnlyInLibrary", "Blob"), "library bytes");
    EXPECT_EQ(ResourceText(nullptr, "Nowhere", RT_RCDATA), "<missing>");
}

TEST(Module, TextResourcesAreConvertedToTheCodePage) {
    EXPECT_EQ(ResourceText(nullptr, "FixtureTable", RT_RCDATA),
              "Fixture table line one\nsecond line \xE1rv\xEDzt\xFBr\xF5\n");
}

TEST(Module, NullHandlesAreHarmless) {
    EXPECT_EQ(FindResourceA(nullptr, nullptr, RT_RCDATA), nullptr);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
}

}  // namespace
