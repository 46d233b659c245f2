// Tests of the topic panel's dialogs through the responder: topic selection
// with its incremental search, the word search with its criteria, the found
// topics, and what the panel does with their answers.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Buttons.h"
#include "Edit.h"
#include "FoundTopicsDlg.h"
#include "Label.h"
#include "ListBox.h"
#include "ScrollerFixture.h"
#include "SearchDlg.h"
#include "SeeAlsoDlg.h"
#include "SelectTopicDlg.h"
#include "VGTPanel.h"

namespace {

class ViewerDialogsTest : public ScrollerTest {
protected:
    void SetUp() override {
        ScrollerTest::SetUp();
        panel = new TVGTPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 400, 300);
        // Names: "Functions", "  fuzzy logic" (indented), "Fields", and one
        // with an accented first letter (code page bytes).
        folder.Write("topics.txt",
                     "Functions,functions.vgt\n/fuzzy logic,fuzzy.vgt\nFields,Field list,fields.vgt\n"
                     "\xC9rt\xE9kek,values.vgt\n");
        folder.Write("functions.vgt", "Sine and <B>cosine</B> functions");
        folder.Write("fuzzy.vgt", "Fuzzy values and sine waves");
        folder.Write("fields.vgt", "Fields hold VALUES");
        folder.Write("values.vgt", "values");
        TTopics topics;
        topics.ReadFromFile(TString("topics.txt"));
        panel->SetTopics(topics);
        driver.PumpUntilIdle();
    }
    // Answers every interaction through act (dialogs) or records it (boxes).
    template <class Dialog>
    void Respond(std::function<int(Dialog*, const win32::ModalInteraction&)> act) {
        reply = [this, act](const win32::ModalInteraction& box) {
            if (auto* dialog = dynamic_cast<Dialog*>(TWinControl::FindControl(box.window)))
                return win32::ModalReply::Answer(act(dialog, box));
            boxes.push_back(box);
            return win32::ModalReply::Answer(box.defaultAnswer);
        };
    }
    std::string Shown() const { return panel->GetMainPanel()->GetTopicName().str(); }
    static std::vector<std::string> Items(TListBox* list) {
        std::vector<std::string> items;
        for (int i = 0; i < list->GetCount(); ++i) items.push_back(list->GetItems()->GetStrings(i));
        return items;
    }

    TVGTPanel* panel = nullptr;
    win32::ModalResponder reply;
    win32::ScopedResponder answering{[this](const win32::ModalInteraction& box) { return reply(box); }};
};

// The four dialogs are fixed-size, centred on the screen, with "&Ok" as the
// default button (OK) and "&Cancel" as the cancel button (Cancel).
TEST_F(ViewerDialogsTest, EveryDialogIsAFixedDialogWithOkAndCancel) {
    std::vector<std::unique_ptr<TForm>> dialogs;
    dialogs.push_back(std::make_unique<TSelectTopicDlg>(panel));
    dialogs.push_back(std::make_unique<TSearchDlg>(panel));
    dialogs.push_back(std::make_unique<TFoundTopicsDlg>(panel));
    dialogs.push_back(std::make_unique<TSeeAlsoDlg>(panel));
    for (const std::unique_ptr<TForm>& dialog : dialogs) {
        EXPECT_EQ(dialog->GetOwner(), panel) << dialog->GetCaption();
        EXPECT_EQ(dialog->GetBorderStyle(), bsDialog) << dialog->GetCaption();
        EXPECT_EQ(dialog->GetPosition(), poScreenCenter) << dialog->GetCaption();
        auto* ok = dynamic_cast<TButton*>(dialog->FindComponent("btnOk"));
        auto* cancel = dynamic_cast<TButton*>(dialog->FindComponent("btnCancel"));
        ASSERT_NE(ok, nullptr) << dialog->GetCaption();
        ASSERT_NE(cancel, nullptr) << dialog->GetCaption();
        EXPECT_EQ(ok->GetCaption(), "&Ok");
        EXPECT_TRUE(ok->GetDefault());
        EXPECT_FALSE(ok->GetCancel());
        EXPECT_EQ(ok->GetModalResult(), mrOk);
        EXPECT_EQ(cancel->GetCaption(), "&Cancel");
        EXPECT_TRUE(cancel->GetCancel());
        EXPECT_FALSE(cancel->GetDefault());
        EXPECT_EQ(cancel->GetModalResult(), mrCancel);
    }
}

