// Tests of the language table: table text, lookups, merging, files and
// resources; translating component trees; the language menu.
#include "Langtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "Buttons.h"
#include "ComboBox.h"
#include "FileDialogs.h"
#include "Form.h"
#include "GroupControls.h"
#include "Label.h"
#include "ListBox.h"
#include "ListView.h"
#include "Menus.h"
#include "RALabel.h"
#include "Responder.h"
#include "TabControls.h"
#include "Win32.h"
#include "display/TestDriver.h"

HMODULE LinguaraFixtureModule();

namespace {

TLangTable TableOf(std::vector<std::string> lines, int language = 0) {
    TLangTable table;
    table.Init(lines);
    table.SetLang(language);
    return table;
}

std::string TemporaryPath(const char* name) { return ::testing::TempDir() + name; }

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

}  // namespace

TEST(LangTableLines, FieldsBarsAndIds) {
    struct Case {
        const char* line;
        int language;
        int id;
        const char* expected;  // null: no text
    };
    const Case cases[] = {
        {"5|A|B", 1, 5, "B"},
        {"5|A|B", 0, 5, "A"},
        {"7|a||b|c", 0, 7, "a|b"},
        {"7|a||b|c", 1, 7, "c"},
        {"8|x|y|z", 0, 8, "x"},
        {"8|x|y|z", 1, 8, "y"},
        {"9||x", 0, 9, nullptr},  // "9|x" is one field: the id without texts
        {"9||x|y", 0, 9, "y"},    // the texts move one column to the left
        {"10|A|", 1, 10, ""},       // a trailing bar leaves an empty last field
        {"11|only", 1, 11, nullptr},
        {" +12|plus", 0, 12, "plus"},
        {"13abc|number first", 0, 13, "number first"},
    };
    for (const Case& c : cases) {
        TLangTable table = TableOf({"0|1", c.line});
        const std::string got = table.GetText(c.language, c.id, "<none>");
        EXPECT_EQ(got, c.expected ? c.expected : "<none>") << c.line << " language " << c.language;
    }
}

TEST(LangTableLines, FieldWithoutNumberKeepsThePreviousId) {
    TLangTable table = TableOf({"3|x", "40|first", "abc|second", "|third"});
    std::vector<int> languages;
    table.GetLangIDs(languages);
    EXPECT_EQ(languages, (std::vector<int>{3, 3}));
    // Both columns are language 3: the later text of a line replaces the earlier.
    EXPECT_EQ(table.GetText(3, 40, ""), "third");

    TLangTable first = TableOf({"0", "x|before any id"});
    EXPECT_EQ(first.GetText(0, 0, ""), "before any id");
}

TEST(LangTableLines, EmptyLinesAreSkippedAndLaterLinesReplace) {
    TLangTable table = TableOf({"0|1", "", "5|A|B", "", "5|C"});
    EXPECT_EQ(table.GetText(0, 5, ""), "C");
    EXPECT_EQ(table.GetText(1, 5, ""), "B");
    std::set<int> ids = {99};
    table.GetTextIDs(ids);
    EXPECT_EQ(ids, (std::set<int>{5}));
}

TEST(LangTableLines, NoLinesChangeNothingAndInitKeepsTexts) {
    TLangTable table = TableOf({"0|1", "5|A|B"});
    table.Init(std::vector<std::string>{});
    EXPECT_EQ(table.GetText(1, 5, ""), "B");
    table.Init({"2", "6|Z"});
    std::vector<int> languages;
    table.GetLangIDs(languages);
    EXPECT_EQ(languages, std::vector<int>{2});
    EXPECT_EQ(table.GetText(1, 5, ""), "B");
    EXPECT_EQ(table.GetText(2, 6, ""), "Z");
}

TEST(LangTableLookup, FallbacksOfGetTextAndGetAnyText) {
    TLangTable table = TableOf({"0|1", "5|A|B", "6|A"}, 1);
    EXPECT_EQ(table.GetText(1, 5, "d"), "B");
    EXPECT_EQ(table.GetText(2, 5, "d"), "d");
    EXPECT_EQ(table.GetText(-1, 5, "d"), "A");
    EXPECT_EQ(table.GetText(-1, 99, "d"), "d");
    EXPECT_EQ(table.GetText(6, "d"), "d");
    EXPECT_EQ(table.GetAnyText(6, "d"), "A");
    EXPECT_EQ(table.GetAnyText(5, "d"), "B");
    EXPECT_EQ(table.GetAnyText(99, "d"), "d");

    // The lowest language id wins, not the first column.
    TLangTable reversed = TableOf({"7|3", "1|seven|three"}, 9);
    EXPECT_EQ(reversed.GetAnyText(1, ""), "three");
    EXPECT_EQ(reversed.GetText(-1, 1, ""), "three");
}

