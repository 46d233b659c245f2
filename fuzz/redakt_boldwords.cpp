// Fuzz target: the bold-word file of the settings dialog: its words are
// non-empty and hold no blank; written one a line they read back the same,
// and the dialog's list box lists and writes exactly them.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Strings.h"
#include "ListBox.h"
#include "TextEditorSetupDlg.h"
#include "TextEditorTexts.h"

namespace {

std::vector<std::string> TextOf(const TStringContainer& words) {
    std::vector<std::string> texts;
    for (int i = 0; i < words.GetCount(); ++i) texts.push_back(words[i].str());
    return texts;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One dialog for the whole run: making a form per input would only slow it.
TTextEditorSetupDlg& Dialog() {
    static TTextEditorSetupDlg* dialog = [] {
        UseTextEditorLangTable();
        return new TTextEditorSetupDlg(nullptr);
    }();
    return *dialog;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TString file(fuzz::WriteInputFile(data, size, "words.txt"));
    TStringContainer words;
    fuzz::Require(ReadBoldWordFile(file, words), "a file that exists is read");
    for (int i = 0; i < words.GetCount(); ++i) {
        fuzz::Require(!words[i].IsEmpty(), "no word is empty");
        fuzz::Require(words[i].Pos(' ') < 0 && words[i].Pos('\n') < 0, "no word holds a blank or a line end");
    }
    const TString written(fuzz::EnterEmptyFolder() + "/written.txt");
    fuzz::Require(WriteBoldWordFile(written, words), "the words are written");
    TStringContainer again;
    fuzz::Require(ReadBoldWordFile(written, again) && TextOf(again) == TextOf(words), "written words read back");

    TTextEditorSetupDlg& dialog = Dialog();
    fuzz::Require(dialog.LoadBoldWords(file), "the dialog reads the file");
    const TStrings* listed = dialog.lbBoldWords->GetItems();
    fuzz::Require(listed->GetCount() == words.GetCount(), "the list holds every word");
    for (int i = 0; i < listed->GetCount(); ++i)
        fuzz::Require(listed->GetStrings(i) == words[i].str(), "the list holds the words in order");
    const TString saved(fuzz::EnterEmptyFolder() + "/saved.txt");
    fuzz::Require(dialog.SaveBoldWords(saved), "the dialog writes the list");
    fuzz::Require(FileBytes(saved.str()) == FileBytes(written.str()), "the dialog writes what the writer writes");
    return 0;
}
