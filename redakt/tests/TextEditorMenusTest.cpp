// The two context menus: their items and captions in the languages of the
// table (and without one), and what each item runs when chosen in the menu.
#include <string>
#include <vector>

#include "Langtable.h"
#include "Menus.h"
#include "RecordingEditor.h"
#include "Responder.h"
#include "TextEditorTexts.h"

namespace {

std::vector<std::string> Captions(TPopupMenu* menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < menu->GetItems()->GetCount(); ++i)
        captions.push_back(menu->GetItems()->GetItem(i)->GetCaption());
    return captions;
}

const std::vector<std::string> kEnglishGapMenu = {"Previous", "-",  "&0", "&1", "&2", "&3", "&4",
                                                  "&5",       "&6", "&7", "&8", "&9", "-",  "Next"};

// The table for the life of the object; the previous one (and its language) after.
class ScopedLanguage {
public:
    ScopedLanguage(TLangTable* table, int language)
        : previous_(GetTextEditorLangTable()), table_(table), language_(table ? table->GetLang() : -1) {
        SetTextEditorLangTable(table);
        if (table) table->SetLang(language);
    }
    ~ScopedLanguage() {
        if (table_) table_->SetLang(language_);
        SetTextEditorLangTable(previous_);
    }

private:
    TLangTable* previous_;
    TLangTable* table_;
    int language_;
};

// A responder that chooses the menu item whose caption is wanted at the time.
win32::ModalResponder ItemCalled(const std::string& wanted) {
    return [&wanted](const win32::ModalInteraction& interaction) {
        for (const win32::ModalItem& item : interaction.items)
            if (item.text == wanted) return win32::ModalReply::Answer(item.identifier);
        ADD_FAILURE() << "no item " << wanted;
        return win32::ModalReply::Answer(0);
    };
}

}  // namespace

TEST(TextEditorMenus, TheMenusTakeTheirCaptionsFromTheTable) {
    win32::TestDriver driver;
    TLangTable* package = UseTextEditorLangTable();
    ASSERT_NE(package, nullptr);
    {
        TTextEditor editor(nullptr);
        EXPECT_EQ(Captions(editor.editPopup),
                  (std::vector<std::string>{"Cu&t", "&Copy", "&Paste", "&Delete", "-", "Select &all"}));
        EXPECT_EQ(Captions(editor.gapPopup), kEnglishGapMenu);
    }
    {
        ScopedLanguage hungarian(package, 1);
        TTextEditor editor(nullptr);
        EXPECT_EQ(Captions(editor.editPopup),
                  (std::vector<std::string>{"&Kiv\xE1g\xE1s", "&M\xE1sol\xE1s", "&Beilleszt\xE9s", "&T\xF6rl\xE9s", "-",
                                            "\xD6&sszes kijel\xF6l\xE9se"}));
        EXPECT_EQ(Captions(editor.gapPopup).front(), "El\xF5z\xF5");
        EXPECT_EQ(Captions(editor.gapPopup).back(), "K\xF6vetkez\xF5");
    }
    {
        TLangTable empty;
        ScopedLanguage none(&empty, -1);
        TTextEditor editor(nullptr);
        std::vector<std::string> defaults = kEnglishGapMenu;
        defaults.front() = "El\xF5z\xF5";
        EXPECT_EQ(Captions(editor.gapPopup), defaults);
        EXPECT_EQ(Captions(editor.editPopup).back(), "Select &all");
    }
}

TEST_F(RecordingEditorTest, EachItemChosenInTheMenuRunsItsOperation) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, std::vector<std::string>(20, "line"));
    editor->SetCurLine(2);
    editor->gapClickLine = 11;
    std::string wanted;
    win32::ScopedResponder responder(ItemCalled(wanted));
    const struct {
        TPopupMenu* menu;
        const char* caption;
        const char* call;
    } kCases[] = {
        {editor->editPopup, "Cu&t", "Cut"},
        {editor->editPopup, "&Copy", "Copy"},
        {editor->editPopup, "&Paste", "Paste"},
        {editor->gapPopup, "Previous", "PrevMarker"},
        {editor->gapPopup, "Next", "NextMarker"},
        {editor->gapPopup, "&7", "MakeMarker 7 on line 11"},
        {editor->gapPopup, "&0", "MakeMarker 0 on line 11"},
        {editor->gapPopup, "&9", "MakeMarker 9 on line 11"},
    };
    for (const auto& row : kCases) {
        editor->calls.clear();
        wanted = row.caption;
        row.menu->Popup(100, 100);
        EXPECT_EQ(editor->calls, std::vector<std::string>{row.call}) << row.caption;
        EXPECT_EQ(editor->GetCurLine(), 2) << row.caption;
    }
    // Delete and Select all run the line editing's operations: every item
    // but the separators has its handler.
    for (TPopupMenu* menu : {editor->editPopup, editor->gapPopup})
        for (int i = 0; i < menu->GetItems()->GetCount(); ++i) {
            const TMenuItem* item = menu->GetItems()->GetItem(i);
            EXPECT_EQ(static_cast<bool>(item->OnClick), !item->IsLine()) << item->GetCaption();
        }
    editor->calls.clear();
    editor->PopupGapClick(editor);  // not a menu item: nothing
    EXPECT_TRUE(editor->calls.empty());
}

// The bookmark's digit comes from the item, not from its caption: a table
// that names the digits still sets bookmark 7 from the item shown as seven.
TEST_F(RecordingEditorTest, AGapItemWithATranslatedCaptionSetsItsOwnBookmark) {
    TLangTable words;
    words.Init(std::vector<std::string>{"0", "100239|seven", "100244|#", "100232|zero"});
    ScopedLanguage named(&words, 0);
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, std::vector<std::string>(12, "line"));
    editor->SetCurLine(4);
    editor->gapClickLine = 9;
    std::string wanted;
    win32::ScopedResponder responder(ItemCalled(wanted));
    for (const char* caption : {"#seven", "#zero"}) {
        wanted = caption;
        editor->gapPopup->Popup(100, 100);
    }
    EXPECT_EQ(editor->calls, (std::vector<std::string>{"MakeMarker 7 on line 9", "MakeMarker 0 on line 9"}));
    EXPECT_EQ(editor->GetCurLine(), 4);
}

// Select all and Delete are no virtual operations: what they did shows in
// the selection and the text.
TEST_F(RecordingEditorTest, SelectAllAndDeleteChosenInTheMenuActOnTheText) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, {"one", "two", "three"});
    std::string wanted = "Select &all";
    win32::ScopedResponder responder(ItemCalled(wanted));
    editor->editPopup->Popup(100, 100);
    EXPECT_EQ(editor->selection.selStartLine, 0);
    EXPECT_EQ(editor->selection.selEndLine, 3);

    editor->SelectLines(1, 1);
    wanted = "&Delete";
    editor->editPopup->Popup(100, 100);
    ASSERT_EQ(editor->lines.GetCount(), 2);
    EXPECT_EQ(editor->lines[0].str(), "one");
    EXPECT_EQ(editor->lines[1].str(), "three");
    EXPECT_TRUE(editor->calls.empty());
}