TEST_F(ViewerDialogsTest, SelectingATopicByName) {
    struct Case {
        std::string typed;  // keys typed into the box, "\b" for Backspace
        int selected;
    } cases[] = {
        {"f", 0},        {"fu", 0},   {"fi", 2},      {"fux", -1},    {"F\b", -1}, {"\b", -1},
        {"fiq\b", 2},    {"  f", 1},  {"fuzzy", -1},  {"\xE9r", 4},   {"\xC9R", 4},
    };
    for (const Case& test : cases) {
        int selected = -9;
        Respond<TSelectTopicDlg>([&](TSelectTopicDlg* dialog, const win32::ModalInteraction& box) {
            EXPECT_EQ(box.caption, "Select a topic");
            EXPECT_EQ(dialog->GetClientWidth(), 337);
            EXPECT_EQ(dialog->GetClientHeight(), 273);
            EXPECT_EQ(dialog->Label1->GetCaption(), "Type the word you are looking for:");
            EXPECT_EQ(dialog->Label2->GetCaption(), "Select the entry name yout want to display:");
            EXPECT_EQ(Items(dialog->lbNames),
                      (std::vector<std::string>{"Functions", "  fuzzy logic", "Fields", "Field list", "\xC9rt\xE9kek"}));
            EXPECT_EQ(dialog->edWord->GetText(), "");
            for (char key : test.typed) {
                if (key == '\b')
                    driver.Press(VK_BACK);
                else
                    driver.Type(std::string(1, key));
            }
            selected = dialog->lbNames->GetItemIndex();
            return mrCancel;
        });
        panel->SelectTopic();
        EXPECT_EQ(selected, test.selected) << test.typed;
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Shown(), "");  // Cancel opens nothing

    // OK with a name opens its topic; without one the warning shows.
    Respond<TSelectTopicDlg>([&](TSelectTopicDlg* dialog, const win32::ModalInteraction&) {
        driver.Type("fie");
        return dialog->lbNames->GetItemIndex() == 2 ? mrOk : mrCancel;
    });
    panel->SelectTopic();
    EXPECT_EQ(Shown(), "fields.vgt");
    Respond<TSelectTopicDlg>([&](TSelectTopicDlg*, const win32::ModalInteraction&) {
        driver.Type("q");
        return mrOk;
    });
    panel->SelectTopic();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No such topic");
    EXPECT_EQ(boxes[0].caption, "Select topic");
    EXPECT_EQ(boxes[0].style & MB_ICONWARNING, UINT(MB_ICONWARNING));
    EXPECT_EQ(Shown(), "fields.vgt");
    // A double click on a name chooses it.
    TModalResult result = mrNone;
    Respond<TSelectTopicDlg>([&](TSelectTopicDlg* dialog, const win32::ModalInteraction&) {
        const RECT item = dialog->lbNames->ItemRect(1);
        driver.DoubleClick(dialog->lbNames->GetHandle(), item.left + 5, item.top + 3);
        result = dialog->GetModalResult();
        dialog->lbNames->SetItemIndex(1);
        return result;
    });
    panel->SelectTopic();
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Shown(), "fuzzy.vgt");
}

