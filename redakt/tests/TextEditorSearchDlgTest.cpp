// The search, replace, search-all and replace-prompt dialogs: their stored
// forms in both languages, the close checks (the forms run and their buttons
// are pressed), eval and regular expression excluding each other, the
// histories, the data written and read, Help, and the keyboard alone.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "GroupControls.h"
#include "Label.h"
#include "Langtable.h"
#include "ListBox.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorSearchDlg.h"
#include "TextEditorTexts.h"

namespace {

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) texts.push_back(box->GetItems()->GetStrings(i));
    return texts;
}

struct TBox {
    std::string caption, text;
    bool stopIcon;
};

// An editor with text, focused; message boxes are answered OK and kept, and
// a box about a dialog, when `closeAfterBox` names one, is followed by that
// dialog's close (Cancel).
class SearchDlgTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = Place(40, 30, 300, 200);
        ShowText(editor, {"alpha beta", "gamma beta", "delta"});
        editor->SetFocus();
        driver.PumpUntilIdle();
        *editor->searchInfo = TTextEditorSearchInfo();
        editor->searchAllInfo->text.Clear();
        for (TTextEditorSearchDlg* dialog : {static_cast<TTextEditorSearchDlg*>(SharedSearchDlg()),
                                             static_cast<TTextEditorSearchDlg*>(SharedReplaceDlg()),
                                             static_cast<TTextEditorSearchDlg*>(SharedSearchAllDlg())}) {
            dialog->cmbText->GetItems()->Clear();
            dialog->cmbText->SetText("");
            dialog->cbEval->SetChecked(false);
            dialog->cbRegExp->SetChecked(false);
        }
        SharedReplaceDlg()->cmbReplaceText->GetItems()->Clear();
    }

    // Runs show (an editor operation) with act applied to each form as it
    // opens; the form then runs.
    void Run(const std::function<void()>& show, const std::function<void(const win32::ModalInteraction&)>& act) {
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::MessageBox) {
                boxes.push_back({interaction.caption, interaction.text, (interaction.style & MB_ICONSTOP) == MB_ICONSTOP});
                if (closeAfterBox != nullptr) PostMessageA(closeAfterBox->GetHandle(), WM_CLOSE, 0, 0);
                return win32::ModalReply::Answer(IDOK);
            }
            forms.push_back(interaction.caption);
            act(interaction);
            return win32::ModalReply::Run();
        });
        show();
        driver.SetAutoPump(true);
        driver.PumpUntilIdle();
    }
    void Search(const std::function<void(TTextEditorSearchDlg&)>& act) {
        TTextEditorSearchDlg* dialog = SharedSearchDlg();
        Run([this] { editor->Search(); }, [&](const win32::ModalInteraction&) { act(*dialog); });
    }
    // The hit selected in-line: line, start, end.
    std::vector<int> Hit() const {
        const TTextEditorSelection& s = editor->selection;
        return {s.selLine, s.selStartCol, s.selEndCol};
    }

    TTextEditor* editor = nullptr;
    std::vector<TBox> boxes;
    std::vector<std::string> forms;
    TForm* closeAfterBox = nullptr;
};

}  // namespace