TEST(LangTableLookup, CurrentLanguageIsUnsetUntilSetLang) {
    TLangTable table;
    table.Init({"4|2", "1|four|two"});
    EXPECT_EQ(table.GetLang(), -1);
    EXPECT_EQ(table.GetText(1, ""), "two");
    table.SetLang(4);
    EXPECT_EQ(table.GetText(1, ""), "four");
}

TEST(LangTableBackslashes, Sequences) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\\nb", "a\nb"},
        {"a\\tb", "a\tb"},
        {"ab\\0cd", "ab"},
        {"\\x", "\\x"},
        {"\\\\n", "\\\n"},
        {"end\\", "end\\"},
        {"\\n\\n", "\n\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.first;
        TLangTable::TransformBackslashes(text);
        EXPECT_EQ(text, c.second) << c.first;
    }
    TLangTable table = TableOf({"0", "1|two\\nlines", "2|cut\\0here"});
    EXPECT_EQ(table.GetText(1, ""), "two\nlines");
    EXPECT_EQ(table.GetText(2, ""), "cut");
}

TEST(LangTableMerge, AddKeepsExistingTexts) {
    TLangTable table = TableOf({"0|1", "5|mine"}, 1);
    TLangTable other = TableOf({"0|1|2", "5|theirs|theirs1|theirs2", "6|new"}, 2);
    table.Add(other);
    EXPECT_EQ(table.GetText(0, 5, ""), "mine");
    EXPECT_EQ(table.GetText(1, 5, ""), "theirs1");
    EXPECT_EQ(table.GetText(2, 5, ""), "theirs2");
    EXPECT_EQ(table.GetText(0, 6, ""), "new");
    std::vector<int> languages;
    table.GetLangIDs(languages);
    EXPECT_EQ(languages, (std::vector<int>{0, 1}));
    EXPECT_EQ(table.GetLang(), 1);
}

TEST(LangTableFiles, CrLfFileGivesTheSameTextsAsLfFile) {
    const std::string lf = TemporaryPath("lf.txt");
    const std::string crlf = TemporaryPath("crlf.txt");
    WriteFile(lf, "0|1\n5|A|B\n\n7|a||b|c\n9|last");
    WriteFile(crlf, "0|1\r\n5|A|B\r\n\r\n7|a||b|c\r\n9|last");
    TLangTable fromLf(lf);
    TLangTable fromCrLf(crlf);
    for (int language : {0, 1}) {
        for (int id : {5, 7, 9}) {
            EXPECT_EQ(fromLf.GetText(language, id, "<none>"), fromCrLf.GetText(language, id, "<none>"));
        }
    }
    EXPECT_EQ(fromCrLf.GetText(1, 5, ""), "B");
    EXPECT_EQ(fromCrLf.GetText(0, 9, ""), "last");
    std::remove(lf.c_str());
    std::remove(crlf.c_str());
}

TEST(LangTableFiles, LongLinesAreReadWhole) {
    const std::string path = TemporaryPath("long.txt");
    const std::string longText(20000, 'x');
    WriteFile(path, "0\n1|" + longText + "\n2|after\n");
    TLangTable table(path);
    EXPECT_EQ(table.GetText(0, 1, ""), longText);
    EXPECT_EQ(table.GetText(0, 2, ""), "after");
    std::remove(path.c_str());
}

TEST(LangTableFiles, ClearAddAndMissingFiles) {
    const std::string path = TemporaryPath("table.txt");
    WriteFile(path, "0\n5|file\n");
    TLangTable table = TableOf({"0", "5|lines", "6|kept"});
    table.Add(path);
    EXPECT_EQ(table.GetText(0, 5, ""), "lines");
    table.Init(path, false);
    EXPECT_EQ(table.GetText(0, 5, ""), "file");
    EXPECT_EQ(table.GetText(0, 6, ""), "kept");
    table.Init(path, true);
    EXPECT_EQ(table.GetText(0, 6, "gone"), "gone");

    table.Init(TemporaryPath("missing/none.txt"), false);
    EXPECT_EQ(table.GetText(0, 5, ""), "file");
    table.Init(TemporaryPath("missing/none.txt"), true);
    EXPECT_EQ(table.GetText(0, 5, "cleared"), "cleared");
    std::remove(path.c_str());
}

