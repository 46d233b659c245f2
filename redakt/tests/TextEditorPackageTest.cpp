// The package's shared objects: one language table for every editor, loaded
// once, and the shared forms, made once by the first Init and owned by the
// package, so that they outlive any editor.
#include <string>
#include <vector>

#include "Langtable.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

namespace {

constexpr TTextEditorSharedForm kSlot = TTextEditorSharedForm::CalcResult;

int formsMade = 0;

TForm* MakeSharedTestForm(TComponent* owner) {
    ++formsMade;
    auto* form = new TForm(owner, 1);
    form->SetCaption("Shared test form");
    form->SetBounds(0, 0, 200, 100);
    return form;
}

// Puts a test factory into a slot for the life of the object, then the
// slot's own factory back (which frees the test form).
class ScopedSharedForm {
public:
    ScopedSharedForm() : previous_(RegisterTextEditorForm(kSlot, &MakeSharedTestForm)) { formsMade = 0; }
    ~ScopedSharedForm() { RegisterTextEditorForm(kSlot, previous_); }

private:
    TTextEditorFormFactory previous_;
};

}  // namespace

TEST_F(EditorTest, TwoEditorsShareOneLanguageTableAndOneSetOfForms) {
    ScopedSharedForm registered;
    EXPECT_EQ(GetTextEditorSharedForm(kSlot), nullptr) << "registering frees the slot's form";
    TTextEditor* first = Place();
    TLangTable* table = GetTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, TextEditorPackageLangTable());
    // A reload would put the resource's text back over this one.
    table->Init(std::vector<std::string>{"0|1", "100223|Liberation Mono|Liberation Mono"});
    TTextEditor* second = Place();
    EXPECT_EQ(GetTextEditorLangTable(), table);
    EXPECT_EQ(second->GetFontName(), "Liberation Mono");
    table->Init(std::vector<std::string>{"0|1", "100223|Courier New|Courier New"});

    EXPECT_EQ(formsMade, 1);
    TForm* shared = GetTextEditorSharedForm(kSlot);
    ASSERT_NE(shared, nullptr);
    EXPECT_NE(shared->GetOwner(), first);
    EXPECT_NE(shared->GetOwner(), second);
    EXPECT_NE(shared->GetOwner(), form);

    delete first;
    ASSERT_EQ(GetTextEditorSharedForm(kSlot), shared);
    std::vector<std::string> seen;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        seen.push_back(interaction.caption);
        return win32::ModalReply::Answer(mrOk);
    });
    second->SetupDlgPos(shared);
    EXPECT_EQ(shared->ShowModal(), mrOk);
    EXPECT_EQ(seen, std::vector<std::string>{"Shared test form"});

    // An Init after the form was freed elsewhere makes it again.
    delete shared;
    EXPECT_EQ(GetTextEditorSharedForm(kSlot), nullptr);
    second->Init();
    EXPECT_EQ(formsMade, 2);
    EXPECT_NE(GetTextEditorSharedForm(kSlot), nullptr);
}

TEST_F(EditorTest, AnEditorMadeWithoutASharedTableUsesThePackagesOwn) {
    TLangTable* previous = GetTextEditorLangTable();
    SetTextEditorLangTable(nullptr);
    Place();
    EXPECT_EQ(GetTextEditorLangTable(), TextEditorPackageLangTable());
    SetTextEditorLangTable(previous);
}

TEST_F(EditorTest, ShutDownFreesTheSharedObjectsUnlessAFormStillHasItsWindow) {
    ScopedSharedForm registered;
    Place();
    TForm* shared = GetTextEditorSharedForm(kSlot);
    ASSERT_NE(shared, nullptr);
    bool destroyed = false;
    shared->OnDestroy = [&](TObject*) { destroyed = true; };
    shared->Show();
    driver.PumpUntilIdle();
    ASSERT_TRUE(shared->HandleAllocated());

    // A window may outlive the window layer at a process's end: all stays.
    FreeTextEditorPackage();
    EXPECT_EQ(GetTextEditorSharedForm(kSlot), shared);
    EXPECT_NE(TextEditorPackageLangTable(), nullptr);

    DestroyWindow(shared->GetHandle());
    ASSERT_FALSE(shared->HandleAllocated());
    FreeTextEditorPackage();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GetTextEditorSharedForm(kSlot), nullptr);
    EXPECT_EQ(TextEditorPackageLangTable(), nullptr);
    EXPECT_EQ(GetTextEditorLangTable(), nullptr) << "the freed table is no longer shared";

    // The library's start-up state again, for the tests that follow.
    CreateTextEditorPackage();
    EXPECT_NE(UseTextEditorLangTable(), nullptr);
}