TEST_F(SearchDlgTest, TheStoredFormsHoldTheirControlsInEitherLanguage) {
    TLangTable* table = GetTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    const int previous = table->GetLang();
    const struct {
        int language;
        const char *search, *replace, *searchAll, *prompt, *caseLabel, *replaceWith, *destination, *yes, *all;
    } kLanguages[] = {
        {0, "Search text", "Replace text", "Search all", "Replace text", "Case sensitivity", "Replace with:",
         "Results destination:", "&Yes", "&All"},
        {1, "Sz\xF6veg keres\xE9se", "Sz\xF6veg cser\xE9je", "Keres\xE9s minden\xFCtt", "Sz\xF6veg cser\xE9je",
         "Kis- \xE9s nagybet\xFBk", "Csere erre:", "Tal\xE1latok helye:", "&Igen", "&Mind"},
    };
    for (const auto& language : kLanguages) {
        table->SetLang(language.language);
        auto* search = new TTextEditorSearchDlg(nullptr);
        auto* replace = new TTextEditorReplaceDlg(nullptr);
        auto* searchAll = new TTextEditorSearchAllDlg(nullptr);
        auto* prompt = new TTextEditorReplacePromptDlg(nullptr);
        EXPECT_EQ(search->GetCaption(), language.search);
        EXPECT_EQ(replace->GetCaption(), language.replace);
        EXPECT_EQ(searchAll->GetCaption(), language.searchAll);
        EXPECT_EQ(prompt->GetCaption(), language.prompt);
        EXPECT_EQ(search->cbCaseSensitivity->GetCaption(), language.caseLabel);
        EXPECT_EQ(dynamic_cast<TLabel*>(replace->FindComponent("lbReplaceText"))->GetCaption(), language.replaceWith);
        EXPECT_EQ(dynamic_cast<TLabel*>(searchAll->FindComponent("lbResultsDest"))->GetCaption(), language.destination);
        EXPECT_EQ(prompt->btnYes->GetCaption(), language.yes);
        EXPECT_EQ(replace->Button4->GetCaption(), language.all);
        for (TTextEditorSearchDlg* dialog : {search, static_cast<TTextEditorSearchDlg*>(replace),
                                             static_cast<TTextEditorSearchDlg*>(searchAll)}) {
            ASSERT_TRUE(dialog->cmbText && dialog->cbCaseSensitivity && dialog->cbWholeWords && dialog->cbRegExp &&
                        dialog->cbEval && dialog->rbForward && dialog->rbBackward && dialog->rbEntire &&
                        dialog->rbSelection && dialog->rbFirstPos && dialog->rbCurPos && dialog->btnHelp);
            EXPECT_EQ(dialog->btnOk->GetModalResult(), mrOk);
            EXPECT_TRUE(dialog->btnOk->GetDefault());
            EXPECT_EQ(dialog->btnCancel->GetModalResult(), mrCancel);
            EXPECT_TRUE(dialog->btnCancel->GetCancel());
            // Each pair of options is one choice.
            EXPECT_NE(dialog->rbForward->GetParent(), dialog->rbEntire->GetParent());
            EXPECT_EQ(dialog->rbFirstPos->GetParent(), dialog->rbCurPos->GetParent());
        }
        EXPECT_FALSE(replace->cbRegExp->GetVisible());
        EXPECT_FALSE(replace->cbEval->GetVisible());
        EXPECT_TRUE(replace->cbPromptOnReplace->GetChecked());
        EXPECT_EQ(replace->Button4->GetModalResult(), mrYes);
        EXPECT_EQ(searchAll->cmbResultsDest->GetStyle(), csDropDownList);
        EXPECT_EQ(prompt->btnYes->GetModalResult(), mrYes);
        EXPECT_TRUE(prompt->btnYes->GetDefault());
        EXPECT_EQ(prompt->btnNo->GetModalResult(), mrNo);
        EXPECT_EQ(prompt->btnCancel->GetModalResult(), mrCancel);
        EXPECT_TRUE(prompt->btnCancel->GetCancel());
        EXPECT_EQ(prompt->btnAll->GetModalResult(), mrOk);
        delete search;
        delete replace;
        delete searchAll;
        delete prompt;
    }
    table->SetLang(previous);
}

