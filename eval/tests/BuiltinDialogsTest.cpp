// Tests of messagebox, readstring and GetFileName, answered through the layer's responder.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "BuiltinDialogs.h"
#include "BuiltinTestSupport.h"
#include "ComboBox.h"
#include "Edit.h"
#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "ExpressionCompiler.h"
#include "FileDialogs.h"
#include "KroGetTextDlg.h"
#include "Label.h"
#include "MessageBox.h"
#include "Responder.h"
#include "display/TestDriver.h"

namespace {

class BuiltinDialogsTest : public builtin_test::BuiltinTest {
protected:
    void SetUp() override {
        list.NewString("s", false, "old");
        ASSERT_NE(list.NewArray("filters", vtString, false), nullptr);
    }
    void SetFilters(std::initializer_list<const char*> items) {
        list.ResizeArray("filters", static_cast<int>(items.size()));
        int i = 0;
        for (const char* item : items) *static_cast<TString*>(list.GetArrayItem("filters", i++)) = item;
    }
    std::string S() { return list.GetVar("s")->value.s->c_str(); }

    win32::TestDriver driver;
};

TEST_F(BuiltinDialogsTest, MessageBoxGivesTheButtonChosen) {
    win32::ModalInteraction seen;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        seen = interaction;
        return win32::ModalReply::Answer(IDNO);
    });
    EXPECT_EQ(Integer("messagebox('Save?', 'Editor', 4 + 32)"), IDNO);
    EXPECT_EQ(seen.kind, win32::ModalKind::MessageBox);
    EXPECT_EQ(seen.text, "Save?");
    EXPECT_EQ(seen.caption, "Editor");
    EXPECT_EQ(seen.style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(seen.owner, nullptr);
}

TEST_F(BuiltinDialogsTest, ReadStringSetsTheTargetOnOkOnly) {
    std::string caption, prompt, shown;
    int maximum = -1;
    win32::ModalReply reply = win32::ModalReply::Answer(mrOk);
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        auto* dialog = dynamic_cast<TKroGetTextDlg*>(TWinControl::FindControl(interaction.window));
        EXPECT_NE(dialog, nullptr);
        if (dialog == nullptr) return win32::ModalReply::Answer(mrCancel);
        caption = interaction.caption;
        prompt = dialog->GetPrompt();
        shown = dialog->GetInputText();
        maximum = dialog->edSzoveg->GetMaxLength();
        dialog->SetInputText("typed");
        return reply;
    });
    EXPECT_EQ(Integer("readstring('Name', 'Your name:', s, 12)"), 1);
    EXPECT_EQ(caption, "Name");
    EXPECT_EQ(prompt, "Your name:");
    EXPECT_EQ(shown, "old");
    EXPECT_EQ(maximum, 12);
    EXPECT_EQ(S(), "typed");

    reply = win32::ModalReply::Answer(mrCancel);
    *list.GetVar("s")->value.s = "kept";
    EXPECT_EQ(Integer("readstring('Name', 'Your name:', s, 0)"), 0);
    EXPECT_EQ(maximum, 0);
    EXPECT_EQ(S(), "kept");
}

TEST_F(BuiltinDialogsTest, FileFilterJoinsTheItems) {
    SetFilters({"Texts,*.txt", "All,*.*"});
    EXPECT_STREQ(FileFilterOf(*list.GetVar("filters")).c_str(), "Texts|*.txt|All|*.*");
    SetFilters({});
    EXPECT_STREQ(FileFilterOf(*list.GetVar("filters")).c_str(), "");
}

TEST_F(BuiltinDialogsTest, GetFileNameGivesTheChosenFile) {
    std::string folder = (std::filesystem::temp_directory_path() / "evaldialogs-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string file = folder + "/notes.txt";
    std::ofstream(file) << "x";
    SetFilters({"Texts,*.txt", "All,*.*"});
    std::string title;
    int filterCount = -1;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        EXPECT_EQ(interaction.kind, win32::ModalKind::FileDialog);
        title = interaction.caption;
        TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
        filterCount = form->GetFilterCombo()->GetItems()->GetCount();
        form->GetFileNameEdit()->SetText(file);
        return win32::ModalReply::Answer(IDOK);
    });
    EXPECT_EQ(Integer("GetFileName('Open notes', filters, s)"), 1);
    EXPECT_EQ(title, "Open notes");
    EXPECT_EQ(filterCount, 2);
    EXPECT_EQ(S(), file);
    std::filesystem::remove_all(folder);
}

TEST_F(BuiltinDialogsTest, GetFileNameCancelledEmptiesTheTarget) {
    int filterCount = -1;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        filterCount = TFileDialogForm::FromWindow(interaction.window)->GetFilterCombo()->GetItems()->GetCount();
        return win32::ModalReply::Answer(IDCANCEL);
    });
    EXPECT_EQ(Integer("GetFileName('Open', filters, s)"), 0);
    EXPECT_EQ(filterCount, 0);  // no items: an empty filter
    EXPECT_EQ(S(), "");
}

TEST_F(BuiltinDialogsTest, TargetsMustBeStringVariables) {
    SetFilters({"All,*.*"});
    int asked = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
        ++asked;
        return win32::ModalReply::Answer(mrOk);
    });
    for (const char* text : {"readstring('c', 'p', 'x', 0)", "readstring('c', 'p', filters[0], 0)",
                             "GetFileName('t', filters, filters[0])", "GetFileName('t', filters, s + 'x')"}) {
        EvaluateErrorCode = 0;
        EXPECT_EQ(Run(text).kind, ekNone) << text;
        EXPECT_EQ(EvaluateErrorCode, eeMissingVariable) << text;
    }
    EXPECT_EQ(asked, 0);
    EXPECT_STREQ(static_cast<TString*>(list.GetArrayItem("filters", 0))->c_str(), "All,*.*");
}

}  // namespace
