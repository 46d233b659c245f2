// Tests of the resource statement: images, texts and dialogs read from the files beside this test.
#include "KroTestSupport.h"

#include <cstdio>

namespace {

// The folder of the resource files, found from this source file's path.
std::string ResourceFolder() {
    const std::string source = __FILE__;
    return source.substr(0, source.find_last_of('/') + 1) + "resources";
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

class ResourceStatementsTest : public KroCompileTest {
protected:
    void SetUp() override { directories.Add(TString(ResourceFolder())); }

    const RESOURCE_INFO* Resource(const TProgram& from, int i) const {
        const TToken* token = from.tokens[from.resourceTokens[i]];
        return token != nullptr && token->type == ttResource ? token->Record<RESOURCE_INFO>() : nullptr;
    }
};

TEST_F(ResourceStatementsTest, ImageKeepsTheFileBytesAndItsFormat) {
    const struct {
        const char* file;
        const char* onDisk;
        int format;
    } cases[] = {
        {"picture.bmp", "picture.bmp", 0},
        {"PICTURE.BMP", "picture.bmp", 0},
        {"photo.jpg", "photo.jpg", 1},
        {"Anim.Gif", "anim.gif", 2},
        {"notes.txt", "notes.txt", 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Compile(std::string("int x\nresource image, ") + c.file + ", logo")) << c.file << KRO_ErrorCode;
        EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttResource}));
        ASSERT_EQ(program.resourceTokens.GetCount(), 1);
        EXPECT_EQ(program.resourceTokens[0], 1);
        const RESOURCE_INFO* info = Resource(program, 0);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->kind, 0);
        EXPECT_EQ(info->format, c.format) << c.file;
        EXPECT_EQ(info->name, TString("logo"));
        EXPECT_EQ(info->image, FileBytes(ResourceFolder() + "/" + c.onDisk)) << c.file;
    }
}

TEST_F(ResourceStatementsTest, FileIsTakenAsNamedBeforeTheDirectories) {
    directories.Clear();
    ASSERT_TRUE(Compile("resource text, " + ResourceFolder() + "/notes.txt, readme"));
    directories.Add(TString(ResourceFolder() + "/"));
    ASSERT_TRUE(Compile("resource text, notes.txt, readme"));
}

TEST_F(ResourceStatementsTest, TextAndDialogKeepTheirLines) {
    ASSERT_TRUE(Compile("resource text, notes.txt, readme\nresource dialog, form.dlg, settings"));
    ASSERT_EQ(program.resourceTokens.GetCount(), 2);
    const RESOURCE_INFO* text = Resource(program, 0);
    const RESOURCE_INFO* dialog = Resource(program, 1);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(text->kind, 1);
    ASSERT_EQ(text->lines.GetCount(), 4);
    EXPECT_EQ(text->lines[1], TString("second, with a comma"));
    EXPECT_EQ(text->lines[2], TString(""));
    EXPECT_EQ(dialog->kind, 2);
    EXPECT_EQ(dialog->name, TString("settings"));
    ASSERT_EQ(dialog->lines.GetCount(), 5);
    EXPECT_EQ(dialog->lines[0], TString("KRO dialog"));
}

TEST_F(ResourceStatementsTest, EveryCheckFailsWithItsCode) {
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"resource", 35},
        {"resource image, picture.bmp", 35},
        {"resource image, picture.bmp, a, b", 35},
        {"resource , picture.bmp, logo", 40},
        {"resource picture, picture.bmp, logo", 41},
        {"resource Image, picture.bmp, logo", 41},
        {"resource image, , logo", 42},
        {"resource image, missing.bmp, logo", 43},
        {"resource text, resources, logo", 43},
        {"resource image, /dev/zero, logo", 43},
        {"resource image, picture.bmp, ", 44},
        {"resource dialog, notes.txt, settings", 45},
        {"resource dialog, empty.txt, settings", 45},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Compile(std::string("int x\n") + c.line)) << c.line;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.line;
        EXPECT_EQ(KRO_ErrorLine, 2) << c.line;
        EXPECT_EQ(program.resourceTokens.GetCount(), 0) << c.line;
    }
}

TEST_F(ResourceStatementsTest, SaveAndLoadRebuildTheResourceList) {
    ASSERT_TRUE(Compile("resource image, picture.bmp, logo\nint x = 1\nif x\nresource text, notes.txt, readme\nend\n"
                        "resource dialog, form.dlg, settings"));
    TProgram loaded;
    ASSERT_TRUE(ReloadProgram(program, loaded));
    ASSERT_EQ(loaded.resourceTokens.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.resourceTokens[i], program.resourceTokens[i]);
        const RESOURCE_INFO* before = Resource(program, i);
        const RESOURCE_INFO* after = Resource(loaded, i);
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(after->kind, before->kind);
        EXPECT_EQ(after->format, before->format);
        EXPECT_EQ(after->name, before->name);
        EXPECT_EQ(after->image, before->image);
        EXPECT_EQ(after->lines.GetCount(), before->lines.GetCount());
    }
}

}  // namespace