TEST_F(SearchDlgTest, TheCloseChecksRefuseAnEmptyTextAndABadExpressionAndTheFormStaysOpen) {
    const struct {
        const char* name;
        TTextEditorSearchDlg* dialog;
        std::function<void()> show;
        const char* text;
        bool eval;
        bool all;  // the replace dialog's "&All"
        std::vector<std::string> box;  // caption, text; {} when it closes
    } kCases[] = {
        {"search, empty", SharedSearchDlg(), [this] { editor->Search(); }, "", false, false, {"Search", "Specify a text."}},
        {"search, bad expression", SharedSearchDlg(), [this] { editor->Search(); }, "strlen(line", true, false,
         {"Search text", "Wrong search eval expression"}},
        {"search, good expression", SharedSearchDlg(), [this] { editor->Search(); }, "strlen(line) > 99", true, false, {}},
        {"search all, empty", SharedSearchAllDlg(), [this] { editor->SearchAll(nullptr); }, "", false, false,
         {"Search", "Specify a text."}},
        {"replace, empty", SharedReplaceDlg(), [this] { editor->Replace(); }, "", false, false,
         {"Replace", "Specify a text"}},
        {"replace, empty, All", SharedReplaceDlg(), [this] { editor->Replace(); }, "", false, true, {}},
    };
    TListBox* list = new TListBox(form);
    list->SetParent(form);
    editor->AddSearchAllListBox(TString("List"), list);
    for (const auto& c : kCases) {
        boxes.clear();
        forms.clear();
        // A dialog that closes with OK or "&All" hands its text on.
        editor->searchInfo->text = editor->searchAllInfo->text = TString("unchanged");
        closeAfterBox = c.dialog;
        Run(c.show, [&](const win32::ModalInteraction&) {
            c.dialog->cmbText->SetText(c.text);
            c.dialog->cbEval->SetChecked(c.eval);
            auto* replace = dynamic_cast<TTextEditorReplaceDlg*>(c.dialog);
            if (replace != nullptr) replace->cbPromptOnReplace->SetChecked(false);
            (c.all ? replace->Button4 : c.dialog->btnOk)->Click();
        });
        closeAfterBox = nullptr;
        ASSERT_EQ(forms.size(), 1u) << c.name;
        EXPECT_FALSE(IsWindowVisible(c.dialog->GetHandle())) << c.name;
        const TString& handedOn = c.dialog == SharedSearchAllDlg() ? editor->searchAllInfo->text : editor->searchInfo->text;
        if (c.box.empty()) {
            EXPECT_EQ(handedOn.str(), c.text) << c.name;
            EXPECT_TRUE(boxes.empty() || boxes[0].text.rfind("Not found:", 0) == 0) << c.name;
        } else {
            EXPECT_EQ(handedOn.str(), "unchanged") << c.name << ": refused, then cancelled";
            ASSERT_EQ(boxes.size(), 1u) << c.name;
            EXPECT_EQ(boxes[0].caption, c.box[0]) << c.name;
            EXPECT_EQ(boxes[0].text, c.box[1]) << c.name;
            EXPECT_TRUE(boxes[0].stopIcon) << c.name;
        }
    }
    // "&All" with an empty text finds nothing and ends.
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"alpha beta", "gamma beta", "delta"}));
    EXPECT_FALSE(editor->replacing);
}

TEST_F(SearchDlgTest, EvalAndRegularExpressionExcludeEachOther) {
    for (TTextEditorSearchDlg* dialog : {static_cast<TTextEditorSearchDlg*>(SharedSearchDlg()),
                                         static_cast<TTextEditorSearchDlg*>(SharedSearchAllDlg())}) {
        dialog->cbRegExp->SetChecked(true);
        dialog->cbEval->SetChecked(true);
        EXPECT_FALSE(dialog->cbRegExp->GetChecked());
        dialog->cbRegExp->SetChecked(true);
        EXPECT_FALSE(dialog->cbEval->GetChecked());
        dialog->cbRegExp->SetChecked(false);
        EXPECT_FALSE(dialog->cbEval->GetChecked());
    }
}

