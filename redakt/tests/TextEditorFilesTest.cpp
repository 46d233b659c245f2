// Loading and saving text files, the save dialog's filter and the scheme
// chosen by extension. Message boxes and file dialogs are answered through
// the responder.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "Edit.h"
#include "FileDialogs.h"
#include "Langtable.h"
#include "RedaktFixture.h"
#include "TextEditorTexts.h"
#include "Responder.h"

namespace fs = std::filesystem;

namespace {

struct TSeenBox {
    std::string caption, text;
    UINT icon;
};

class FilesTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = Place<TTestEditor>();
        editor->OnEvent = [this](int code) { events.push_back(code); };
    }
    std::string Path(const std::string& name) const { return temp.Path(name); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Message boxes are recorded and answered OK; file dialogs get fileName
    // in their name field and OK, or a cancel when it is empty.
    win32::ModalReply Answer(const win32::ModalInteraction& interaction, const std::string& fileName) {
        if (interaction.kind == win32::ModalKind::MessageBox) {
            boxes.push_back({interaction.caption, interaction.text, static_cast<UINT>(interaction.style & MB_ICONMASK)});
            return win32::ModalReply::Answer(IDOK);
        }
        dialogs.push_back(interaction.caption);
        if (fileName.empty()) return win32::ModalReply::Answer(IDCANCEL);
        TFileDialogForm::FromWindow(interaction.window)->GetFileNameEdit()->SetText(fileName);
        return win32::ModalReply::Answer(IDOK);
    }
    win32::ScopedResponder Responder(const std::string& fileName = "") {
        return win32::ScopedResponder(
            [this, fileName](const win32::ModalInteraction& interaction) { return Answer(interaction, fileName); });
    }

    TTempFolder temp{"redakt-files"};
    const fs::path& folder = temp.path;
    TTestEditor* editor = nullptr;
    std::vector<int> events;
    std::vector<TSeenBox> boxes;
    std::vector<std::string> dialogs;
};

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
}

}  // namespace

TEST_F(FilesTest, ALineLimitCutsTheFileOnceAndKeepsNoFileName) {
    Write("ten.txt", NumberedLines(10));
    const struct {
        int maxLines;
        int lines;
        bool limitBox;
    } kLimits[] = {{3, 3, true}, {0, 10, false}, {10, 10, false}, {-1, 10, false}};
    for (const auto& row : kLimits) {
        boxes.clear();
        auto responder = Responder();
        editor->Load(TString(Path("ten.txt")), row.maxLines);
        EXPECT_EQ(editor->lines.GetCount(), row.lines) << row.maxLines;
        if (row.limitBox) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, "The max. number of lines (3) has been reached");
            EXPECT_EQ(boxes[0].caption, "Read file");
            EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
            // Saving the part that was read over the whole file would lose
            // the rest: there is no file name to save to.
            EXPECT_TRUE(editor->fileName.IsEmpty());
        } else {
            EXPECT_TRUE(boxes.empty()) << row.maxLines;
            EXPECT_EQ(editor->fileName.str(), Path("ten.txt")) << row.maxLines;
        }
    }
}