TEST_F(ViewerDialogsTest, SearchingTheTopicsForWords) {
    struct Case {
        std::vector<std::string> words;
        bool whole, all, matchCase;
        std::vector<std::string> found;  // names listed
    } cases[] = {
        {{"sine"}, false, false, false, {"Functions", "  fuzzy logic"}},
        {{"sin"}, true, false, false, {}},
        {{"sine", "fuzzy"}, false, true, false, {"  fuzzy logic"}},
        {{"values"}, false, false, true, {"  fuzzy logic", "\xC9rt\xE9kek"}},
        {{"VALUES"}, false, false, false, {"  fuzzy logic", "Fields", "Field list", "\xC9rt\xE9kek"}},
        {{"cosine"}, true, false, false, {"Functions"}},  // words in tags are text too
        {{"B"}, true, false, true, {}},                    // tag names are not
    };
    // A topic whose source cannot be read is searched as empty, without a report.
    TTopics lost;
    TTopics::ReadTopicLine(TString("Lost,lost.vgt"), *lost.NewItem());
    panel->AddTopics(lost);
    for (const Case& test : cases) {
        std::vector<std::string> listed;
        bool criteriaDialog = true;
        reply = [&](const win32::ModalInteraction& box) {
            TWinControl* window = TWinControl::FindControl(box.window);
            if (auto* dialog = dynamic_cast<TSearchDlg*>(window)) {
                dialog->lbWords->Clear();
                for (const std::string& word : test.words) dialog->lbWords->GetItems()->Add(word);
                dialog->cbWholeWords->SetChecked(test.whole);
                dialog->cbAndRel->SetChecked(test.all);
                dialog->cbCase->SetChecked(test.matchCase);
                return win32::ModalReply::Answer(mrOk);
            }
            if (auto* dialog = dynamic_cast<TFoundTopicsDlg*>(window)) {
                EXPECT_EQ(box.caption, "Found topics");
                EXPECT_EQ(dialog->GetClientWidth(), 337);
                EXPECT_EQ(dialog->GetClientHeight(), 153);
                EXPECT_EQ(dialog->Label1->GetCaption(), "Select a found topic:");
                listed = Items(dialog->lbTopics);
                return win32::ModalReply::Answer(mrCancel);
            }
            criteriaDialog = false;
            boxes.push_back(box);
            return win32::ModalReply::Answer(IDOK);
        };
        boxes.clear();
        panel->Search();
        EXPECT_EQ(listed, test.found) << test.words[0];
        EXPECT_EQ(boxes.size(), test.found.empty() ? 1u : 0u) << test.words[0];
        if (test.found.empty()) {
            ASSERT_EQ(boxes.size(), 1u) << test.words[0];
            EXPECT_EQ(boxes[0].text, "No words were found.");
            EXPECT_EQ(boxes[0].caption, "Find words");
            EXPECT_EQ(boxes[0].style, UINT(MB_OK));
        }
    }
}