TEST_F(SearchDlgTest, TheHistoriesKeepSixteenEntriesNewestFirst) {
    // Search: a repeated text keeps its place; the 17th text pushes out the oldest.
    for (int i = 1; i <= 17; ++i) {
        Search([i](TTextEditorSearchDlg& d) {
            d.cmbText->SetText("t" + std::to_string(i));
            d.btnOk->Click();
        });
        if (i == 3) {
            Search([](TTextEditorSearchDlg& d) {
                d.cmbText->SetText("t1");
                d.btnOk->Click();
            });
        }
    }
    std::vector<std::string> items = Items(SharedSearchDlg()->cmbText);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(items.front(), "t17");
    EXPECT_EQ(items.back(), "t2") << "t1 went first";

    // Replace: both boxes.
    TTextEditorReplaceDlg* replace = SharedReplaceDlg();
    for (int i = 1; i <= 17; ++i)
        Run([this] { editor->Replace(); },
            [&](const win32::ModalInteraction&) {
                replace->cmbText->SetText("r" + std::to_string(i));
                replace->cmbReplaceText->SetText("w" + std::to_string(i % 5));
                replace->btnOk->Click();
            });
    items = Items(replace->cmbText);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(items.front(), "r17");
    EXPECT_EQ(items.back(), "r2");
    EXPECT_EQ(Items(replace->cmbReplaceText), (std::vector<std::string>{"w0", "w4", "w3", "w2", "w1"}));

    // Search all takes repeated texts as they come.
    TListBox* list = new TListBox(form);
    list->SetParent(form);
    editor->AddSearchAllListBox(TString("List"), list);
    TTextEditorSearchAllDlg* searchAll = SharedSearchAllDlg();
    for (int i = 1; i <= 18; ++i)
        Run([this] { editor->SearchAll(nullptr); },
            [&](const win32::ModalInteraction&) {
                searchAll->cmbText->SetText(i <= 2 ? "same" : "s" + std::to_string(i));
                searchAll->btnOk->Click();
            });
    items = Items(searchAll->cmbText);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(items.front(), "s18");
    EXPECT_EQ(items.back(), "s3");
    for (int i = 1; i <= 2; ++i)
        Run([this] { editor->SearchAll(nullptr); },
            [&](const win32::ModalInteraction&) {
                searchAll->cmbText->SetText("again");
                searchAll->btnOk->Click();
            });
    EXPECT_EQ(Items(searchAll->cmbText)[0], "again");
    EXPECT_EQ(Items(searchAll->cmbText)[1], "again");
}

TEST_F(SearchDlgTest, TheDialogShowsTheRequestAndGivesItBack) {
    TTextEditorSearchDlg* dialog = SharedSearchDlg();
    TTextEditorSearchInfo info;
    for (bool flag : {true, false}) {
        info.caseSensitive = flag;
        info.wholeWords = !flag;
        info.forward = flag;
        info.entireText = !flag;
        info.fromStart = flag;
        dialog->cbRegExp->SetChecked(true);
        editor->SetSearchDlgData(&info, dialog);
        EXPECT_EQ(dialog->cbCaseSensitivity->GetChecked(), flag);
        EXPECT_EQ(dialog->cbWholeWords->GetChecked(), !flag);
        EXPECT_TRUE(dialog->cbRegExp->GetChecked()) << "left as it was";
        EXPECT_EQ(dialog->rbForward->GetChecked(), flag);
        EXPECT_EQ(dialog->rbBackward->GetChecked(), !flag);
        EXPECT_EQ(dialog->rbEntire->GetChecked(), !flag);
        EXPECT_EQ(dialog->rbSelection->GetChecked(), flag);
        EXPECT_EQ(dialog->rbFirstPos->GetChecked(), flag);
        EXPECT_EQ(dialog->rbCurPos->GetChecked(), !flag);
        EXPECT_EQ(dialog->GetActiveControl(), dialog->cmbText);
        EXPECT_EQ(dialog->vars, &editor->runtimeVars);
    }
    // Centred over the editor.
    POINT corner = form->ClientToScreen(POINT{editor->GetLeft(), editor->GetTop()});
    EXPECT_EQ(dialog->GetLeft(), corner.x + (editor->GetWidth() - dialog->GetWidth()) / 2);
    EXPECT_EQ(dialog->GetTop(), corner.y + (editor->GetHeight() - dialog->GetHeight()) / 2);

    // Read back: the text, all eight options, and an eval text compiled on
    // the editor's variables.
    dialog->cmbText->SetText("strlen(line) == 5");
    dialog->cbCaseSensitivity->SetChecked(true);
    dialog->cbWholeWords->SetChecked(true);
    dialog->cbEval->SetChecked(true);
    dialog->rbBackward->SetChecked(true);
    dialog->rbSelection->SetChecked(true);
    dialog->rbFirstPos->SetChecked(true);
    TTextEditorSearchInfo read;
    editor->GetSearchDlgData(&read, dialog);
    EXPECT_EQ(read.text.str(), "strlen(line) == 5");
    EXPECT_TRUE(read.caseSensitive && read.wholeWords && read.evalExpression && !read.regExp);
    EXPECT_FALSE(read.forward || read.entireText);
    EXPECT_TRUE(read.fromStart);
    ASSERT_TRUE(read.expression.Valid());
    EXPECT_EQ(&read.expression.GetVars(), &editor->runtimeVars);
}