TEST_F(FilesTest, LoadingReplacesTextAndStateAndReportsProgress) {
    Write("tabs.txt", "a\tb\r\nabcdef\r\n\tend  \n");
    std::vector<std::pair<int, int>> progress;
    editor->OnProgressChange = [&progress](TTextEditor*, int total, int done) { progress.emplace_back(total, done); };
    ShowText(editor, std::vector<std::string>(50, "old text"));
    editor->SetCurLine(40);
    editor->SetModified(true);
    editor->AddUndoItem(utTyping);
    editor->sections.Add(TIntPair{1, 2});
    editor->markers += TEXT_EDITOR_MARKER{30, 1};
    editor->Load(TString("  " + Path("tabs.txt") + " "), 0);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"a       b", "abcdef", "        end  "}));
    EXPECT_EQ(editor->GetHMax(), 13);  // the longest line with its tab expanded
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->GetCurCol(), 0);
    EXPECT_EQ(editor->GetVMax(), 2);
    EXPECT_EQ(editor->fileName.str(), Path("tabs.txt"));  // the blanks around the name dropped
    EXPECT_FALSE(editor->GetModified());
    EXPECT_EQ(editor->undoItems.GetCount(), 0);
    EXPECT_EQ(editor->sections.GetCount(), 0);
    EXPECT_EQ(editor->markers.GetCount(), 1);  // bookmarks are not the file's
    EXPECT_EQ(events, std::vector<int>{2});
    ASSERT_EQ(progress.size(), 5u);  // start, one notice per line, end
    EXPECT_EQ(progress.front(), std::make_pair(0, -1));
    EXPECT_EQ(progress[1].second, 5);  // bytes through the first line's end
    EXPECT_EQ(progress[3], std::make_pair(20, 20));
    EXPECT_EQ(progress.back(), std::make_pair(0, -2));
}

// The width is the longest line with its tabs expanded, taken from the read
// without an event handler and measured after one, which may change the
// text, or after entities turned into letters.
TEST_F(FilesTest, TheWidthIsTheLongestLineLoaded) {
    Write("tabs.txt", "a\tb\r\nabcdef\r\n\tend  \n");
    Write("short.txt", "x\n");
    for (const bool handler : {false, true}) {
        editor->OnEvent = nullptr;
        if (handler) editor->OnEvent = [this](int) { editor->lines.Add(TString(std::string(30, 'z'))); };
        editor->Load(TString(Path("tabs.txt")), 0);
        EXPECT_EQ(editor->GetHMax(), handler ? 30 : 13);
        editor->OnEvent = nullptr;
        editor->Load(TString(Path("short.txt")), 0);  // narrows as well
        EXPECT_EQ(editor->GetHMax(), 1);
    }
    Write("page.htm", "&aacute;&ouml;&iacute;\n");
    editor->Load(TString(Path("page.htm")), 0);
    EXPECT_EQ(editor->GetHMax(), 3);  // measured on the letters
}

TEST_F(FilesTest, OnlyAnHtmFileIsConvertedWhenLoaded) {
    const std::string page = "&aacute;rv&iacute;zt&Ucirc;r&otilde; t&uuml;k&ouml;rf&uacute;r&oacute;g&eacute;p\n";
    Write("page.htm", page);
    Write("page.html", page);
    editor->Load(TString(Path("page.htm")), 0);
    EXPECT_EQ(editor->lines[0].str(), "\xE1rv\xEDzt\xDBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p");
    EXPECT_EQ(editor->GetHMax(), 22);  // measured on the letters
    editor->Load(TString(Path("page.html")), 0);
    EXPECT_EQ(editor->lines[0].str() + "\n", page);
    EXPECT_EQ(events, (std::vector<int>{1, 2}));
}