TEST_F(ViewerDialogsTest, TheSearchDialogKeepsItsCriteria) {
    // No words: nothing is found.
    reply = [&](const win32::ModalInteraction& box) {
        if (auto* dialog = dynamic_cast<TSearchDlg*>(TWinControl::FindControl(box.window))) {
            EXPECT_EQ(box.caption, "Seraching criteria");
            EXPECT_EQ(dialog->GetClientWidth(), 329);
            EXPECT_EQ(dialog->GetClientHeight(), 170);
            EXPECT_EQ(dialog->Label1->GetCaption(), "Words to be found:");
            EXPECT_EQ(dialog->btnAdd->GetCaption(), "&Add");
            EXPECT_EQ(dialog->btnDelete->GetCaption(), "&Delete");
            EXPECT_EQ(dialog->btnReplace->GetCaption(), "&Replace");
            EXPECT_EQ(dialog->cbWholeWords->GetCaption(), "Whole words");
            EXPECT_EQ(dialog->cbAndRel->GetCaption(), "AND relation");
            EXPECT_EQ(dialog->cbCase->GetCaption(), "Case sensitivity");
            EXPECT_EQ(dialog->lbWords->GetCount(), 0);
            return win32::ModalReply::Answer(mrOk);
        }
        boxes.push_back(box);
        return win32::ModalReply::Answer(IDOK);
    };
    panel->Search();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No words were found.");

    // Add, Replace, Delete and a click on a word; OK keeps words and options.
    std::vector<std::vector<std::string>> seen;
    Respond<TSearchDlg>([&](TSearchDlg* dialog, const win32::ModalInteraction&) {
        auto click = [&](TButton* button) { driver.Click(button->GetHandle(), 5, 5); };
        for (const char* word : {"alpha", "beta", "gamma"}) {
            dialog->edWord->SetText(word);
            click(dialog->btnAdd);
        }
        seen.push_back(Items(dialog->lbWords));
        EXPECT_EQ(dialog->edWord->GetSelLength(), 5);  // the text stays, selected
        dialog->lbWords->SetItemIndex(1);
        dialog->edWord->SetText("delta");
        click(dialog->btnReplace);
        seen.push_back(Items(dialog->lbWords));
        dialog->lbWords->SetItemIndex(2);
        click(dialog->btnDelete);
        EXPECT_EQ(dialog->lbWords->GetItemIndex(), 1);  // the new last word
        seen.push_back(Items(dialog->lbWords));
        const RECT first = dialog->lbWords->ItemRect(0);
        driver.Click(dialog->lbWords->GetHandle(), first.left + 3, first.top + 3);
        EXPECT_EQ(dialog->edWord->GetText(), "alpha");
        dialog->cbWholeWords->SetChecked(true);
        dialog->cbCase->SetChecked(true);
        return mrOk;
    });
    panel->Search();
    EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{
                        {"alpha", "beta", "gamma"}, {"alpha", "delta", "gamma"}, {"alpha", "delta"}}));
    EXPECT_EQ(panel->GetSearchWords().GetCount(), 2);
    EXPECT_TRUE(panel->GetWholeWords());
    EXPECT_FALSE(panel->GetAndRelation());
    EXPECT_TRUE(panel->GetCaseSensitivity());

    // The next search starts from them; Cancel keeps them and searches nothing.
    boxes.clear();
    Respond<TSearchDlg>([&](TSearchDlg* dialog, const win32::ModalInteraction&) {
        EXPECT_EQ(Items(dialog->lbWords), (std::vector<std::string>{"alpha", "delta"}));
        EXPECT_TRUE(dialog->cbWholeWords->GetChecked());
        EXPECT_TRUE(dialog->cbCase->GetChecked());
        dialog->lbWords->Clear();
        dialog->cbCase->SetChecked(false);
        return mrCancel;
    });
    panel->Search();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(panel->GetSearchWords().GetCount(), 2);
    EXPECT_TRUE(panel->GetCaseSensitivity());
    // Replace and Delete without a selection do nothing.
    Respond<TSearchDlg>([&](TSearchDlg* dialog, const win32::ModalInteraction&) {
        dialog->lbWords->SetItemIndex(-1);
        dialog->btnReplaceClick(nullptr);
        dialog->btnDeleteClick(nullptr);
        EXPECT_EQ(Items(dialog->lbWords), (std::vector<std::string>{"alpha", "delta"}));
        return mrCancel;
    });
    panel->Search();
}

TEST_F(ViewerDialogsTest, AFoundTopicOpensWhenChosen) {
    reply = [&](const win32::ModalInteraction& box) {
        TWinControl* window = TWinControl::FindControl(box.window);
        if (auto* dialog = dynamic_cast<TSearchDlg*>(window)) {
            dialog->lbWords->GetItems()->Add("hold");
            return win32::ModalReply::Answer(mrOk);
        }
        auto* found = dynamic_cast<TFoundTopicsDlg*>(window);
        if (found == nullptr) return win32::ModalReply::Answer(IDOK);
        const RECT item = found->lbTopics->ItemRect(1);
        driver.DoubleClick(found->lbTopics->GetHandle(), item.left + 3, item.top + 3);
        EXPECT_EQ(found->GetModalResult(), mrOk);
        return win32::ModalReply::Answer(mrOk);
    };
    panel->Search();
    EXPECT_EQ(Shown(), "fields.vgt");
}

}  // namespace