TEST_F(SearchDlgTest, TextAtCursorOpensTheDialogWithTheWordAtTheCursor) {
    editor->searchInfo->text = TString("before");
    const struct {
        bool textAtCursor;
        int col;
        const char* preset;
    } kCases[] = {{true, 7, "beta"}, {true, 5, "before"}, {false, 7, "before"}};
    for (const auto& c : kCases) {
        editor->SetTextAtCursor(c.textAtCursor);
        editor->SetCursorPosX(c.col);
        std::string preset;
        Search([&](TTextEditorSearchDlg& d) {
            preset = d.cmbText->GetText();
            d.btnCancel->Click();
        });
        EXPECT_EQ(preset, c.preset) << c.col;
    }
}

TEST_F(SearchDlgTest, HelpReportsTheSearchAndTheReplaceDialogs) {
    std::vector<TTextEditorDlg> helps;
    editor->OnDlgHelp = [&](TTextEditor*, TTextEditorDlg which) { helps.push_back(which); };
    TListBox* list = new TListBox(form);
    list->SetParent(form);
    editor->AddSearchAllListBox(TString("List"), list);
    const struct {
        TTextEditorSearchDlg* dialog;
        std::function<void()> show;
    } kDialogs[] = {
        {SharedSearchDlg(), [this] { editor->Search(); }},
        {SharedReplaceDlg(), [this] { editor->Replace(); }},
        {SharedSearchAllDlg(), [this] { editor->SearchAll(nullptr); }},
    };
    for (const auto& d : kDialogs) {
        Run(d.show, [&](const win32::ModalInteraction&) {
            const RECT help = d.dialog->btnHelp->GetClientRect();
            driver.Click(d.dialog->btnHelp->GetHandle(), help.right / 2, help.bottom / 2);
            d.dialog->btnCancel->Click();
        });
        EXPECT_FALSE(d.dialog->btnHelp->OnClick) << "the shared dialog keeps no handler of the editor";
    }
    EXPECT_EQ(helps, (std::vector<TTextEditorDlg>{dlgSearch, dlgReplace, dlgSearch}));
}

// Ctrl+F asks, F3 goes on, Shift+F3 goes back, Ctrl+R replaces.
TEST_F(SearchDlgTest, TheEditorsKeysOpenTheDialogsAndStep) {
    Run([this] { driver.Press({VK_CONTROL}, 'F'); },
        [this](const win32::ModalInteraction&) {
            driver.SetAutoPump(false);
            driver.Type("beta");
            driver.Press(VK_RETURN);
        });
    EXPECT_EQ(forms, std::vector<std::string>{"Search text"});
    EXPECT_EQ(Hit(), (std::vector<int>{0, 6, 10}));
    driver.Press(VK_F3);
    EXPECT_EQ(Hit(), (std::vector<int>{1, 6, 10}));
    driver.Press({VK_SHIFT}, VK_F3);
    EXPECT_EQ(Hit(), (std::vector<int>{0, 6, 10}));
    EXPECT_TRUE(boxes.empty());
    Run([this] { driver.Press({VK_CONTROL}, 'R'); },
        [this](const win32::ModalInteraction& interaction) {
            if (interaction.window != SharedReplaceDlg()->GetHandle()) return;
            SharedReplaceDlg()->cmbReplaceText->SetText("");
            SharedReplaceDlg()->cbPromptOnReplace->SetChecked(false);
            driver.SetAutoPump(false);
            driver.Press(VK_TAB);
            driver.Type("B");
            driver.Press({VK_MENU}, 'A');
        });
    EXPECT_EQ(forms.back(), "Replace text");
    // From the cursor, after the selected hit.
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"alpha beta", "gamma B", "delta"}));
}