TEST_F(FilesTest, TheSchemeFollowsTheExtension) {
    editor->schemes.Clear();
    editor->schemes.NewItem()->extensions = "Default";
    TTextEditorScheme* cpp = editor->schemes.NewItem();
    cpp->extensions = "CPP;H;C";
    cpp->AutoIndent = true;
    cpp->DosFormat = false;
    cpp->indentSize = 4;
    cpp->marginPos = 120;
    cpp->boldWords.Add("int");
    cpp->boldWords.Add("return");
    editor->schemes.NewItem()->extensions = "pas;Dpr";
    editor->SetMarginPos(70);
    const struct {
        const char* extension;
        int scheme;
    } kExtensions[] = {{"CPP", 1}, {"H", 1}, {"C", 1}, {"TXT", 0}, {"cpp", 0}, {"CP", 0}, {"DPR", 2}, {"", 0}};
    for (const auto& row : kExtensions) {
        editor->SetLang(TString(row.extension));
        EXPECT_EQ(editor->schemeIndex, row.scheme) << row.extension;
        EXPECT_EQ(editor->GetAutoIndent(), row.scheme == 1) << row.extension;
        EXPECT_EQ(editor->GetDosFormat(), row.scheme != 1) << row.extension;
        EXPECT_EQ(editor->GetIndentSize(), row.scheme == 1 ? 4 : 1) << row.extension;
        EXPECT_EQ(editor->boldWordLengths.GetCount(), row.scheme == 1 ? 2 : 0) << row.extension;
        EXPECT_EQ(editor->GetMarginPos(), 70) << row.extension;  // a scheme's margin is not applied
    }
    editor->SetLang(TString("C"));
    EXPECT_EQ(TextOf(editor->boldWords), (std::vector<std::string>{"int", "return"}));
    EXPECT_EQ(editor->boldWordLengths[1], 6);
    Write("code.c", "int x;\n");
    editor->Load(TString(Path("code.c")), 0);
    EXPECT_EQ(editor->schemeIndex, 1);
    editor->SetScheme(7);  // no such scheme
    EXPECT_EQ(editor->schemeIndex, 1);

    TStringContainer common;
    common.Add("if");
    common.Add("while");
    editor->SetCommonBoldWords(&common);
    EXPECT_EQ(editor->commonBoldWordLengths.GetCount(), 2);
    EXPECT_EQ(editor->commonBoldWordLengths[1], 5);
    editor->SetCommonBoldWords(nullptr);
    EXPECT_EQ(editor->commonBoldWordLengths.GetCount(), 0);
}

TEST_F(FilesTest, AFileThatCannotBeReadKeepsNoFileName) {
    const struct {
        const char* file;
        std::function<void(TTextEditor&)> prepare;
        std::string text, caption;
        UINT icon;
    } kFailures[] = {
        {"missing.txt", [](TTextEditor&) {},
         "Error loading file: " + Path("missing.txt") + "\nPossibly a memory allocation problem",
         "Load file", static_cast<UINT>(MB_ICONERROR)},
        {"long.txt", [](TTextEditor& e) { e.lines.SetMaxLineLength(10); }, "Unicode characters were truncated",
         "Load file", static_cast<UINT>(MB_ICONINFORMATION)},
    };
    Write("long.txt", "short\n" + std::string(20, 'x') + "\n");
    ShowText(editor, {"old text"});
    for (const auto& row : kFailures) {
        editor->fileName = "before.txt";
        row.prepare(*editor);
        boxes.clear();
        auto responder = Responder();
        editor->Load(TString(Path(row.file)), 0);
        ASSERT_EQ(boxes.size(), 1u) << row.file;
        EXPECT_EQ(boxes[0].text, row.text);
        EXPECT_EQ(boxes[0].caption, row.caption);
        EXPECT_EQ(boxes[0].icon, row.icon);
        EXPECT_TRUE(editor->fileName.IsEmpty()) << row.file;
        EXPECT_FALSE(editor->GetModified());
        if (row.file == std::string("missing.txt")) {
            EXPECT_EQ(editor->lines.GetCount(), 0);  // the old text went
        }
    }
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"short", std::string(10, 'x')}));
}

TEST_F(FilesTest, SavingWithoutANameAsksForOne) {
    ShowText(editor, {"kept  "});
    editor->SetModified(true);
    {
        auto responder = Responder();  // cancelled
        EXPECT_FALSE(editor->Save());
    }
    EXPECT_EQ(dialogs, std::vector<std::string>{"Save file"});
    EXPECT_TRUE(editor->GetModified());
    EXPECT_TRUE(editor->fileName.IsEmpty());
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(editor->lines[0].str(), "kept  ");

    editor->schemes.Clear();
    editor->schemes.NewItem()->extensions = "Default";
    editor->schemes.NewItem()->extensions = "SRC";
    {
        auto responder = Responder(Path("chosen.src"));
        EXPECT_TRUE(editor->Save());
    }
    EXPECT_EQ(Read("chosen.src"), "kept\r\n");
    EXPECT_EQ(editor->fileName.str(), Path("chosen.src"));
    EXPECT_EQ(editor->schemeIndex, 1);
    EXPECT_FALSE(editor->GetModified());
    EXPECT_EQ(events, (std::vector<int>{2, 3}));
}

