// TOpenDialog and TSaveDialog: filters, the dialog form driven through the
// responder and the test driver, and the checks ofFileMustExist and
// ofOverwritePrompt make.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "ControlFixture.h"
#include "Edit.h"
#include "FileDialogs.h"
#include "ListBox.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "win32/Responder.h"

namespace {

namespace fs = std::filesystem;

TEST(FileFilter, PairsAndPatterns) {
    auto filters = ParseFileFilter("Text files (*.txt)|*.txt;*.text|Any file (*.*)|*.*");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, "Text files (*.txt)");
    EXPECT_EQ(filters[0].pattern, "*.txt;*.text");
    // An empty part does not shift the pairs; a lone description matches everything.
    filters = ParseFileFilter("Macro files (*.MAC)||*MAC|Rest");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].pattern, "*MAC");
    EXPECT_EQ(filters[1].pattern, "");
    EXPECT_TRUE(ParseFileFilter("").empty());

    struct Case {
        const char* name;
        const char* patterns;
        bool matches;
    };
    const Case cases[] = {{"a.txt", "*.txt", true},        {"A.TXT", "*.txt", true},     {"a.txt.bak", "*.txt", false},
                          {"notes", "*.*", true},          {"x.mac", "*MAC", true},      {"ab.c", "a?.c", true},
                          {"abc.c", "a?.c", false},        {"b.text", "*.txt;*.text", true}, {"any", "", true},
                          {"aaab", "*a*b", true},          {"aaac", "*a*b", false}};
    for (const Case& c : cases) EXPECT_EQ(MatchesFilePattern(c.name, c.patterns), c.matches) << c.name << " " << c.patterns;
}

class FileDialogTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        folder = fs::temp_directory_path() / ("filedialog-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "sub");
        for (const char* name : {"a.txt", "b.TXT", "c.src", ".hidden.txt", "sub/inner.txt"})
            std::ofstream(folder / name) << "x";
        dialog = new TOpenDialog(host);
        dialog->SetTitle("Pick");
        dialog->SetFilter("Text files (*.txt)|*.txt|Sources|*.src|Any file (*.*)|*.*");
        dialog->SetInitialDir(folder.string());
    }
    void TearDown() override {
        fs::remove_all(folder);
        ControlTest::TearDown();
    }
    static std::vector<std::string> Items(TListBox* list) {
        std::vector<std::string> items;
        for (int i = 0; i < list->GetCount(); ++i) items.push_back(list->GetItems()->GetStrings(i));
        return items;
    }
    std::string Path(const char* name) const { return (folder / name).string(); }

    fs::path folder;
    TOpenDialog* dialog = nullptr;
    std::vector<std::string> messages;
};

TEST_F(FileDialogTest, TheResponderSeesTheDialogAndChoosesAFile) {
    dialog->SetDefaultExt("txt");
    std::vector<std::string> files, folders;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        EXPECT_EQ(interaction.kind, win32::ModalKind::FileDialog);
        EXPECT_EQ(interaction.caption, "Pick");
        TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
        files = Items(form->GetFileList());
        folders = Items(form->GetFolderList());
        form->SelectFilter(1);
        form->SelectFilter(0);
        form->GetFileNameEdit()->SetText("a");  // the default extension is added
        return win32::ModalReply::Answer(IDOK);
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), Path("a.txt"));
    EXPECT_EQ(dialog->GetFilterIndex(), 1);
    EXPECT_EQ(files, (std::vector<std::string>{"a.txt", "b.TXT"}));
    EXPECT_EQ(folders, (std::vector<std::string>{"..", "sub"}));
}

TEST_F(FileDialogTest, AMissingFileIsRefusedWhenItMustExist) {
    dialog->SetOptions(TOpenOptions() << ofFileMustExist);
    dialog->SetFileName("keep.txt");
    std::vector<std::string> names = {"missing.txt", "missing.txt"};
    int asked = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) {
            messages.push_back(interaction.text);
            return win32::ModalReply::Answer(IDOK);
        }
        TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
        form->GetFileNameEdit()->SetText(names[static_cast<size_t>(asked++ % 2)]);
        return win32::ModalReply::Answer(IDOK);
    });
    // Insisting on the refused name ends the dialog as cancelled.
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("File not found."), std::string::npos);
    EXPECT_EQ(dialog->GetFileName(), "keep.txt");
    // The dialog stays open after a refusal and takes a name that exists.
    names = {"missing.txt", "c.src"};
    asked = 0;
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dialog->GetFileName(), Path("c.src"));
}