TEST(LangTableResources, SplittingResourceBytes) {
    const std::string bytes = "0|1\r\n5|A\r\n\n6|B\nlast";
    const std::vector<std::string> lines = TLangTable::SplitResourceText(bytes.data(), bytes.size());
    EXPECT_EQ(lines, (std::vector<std::string>{"0|1", "5|A", "", "6|B", "last"}));
    const std::string endsWithFeed = "a\n";
    EXPECT_EQ(TLangTable::SplitResourceText(endsWithFeed.data(), endsWithFeed.size()), std::vector<std::string>{"a"});
}

TEST(LangTableResources, LibraryTableFoundFromTheProgramByLowerCaseName) {
    ASSERT_NE(LinguaraFixtureModule(), nullptr);
    TLangTable table;
    table.InitFromResource("fixturetranslations");
    table.SetLang(1);
    EXPECT_EQ(table.GetText(100, ""), "Megnyit\xE1s");
    EXPECT_EQ(table.GetText(101, ""), "F\xE1jlok (*.txt)|*.txt");
    // The last line has no line feed and keeps every character; CRs are gone.
    EXPECT_EQ(table.GetText(102, ""), "Utols\xF3");
    EXPECT_EQ(table.GetText(0, 102, ""), "Last line without a line feed");

    TLangTable fromModule;
    fromModule.InitFromResource(LinguaraFixtureModule(), "FixtureTranslations");
    EXPECT_EQ(fromModule.GetText(0, 100, ""), "Open");
}

TEST(LangTableResources, AddFromResourceAndMissingResource) {
    TLangTable table = TableOf({"0|1", "200|mine"});
    table.AddFromResource("programtranslations");
    EXPECT_EQ(table.GetText(0, 200, ""), "mine");
    EXPECT_EQ(table.GetText(1, 200, ""), "Program HU");
    table.InitFromResource("no_such_table");
    table.AddFromResource(LinguaraFixtureModule(), "programtranslations");
    std::vector<int> languages;
    table.GetLangIDs(languages);
    EXPECT_EQ(languages, (std::vector<int>{0, 1}));
    EXPECT_EQ(table.GetText(0, 200, ""), "mine");
}

// ---- Form translation ----

namespace {

// Texts in two languages, some only in one of them.
const std::vector<std::string> kFormTable = {
    "0|1",
    "10|Open|Megnyit",
    "11|Save",
    "13|Zero only",
    "500|First|Elso",
    "501|Second|Masodik",
    "600|Tab one|Lap egy",
    "601|Tab two only in English",
    "700|Page one|Oldal egy",
    "701|Page two|Oldal ketto",
    "800|Sheet caption|Lap felirat",
};

class TranslationTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.Init(kFormTable);
        table.SetLang(1);
        form = new TForm(nullptr, 1);
        form->SetBounds(40, 40, 400, 300);
        form->SetText("Form");
    }
    void TearDown() override { delete form; }

    template <class T>
    T* Make(int tag, const std::string& text = "") {
        T* control = new T(form);
        control->SetParent(form);
        control->SetTag(tag);
        if (!text.empty()) control->SetText(text);
        return control;
    }

    win32::TestDriver driver;
    TLangTable table;
    TForm* form = nullptr;
};

}  // namespace

TEST_F(TranslationTest, CaptionsTakeTheCurrentOrLowestLanguageOrKeepTheirText) {
    struct Case {
        TControl* control;
        const char* expected;
    };
    const Case cases[] = {
        {Make<TLabel>(10, "label"), "Megnyit"},
        {Make<TButton>(11, "button"), "Save"},          // only language 0 has it
        {Make<TCheckBox>(99, "check"), "check"},        // no language has it
        {Make<TRadioButton>(10, "radio"), "Megnyit"},
        {Make<TGroupBox>(13, "group"), "Zero only"},
        {Make<TLabel>(0, "untagged"), "untagged"},
    };
    form->SetTag(10);
    table.SetText(form);
    EXPECT_EQ(form->GetText(), "Megnyit");
    for (const Case& c : cases) EXPECT_EQ(c.control->GetText(), c.expected) << c.control->ClassName();
}