TEST_F(FilesTest, SaveAndSaveAsWriteTheTextTheirWay) {
    const std::string letters = "\xE1rv\xEDzt\xDBr\xF5  ";
    const struct {
        const char* file;
        bool saveAs;
        bool dosFormat;
        std::string written;
        std::vector<int> events;
    } kSaves[] = {
        {"plain.txt", false, true, "\xE1rv\xEDzt\xDBr\xF5\r\nx\r\n", {2, 3}},
        {"unix.txt", false, false, "\xE1rv\xEDzt\xDBr\xF5\nx\n", {2, 3}},
        {"page.htm", false, true, "&aacute;rv&iacute;zt&Ucirc;r&otilde;\r\nx\r\n", {1, 3}},
        {"page.HTML", false, true, "&aacute;rv&iacute;zt&Ucirc;r&otilde;\r\nx\r\n", {1, 3}},
        {"as.txt", true, true, letters + "\r\nx\r\n", {2}},
        {"as.html", true, false, letters + "\nx\n", {1}},
    };
    for (const auto& row : kSaves) {
        ShowText(editor, {letters, "x"});
        editor->SetModified(true);
        editor->SetDosFormat(row.dosFormat);
        events.clear();
        if (row.saveAs) {
            EXPECT_TRUE(editor->SaveAs(TString(Path(row.file))));
        } else {
            editor->fileName = Path(row.file);
            EXPECT_TRUE(editor->Save());
        }
        EXPECT_EQ(Read(row.file), row.written) << row.file;
        EXPECT_EQ(events, row.events) << row.file;
        EXPECT_EQ(editor->lines[0].str(), row.saveAs ? letters : letters.substr(0, 9)) << row.file;
        EXPECT_EQ(editor->fileName.str(), Path(row.file));
        EXPECT_FALSE(editor->GetModified()) << row.file;
    }
}

// SaveAs sets the width to the longest line saved, with or without a
// progress handler (which may change the text while it is written).
TEST_F(FilesTest, SaveAsMeasuresTheText) {
    for (bool handler : {false, true}) {
        ShowText(editor, {"short", std::string(40, 'w'), "mid line"});
        editor->SetHMax(500);
        if (handler)
            editor->OnProgressChange = [](TTextEditor* self, int, int done) {
                if (done == 2) self->lines[0] = TString(std::string(60, 'g'));  // written already
            };
        EXPECT_TRUE(editor->SaveAs(TString(Path("measured.txt"))));
        EXPECT_EQ(editor->GetHMax(), handler ? 60 : 40);
        editor->OnProgressChange = nullptr;
    }
}

TEST_F(FilesTest, AFailedWriteIsReportedAndNothingIsTaken) {
    ShowText(editor, {"text"});
    const std::string folderName = folder.string();  // a folder cannot be written as a file
    for (bool saveAs : {false, true}) {
        editor->fileName = saveAs ? Path("old.txt") : folderName;
        editor->SetModified(true);
        boxes.clear();
        auto responder = Responder();
        EXPECT_FALSE(saveAs ? editor->SaveAs(TString(folderName)) : editor->Save());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Error with saving (Read Only ?)");
        EXPECT_EQ(boxes[0].caption, "Save file");
        EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_TRUE(editor->GetModified()) << saveAs;
        EXPECT_EQ(editor->fileName.str(), saveAs ? Path("old.txt") : folderName);
    }
}

