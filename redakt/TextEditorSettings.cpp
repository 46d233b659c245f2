// TTextEditor: its settings and macro files, and the word-length tables the
// painter reads beside the bold-word lists.
#include "TextEditor.h"

namespace {

void FillLengths(TIntContainer& lengths, const TStringContainer* words) {
    lengths.Clear();
    if (words == nullptr) return;
    for (int i = 0; i < words->GetCount(); ++i) lengths.Add((*words)[i].Length());
}

}  // namespace

void TTextEditor::SetBWLengths() {
    FillLengths(boldWordLengths, &boldWords);
    FillLengths(commonBoldWordLengths, commonBoldWords);
}