TEST_F(TranslationTest, UntaggedOwnersStillHaveTheirComponentsTranslated) {
    auto* holder = new TComponent(form);
    auto* inner = new TMenuItem(holder);
    inner->SetTag(10);
    inner->SetCaption("item");
    TLabel* label = Make<TLabel>(11, "label");
    table.SetText(form);
    EXPECT_EQ(form->GetText(), "Form");
    EXPECT_EQ(inner->GetCaption(), "Megnyit");
    EXPECT_EQ(label->GetText(), "Save");
    table.SetText(nullptr);
}

TEST_F(TranslationTest, ListsAreOverwrittenAndKeepTheirSelection) {
    auto* list = Make<TListBox>(500);
    list->GetItems()->SetCommaText("a,b,c");
    list->SetItemIndex(2);
    auto* combo = Make<TComboBox>(500);
    combo->SetStyle(csDropDownList);
    combo->GetItems()->SetCommaText("a,b,c");
    combo->SetItemIndex(1);
    auto* group = Make<TRadioGroup>(600, "Choice");
    group->GetItems()->SetCommaText("x,y,z");
    group->SetItemIndex(1);
    table.SetText(form);

    EXPECT_EQ(list->GetItems()->GetStrings(0), "Elso");
    EXPECT_EQ(list->GetItems()->GetStrings(1), "Masodik");
    EXPECT_EQ(list->GetItems()->GetStrings(2), "");
    EXPECT_EQ(list->GetItemIndex(), 2);
    EXPECT_EQ(combo->GetItems()->GetStrings(1), "Masodik");
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(combo->GetText(), "Masodik");
    // Radio groups take the current language only; the caption stays.
    EXPECT_EQ(group->GetItems()->GetStrings(0), "Lap egy");
    EXPECT_EQ(group->GetItems()->GetStrings(1), "");
    EXPECT_EQ(group->GetItems()->GetStrings(2), "");
    EXPECT_EQ(group->GetItemIndex(), 1);
    EXPECT_EQ(group->GetText(), "Choice");
}

TEST_F(TranslationTest, TabsAndPagesTakeTheCurrentLanguageOnly) {
    auto* tabs = Make<TTabControl>(600);
    tabs->GetTabs()->SetCommaText("t1,t2,t3");
    auto* pages = Make<TPageControl>(700);
    for (const char* caption : {"p1", "p2"}) {
        auto* sheet = new TTabSheet(form);
        sheet->SetText(caption);
        sheet->SetPageControl(pages);
    }
    table.SetText(form);
    EXPECT_EQ(tabs->GetTabs()->GetStrings(0), "Lap egy");
    EXPECT_EQ(tabs->GetTabs()->GetStrings(1), "");
    EXPECT_EQ(tabs->GetTabs()->GetStrings(2), "");
    EXPECT_EQ(pages->GetPage(0)->GetText(), "Oldal egy");
    EXPECT_EQ(pages->GetPage(1)->GetText(), "Oldal ketto");
}

TEST_F(TranslationTest, ListViewColumnsAndFileDialogs) {
    auto* view = Make<TListView>(700);
    for (const char* caption : {"c1", "c2", "c3"}) view->GetColumns()->Add()->SetCaption(caption);
    auto* save = new TSaveDialog(form);
    save->SetTag(700);
    save->SetTitle("old title");
    auto* open = new TOpenDialog(form);
    open->SetTag(601);
    open->SetFilter("old|*.*");
    table.SetText(form);
    EXPECT_EQ(view->GetColumnFromIndex(0)->GetCaption(), "Oldal egy");
    EXPECT_EQ(view->GetColumnFromIndex(1)->GetCaption(), "Oldal ketto");
    EXPECT_EQ(view->GetColumnFromIndex(2)->GetCaption(), "");
    EXPECT_EQ(save->GetFilter(), "Oldal egy");
    EXPECT_EQ(save->GetTitle(), "Oldal ketto");
    // Current language only: both texts are missing and become empty.
    EXPECT_EQ(open->GetFilter(), "");
    EXPECT_EQ(open->GetTitle(), "");
}