// Losing the focus saves a modified text under its name when AutoSave is
// on. Without a name (a new text, or a file cut at the line limit) nothing
// is written and no dialog asks for one.
TEST_F(FilesTest, LosingTheFocusAutoSavesOnlyATextThatHasAName) {
    Write("ten.txt", NumberedLines(10));
    auto responder = Responder();
    const auto focusInAndOut = [this] {
        editor->SetFocus();
        driver.PumpUntilIdle();
        form->SetFocus();
        driver.PumpUntilIdle();
    };
    editor->SetAutoSave(true);

    editor->Load(TString(Path("ten.txt")), 3);
    ASSERT_EQ(boxes.size(), 1u);  // the line limit
    editor->lines[0] = "changed";
    editor->SetModified(true);
    focusInAndOut();
    EXPECT_EQ(Read("ten.txt"), NumberedLines(10)) << "the cut text was saved over the file";
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(editor->GetModified());

    editor->Load(TString(Path("ten.txt")), 0);
    editor->lines[0] = "changed";
    editor->SetAutoSave(false);
    editor->SetModified(true);
    focusInAndOut();
    EXPECT_EQ(Read("ten.txt"), NumberedLines(10)) << "saved without AutoSave";
    editor->SetAutoSave(true);
    focusInAndOut();
    std::string saved = "changed\r\n";
    for (int i = 1; i < 10; ++i) saved += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(Read("ten.txt"), saved);
    EXPECT_FALSE(editor->GetModified());
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(FilesTest, TheSaveFilterListsTheTextFilesTheExtrasAndAnyFile) {
    TSaveDialog dialog(editor);
    editor->filterIndex = 2;
    editor->FillSaveExtensions(&dialog);
    EXPECT_EQ(dialog.GetFilter(), "Text files (*.txt)|*.txt|Any file (*.*)|*.*");
    EXPECT_EQ(ParseFileFilter(dialog.GetFilter()).size(), 2u);
    EXPECT_EQ(dialog.GetDefaultExt(), "txt");
    EXPECT_EQ(dialog.GetFilterIndex(), 2);

    // The table writes a bar inside a text doubled; a text of one bar alone
    // cannot be written, so the one-bar defaults stand in for it.
    TLangTable english;
    english.Init({"0|1", "100255|txt", "100256|Text files (*.txt)||*.txt", "100257||", "100258||",
                  "100259|Any file (*.*)||*.*"});
    TLangTable* previous = GetTextEditorLangTable();
    SetTextEditorLangTable(&english);
    editor->extraFilters.Add("Source files (*.src)|*.src");
    editor->FillSaveExtensions(&dialog);
    EXPECT_EQ(dialog.GetFilter(), "Text files (*.txt)|*.txt|Source files (*.src)|*.src|Any file (*.*)|*.*");
    EXPECT_EQ(dialog.GetDefaultExt(), "txt");

    // Without a table the code's defaults give the same well-formed parts,
    // for the save dialogs and for the read-block dialog alike.
    SetTextEditorLangTable(nullptr);
    editor->FillSaveExtensions(&dialog);
    const std::string readBlockFilter = editor->FileFilter(100269, 100270, 100271, 100272);
    SetTextEditorLangTable(previous);
    const std::string defaults = "Text files (*.TXT)|*.TXT|Source files (*.src)|*.src|Any file (*.*)|*.*";
    EXPECT_EQ(dialog.GetFilter(), defaults);
    EXPECT_EQ(readBlockFilter, defaults);
    EXPECT_EQ(ParseFileFilter(defaults).size(), 3u);
    EXPECT_EQ(dialog.GetDefaultExt(), "TXT");
}

TEST_F(FilesTest, OnlyTrailingBlanksAreTidiedAway) {
    ShowText(editor, {"blanks   ", "tab\t", "  both  \t  ", "   ", ""});
    editor->SetModified(false);
    editor->painted.clear();
    editor->DeleteTailSpaces();
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"blanks", "tab\t", "  both  \t", "", ""}));
    EXPECT_TRUE(editor->GetModified());
    EXPECT_FALSE(editor->painted.empty());  // the lines were repainted
}