// Typed and answered by the keyboard alone: Enter is OK (or "&Yes"), Esc
// is Cancel, Tab leads to the replacement, Alt+N and Alt+A are "&No" and
// "&All" in the prompt.
TEST_F(SearchDlgTest, TheKeyboardAnswersTheDialogsAndThePrompt) {
    const auto keys = [this](const std::function<void()>& press) {
        return [this, press](const win32::ModalInteraction&) {
            driver.SetAutoPump(false);
            press();
        };
    };
    Run([this] { editor->Search(); }, keys([this] {
            driver.Type("beta");
            driver.Press(VK_RETURN);
        }));
    EXPECT_EQ(Hit(), (std::vector<int>{0, 6, 10}));
    Run([this] { editor->Search(); }, keys([this] {
            driver.Type("delta");
            driver.Press(VK_ESCAPE);
        }));
    EXPECT_EQ(Hit(), (std::vector<int>{0, 6, 10})) << "Esc searches nothing";

    // Replace every "a" from line 1 on: Yes (Enter), No (Alt+N), then All (Alt+A).
    editor->SetCursorPosX(0);
    editor->SetCursorPosY(1);
    editor->selection = {0, 0, 1, 1, 1};
    int prompts = 0;
    const std::vector<std::function<void()>> answers = {
        [this] { driver.Press(VK_RETURN); },
        [this] { driver.Press({VK_MENU}, 'N'); },
        [this] { driver.Press({VK_MENU}, 'A'); },
    };
    TTextEditorReplacePromptDlg* prompt = SharedReplacePromptDlg();
    Run([this] { editor->Replace(); },
        [&](const win32::ModalInteraction& interaction) {
            driver.SetAutoPump(false);
            if (interaction.window != prompt->GetHandle()) {
                SharedReplaceDlg()->cmbText->SetText("");
                SharedReplaceDlg()->cmbReplaceText->SetText("");
                driver.Type("a");
                driver.Press(VK_TAB);
                driver.Type("A");
                driver.Press({VK_MENU}, 'A');
                return;
            }
            if (prompts < static_cast<int>(answers.size())) answers[static_cast<size_t>(prompts)]();
            ++prompts;
        });
    EXPECT_EQ(prompts, 3);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"alpha beta", "gAmma betA", "deltA"}));
    EXPECT_EQ(editor->replaceText.str(), "A");

    // OK replaces one hit (Enter in the prompt); Esc in the prompt of the
    // next F3 stops replace mode and keeps what was replaced.
    int oks = 0;
    Run([this] { editor->Replace(); },
        [&](const win32::ModalInteraction& interaction) {
            driver.SetAutoPump(false);
            if (interaction.window != prompt->GetHandle()) {
                SharedReplaceDlg()->cmbText->SetText("");
                SharedReplaceDlg()->cmbReplaceText->SetText("");
                driver.Type("e");
                driver.Press(VK_TAB);
                driver.Type("E");
                driver.Press(VK_RETURN);
                return;
            }
            ++oks;
            driver.Press(VK_RETURN);
        });
    EXPECT_EQ(oks, 1);
    EXPECT_TRUE(editor->replacing);
    int escapes = 0;
    editor->shiftState = TShiftState();
    Run([this] { editor->SearchByInfo(); },
        [&](const win32::ModalInteraction&) {
            ++escapes;
            driver.SetAutoPump(false);
            driver.Press(VK_ESCAPE);
        });
    EXPECT_EQ(escapes, 1);
    EXPECT_FALSE(editor->replacing);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"alpha beta", "gAmma bEtA", "deltA"}));
}