TEST_F(TranslationTest, ATaggedSheetOfATaggedPageControlTakesTheTextOfWhicheverComesLater) {
    // Page control made first: the sheet's own tag is translated last and wins.
    auto* pages = Make<TPageControl>(700);
    auto* sheet = new TTabSheet(form);
    sheet->SetTag(800);
    sheet->SetPageControl(pages);
    table.SetText(form);
    EXPECT_EQ(sheet->GetText(), "Lap felirat");

    // Sheet made first: the page control made after it overwrites its text.
    auto* earlySheet = new TTabSheet(form);
    earlySheet->SetTag(800);
    auto* laterPages = Make<TPageControl>(700);
    earlySheet->SetPageControl(laterPages);
    table.SetText(form);
    EXPECT_LT(earlySheet->GetComponentIndex(), laterPages->GetComponentIndex());
    EXPECT_EQ(earlySheet->GetText(), "Oldal egy");
}

TEST_F(TranslationTest, RightAlignedLabelKeepsItsRightEdgeAndStopsThere) {
    table.Init({"0|1", "900|Hi|A considerably longer caption"});
    auto* label = Make<TRALabel>(900, "Hi");
    label->SetLeft(200);
    auto* owned = new TLabel(label);
    owned->SetTag(10);
    owned->SetText("owned");
    const int oldLeft = label->GetLeft();
    const int oldWidth = label->GetWidth();
    table.SetText(form);
    const int growth = label->GetWidth() - oldWidth;
    EXPECT_GT(growth, 20);
    EXPECT_EQ(label->GetLeft(), oldLeft - growth);
    EXPECT_EQ(label->GetText(), "A considerably longer caption");
    EXPECT_EQ(owned->GetText(), "owned");
}

TEST_F(TranslationTest, RightAlignedLabelGrowingByTwentyPixelsMovesTwentyLeft) {
    // With AutoSize off the label is sized by hand: a translation that widens
    // it by 20 pixels (as its own AutoSize would) moves it 20 pixels left.
    class TWideningLabel : public TRALabel {
    public:
        using TRALabel::TRALabel;
        void SetText(const std::string& text) override {
            TRALabel::SetText(text);
            SetWidth(GetWidth() + 20);
        }
    };
    auto* label = new TWideningLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(100, 10, 50, 13);
    label->SetTag(10);
    table.SetText(form);
    EXPECT_EQ(label->GetWidth(), 70);
    EXPECT_EQ(label->GetLeft(), 80);
}

// ---- Language menu ----

TEST(LanguageMenu, AppendsASeparatorAndTheEntries) {
    HMENU menu = CreatePopupMenu();
    char first[] = "One";
    char second[] = "Two";
    char* texts[] = {first, second};
    unsigned ids[] = {40, 41};
    EXPECT_EQ(LangAppendSystemMenu(menu, texts, ids, 2), 2);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, 2), 41u);
    // Null arrays append nothing; no entries append the separator alone.
    EXPECT_EQ(LangAppendSystemMenu(menu, nullptr, nullptr, 3), 0);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(LangAppendSystemMenu(menu, nullptr, nullptr, 0), 0);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    DestroyMenu(menu);
    EXPECT_EQ(LangAppendSystemMenu(nullptr, texts, ids, 2), 2);
}

TEST_F(TranslationTest, SystemMenuOfAFormOffersTheLanguagesAndSendsTheChoice) {
    std::vector<WPARAM> commands;
    auto previous = form->WindowProc;
    form->WindowProc = [&commands, previous](TMessage& message) {
        if (message.Msg == WM_SYSCOMMAND) commands.push_back(message.WParam);
        previous(message);
    };
    form->Show();
    driver.PumpUntilIdle();
    HMENU menu = GetSystemMenu(form->GetHandle(), FALSE);
    const int before = GetMenuItemCount(menu);
    LangAppendSystemMenuDefs(menu);
    ASSERT_EQ(GetMenuItemCount(menu), before + 4);

    std::vector<win32::ModalItem> shown;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind != win32::ModalKind::SystemMenu) return win32::ModalReply::Answer(0);
        shown = interaction.items;
        return win32::ModalReply::Answer(21);
    });
    driver.Press({VK_MENU}, VK_SPACE);
    driver.PumpUntilIdle();

    ASSERT_GE(shown.size(), 4u);
    const std::vector<std::pair<std::string, int>> expected = {{"English", 20}, {"Magyar", 21}, {"Deutsch", 22}};
    EXPECT_TRUE(shown[shown.size() - 4].separator);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[shown.size() - 3 + i].text, expected[i].first);
        EXPECT_EQ(shown[shown.size() - 3 + i].identifier, expected[i].second);
    }
    EXPECT_NE(std::find(commands.begin(), commands.end(), WPARAM(21)), commands.end());
}