TEST_F(FileDialogTest, SavingOverAFileAsksFirst) {
    auto* save = new TSaveDialog(host);
    save->SetInitialDir(folder.string());
    save->SetOptions(TOpenOptions() << ofOverwritePrompt);
    std::vector<std::string> names = {"a.txt", "new.txt"};
    int overwriteAnswer = IDNO;
    int asked = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) {
            messages.push_back(interaction.text);
            return win32::ModalReply::Answer(overwriteAnswer);
        }
        EXPECT_EQ(interaction.caption, "Save As");
        std::string name = names[static_cast<size_t>(asked++) % names.size()];
        TFileDialogForm::FromWindow(interaction.window)->GetFileNameEdit()->SetText(name);
        return win32::ModalReply::Answer(IDOK);
    });
    // "No" keeps the dialog open; a name that does not exist needs no question.
    ASSERT_TRUE(save->Execute());
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("already exists"), std::string::npos);
    EXPECT_EQ(save->GetFileName(), Path("new.txt"));
    overwriteAnswer = IDYES;
    asked = 0;
    ASSERT_TRUE(save->Execute());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(save->GetFileName(), Path("a.txt"));
}

TEST_F(FileDialogTest, KeyboardAloneNavigatesAndChooses) {
    auto* save = new TSaveDialog(host);
    save->SetInitialDir(folder.string());
    save->SetFilter("Text|*.txt");
    std::vector<std::string> innerFiles;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind != win32::ModalKind::FileDialog) return win32::ModalReply::Answer(IDOK);
        driver.SetAutoPump(false);
        driver.Type("sub");
        driver.Press(VK_RETURN);  // a folder name opens the folder
        driver.Type("new");
        driver.Press(VK_RETURN);
        return win32::ModalReply::Run();
    });
    ASSERT_TRUE(save->Execute());
    driver.SetAutoPump(true);
    EXPECT_EQ(save->GetFileName(), Path("sub/new"));
}

TEST_F(FileDialogTest, EnterInTheFolderListOpensTheFolder) {
    auto* save = new TSaveDialog(host);
    save->SetInitialDir(folder.string());
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind != win32::ModalKind::FileDialog) return win32::ModalReply::Answer(IDOK);
        TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
        form->GetFolderList()->SetFocus();
        // Keys go to the window focused when they are queued: the characters
        // are posted to the name field itself.
        driver.SetAutoPump(false);
        driver.Press(VK_END);  // "sub"
        driver.Press(VK_RETURN);
        for (char c : std::string("x.txt")) PostMessageA(form->GetFileNameEdit()->GetHandle(), WM_CHAR, c, 0);
        driver.Press(VK_RETURN);
        return win32::ModalReply::Run();
    });
    ASSERT_TRUE(save->Execute());
    driver.SetAutoPump(true);
    EXPECT_EQ(save->GetFileName(), Path("sub/x.txt"));
}

TEST_F(FileDialogTest, DoubleClickChoosesAndEscapeCancels) {
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
        driver.SetAutoPump(false);
        int height = form->GetFileList()->GetItemHeight();
        driver.DoubleClick(form->GetFileList()->GetHandle(), 10, height + 2);
        return win32::ModalReply::Run();
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), Path("b.TXT"));

    win32::ScopedResponder escape([&](const win32::ModalInteraction&) {
        driver.SetAutoPump(false);
        driver.Type("a.txt");
        driver.Press(VK_ESCAPE);
        return win32::ModalReply::Run();
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), Path("b.TXT"));
    driver.SetAutoPump(true);
}

TEST_F(FileDialogTest, WithoutAResponderAHeadlessRunCancels) {
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(dialog->GetFileName().empty());
}

TEST_F(FileDialogTest, PropertiesByName) {
    auto* made = CreateComponent("TSaveDialog", host);
    SetPropertyText(made, "Options", "[ofOverwritePrompt, ofFileMustExist]");
    SetPropertyText(made, "DefaultExt", ".mac");
    auto* save = dynamic_cast<TSaveDialog*>(made);
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->GetOptions().Contains(ofFileMustExist));
    EXPECT_EQ(save->GetDefaultExt(), "mac");
    EXPECT_EQ(GetPropertyText(made, "Options"), "[ofOverwritePrompt, ofFileMustExist]");
}

}  // namespace
