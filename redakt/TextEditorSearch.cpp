// TTextEditor: search, replace and search all, with their dialogs.
#include <algorithm>
#include <string>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Label.h"
#include "ListBox.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorSearchDlg.h"
#include "TextEditorTextFinder.h"
#include "TextEditorTexts.h"

namespace {

// The search and replace boxes keep this many entries, newest first.
constexpr int kHistoryLimit = 16;

// The text with its first "%s" replaced by value; a text of the language
// table is never used as a format.
std::string WithText(std::string text, const std::string& value) {
    const size_t place = text.find("%s");
    if (place != std::string::npos) text.replace(place, 2, value);
    return text;
}

void ShowBox(TTextEditor& editor, const std::string& text, const std::string& caption, UINT icon) {
    MessageBoxA(editor.HandleAllocated() ? editor.GetHandle() : nullptr, text.c_str(), caption.c_str(), MB_OK | icon);
}

std::vector<std::string> NamesOf(const TTextEditorResultLists& lists) {
    std::vector<std::string> names;
    for (int i = 0; i < lists.GetCount(); ++i) names.push_back(lists[i].name.str());
    return names;
}

std::vector<std::string> NamesOf(const TStringContainer& texts) {
    std::vector<std::string> names;
    for (int i = 0; i < texts.GetCount(); ++i) names.push_back(texts[i].str());
    return names;
}

// The dialog's modal result; its Help control, which SetSearchDlgData bound,
// forgets the editor afterwards, so that the shared form never calls an
// editor that is gone.
TModalResult ShowSearchDialog(TTextEditorSearchDlg* dialog) {
    const TModalResult result = dialog->ShowModal();
    dialog->btnHelp->OnClick = nullptr;
    return result;
}

// The chosen item of a destination list, or -1.
int ChosenIndex(const TComboBox* box, int count) {
    const int index = box->GetItemIndex();
    return index >= 0 && index < count ? index : -1;
}

}  // namespace

// ---- The dialogs ----

void TTextEditor::SetSearchDlgData(TTextEditorSearchInfo* info, TTextEditorSearchDlg* dialog) {
    if (info == nullptr || dialog == nullptr) return;
    dialog->cbCaseSensitivity->SetChecked(info->caseSensitive);
    dialog->cbWholeWords->SetChecked(info->wholeWords);
    (info->forward ? dialog->rbForward : dialog->rbBackward)->SetChecked(true);
    (info->entireText ? dialog->rbEntire : dialog->rbSelection)->SetChecked(true);
    (info->fromStart ? dialog->rbFirstPos : dialog->rbCurPos)->SetChecked(true);
    dialog->btnHelp->OnClick = [this](TObject* sender) { DlgHelpHandler(sender); };
    dialog->SetActiveControl(dialog->cmbText);
    dialog->vars = &runtimeVars;
    SetupDlgPos(dialog);
}

void TTextEditor::GetSearchDlgData(TTextEditorSearchInfo* info, TTextEditorSearchDlg* dialog) {
    if (info == nullptr || dialog == nullptr) return;
    info->text = TString(dialog->cmbText->GetText());
    info->caseSensitive = dialog->cbCaseSensitivity->GetChecked();
    info->wholeWords = dialog->cbWholeWords->GetChecked();
    info->regExp = dialog->cbRegExp->GetChecked();
    info->evalExpression = dialog->cbEval->GetChecked();
    info->forward = dialog->rbForward->GetChecked();
    info->entireText = dialog->rbEntire->GetChecked();
    info->fromStart = dialog->rbFirstPos->GetChecked();
    if (info->evalExpression) CreateExpression(info->text, info->expression);
}

// An eval text that did not compile has had its box; nothing is searched then.
void TTextEditor::Search() {
    TTextEditorSearchDlg* dialog = SharedSearchDlg();
    if (dialog == nullptr) return;
    CaretOff();
    int start = 0, end = 0;
    const TString word = TextAtCursor ? GetCurWord(start, end) : TString();
    dialog->cmbText->SetText((word.IsEmpty() ? searchInfo->text : word).str());
    SetSearchDlgData(searchInfo.get(), dialog);
    if (ShowSearchDialog(dialog) == mrOk) {
        GetSearchDlgData(searchInfo.get(), dialog);
        AddComboHistory(dialog->cmbText, kHistoryLimit);
        replacing = false;
        if (!searchInfo->evalExpression || searchInfo->expression.Valid()) SearchStep(false);
    }
    CaretOn();
}

void TTextEditor::Replace() {
    TTextEditorReplaceDlg* dialog = SharedReplaceDlg();
    TTextEditorReplacePromptDlg* prompt = SharedReplacePromptDlg();
    if (dialog == nullptr || prompt == nullptr) return;
    CaretOff();
    dialog->cmbText->SetText(searchInfo->text.str());
    dialog->cmbReplaceText->SetText(replaceText.str());
    dialog->cbPromptOnReplace->SetChecked(replacePrompt);
    SetSearchDlgData(searchInfo.get(), dialog);
    const TModalResult result = ShowSearchDialog(dialog);
    if (result == mrOk || result == mrYes) {
        GetSearchDlgData(searchInfo.get(), dialog);
        replaceText = TString(dialog->cmbReplaceText->GetText());
        replacePrompt = dialog->cbPromptOnReplace->GetChecked();
        AddComboHistory(dialog->cmbText, kHistoryLimit);
        AddComboHistory(dialog->cmbReplaceText, kHistoryLimit);
        prompt->Label1->SetCaption(TextEditorText(100275, "Replace the current occurence of \"") +
                                   searchInfo->text.str());
        replacing = !searchInfo->evalExpression || searchInfo->expression.Valid();
        replaceAll = false;
        if (result == mrOk) {
            replaceFirstLine = 0;
            replaceEndLine = lines.GetCount();
            if (replacing) SearchStep(false);
        } else {
            ReplaceEveryHit();
        }
    }
    CaretOn();
}

// Without a line block the range runs from the caret line to the end, also
// when a character selection (the last hit, typically) exists.
void TTextEditor::ReplaceEveryHit() {
    const POINT caret{CurCol, CurLine};
    const TTextEditorSelection keptSelection = selection;
    const int keptMark = selMark;
    const bool block = selection.selStartLine != selection.selEndLine;
    replaceFirstLine = block ? selection.selStartLine : CurLine;
    replaceEndLine = block ? selection.selEndLine : lines.GetCount();
    replaceStop = false;
    replaceAllRunning = true;
    while (replacing && !replaceStop) SearchStep(false);
    replaceAllRunning = false;
    selection = keptSelection;
    selMark = keptMark;
    CurCol = caret.x;
    CurLine = std::min(caret.y, std::max(lines.GetCount() - 1, 0));
    SetCaretPos(CurCol, CurLine);
    RefreshLines(-1);
    SelectionChanged();
}

int TTextEditor::ShowReplaceDlg() {
    TTextEditorReplacePromptDlg* prompt = SharedReplacePromptDlg();
    if (prompt == nullptr) return mrCancel;
    // The block's rectangle is in scrolled-area pixels: client pixels first.
    const RECT block = GetBlockRect();
    POINT topLeft = AbsPoint(POINT{block.left, block.top});
    POINT bottomRight = AbsPoint(POINT{block.right, block.bottom});
    if (HandleAllocated()) {
        topLeft = ClientToScreen(topLeft);
        bottomRight = ClientToScreen(bottomRight);
    }
    int left = topLeft.x;
    int top = bottomRight.y;
    if (Screen != nullptr) {
        if (left + prompt->GetWidth() > Screen->GetWidth()) left = bottomRight.x - prompt->GetWidth();
        if (top + prompt->GetHeight() > Screen->GetHeight()) top = topLeft.y - prompt->GetHeight();
    }
    prompt->SetLeft(left);
    prompt->SetTop(top);
    // Enter answers "&Yes" each time, whichever button the last answer focused.
    prompt->SetActiveControl(prompt->btnYes);
    return prompt->ShowModal();
}

void TTextEditor::NotFound() {
    ShowBox(*this, TextEditorText(100273, "Not found: ") + searchInfo->text.str(), TextEditorText(100274, "Search"),
            MB_ICONINFORMATION);
}

void TTextEditor::SearchNext() {
    WORD key = VK_F3;
    KeyDown(key, TShiftState());
}

void TTextEditor::SearchNextReversed() {
    WORD key = VK_F3;
    KeyDown(key, TShiftState() << ssShift);
}

// ---- One search step ----

void TTextEditor::SearchByInfo() { SearchStep(shiftState.Contains(ssShift)); }

// The dialogs search in the direction they show, whatever key came last.
void TTextEditor::SearchStep(bool reversed) {
    TTextEditorSearchInfo& info = *searchInfo;
    const bool forward = info.forward != reversed;
    TSearchSpan span;
    const TSearchSpanKind kind = GetSearchSpan(forward, span);
    if (kind == TSearchSpanKind::NoSelection) {
        ShowBox(*this, TextEditorText(100289, "No selected text"), TextEditorText(100274, "Search"), MB_ICONSTOP);
        return;
    }
    int line = -1, position = -1;
    bool found = false;
    if (kind == TSearchSpanKind::Lines) {
        if (info.evalExpression)
            found = FindEvalHit(span, forward, line);
        else if (!info.regExp)
            found = FindTextHit(span, forward, line, position);
    }
    if (!found) {
        NothingFound();
        return;
    }
    if (info.evalExpression)
        EvalHit(line);
    else
        TextHit(line, position, forward);
    info.fromStart = false;
    info.entireText = true;
}

// A backward search starts its first line at the smaller of the start column
// and the line's length less the text's (FindBackward clamps it), so a hit
// ending the line is found with the caret at the line's end; from the start
// of a scope (the entire text, a line block) it examines the whole first line.
TTextEditor::TSearchSpanKind TTextEditor::GetSearchSpan(bool forward, TSearchSpan& span) {
    const TTextEditorSearchInfo& info = *searchInfo;
    const TTextEditorSelection& s = selection;
    const bool block = s.selStartLine != s.selEndLine;
    const bool characters = !block && s.selStartCol != s.selEndCol;
    const int byLine = info.regExp || info.evalExpression ? 1 : 0;
    const int count = lines.GetCount();
    const bool fromScopeStart = info.entireText && info.fromStart;
    if (fromScopeStart) {
        span = {0, count - 1, forward ? 0 : kWholeLine};
    } else if (info.entireText) {
        span = forward ? TSearchSpan{CurLine + byLine, count - 1, CurCol} : TSearchSpan{0, CurLine - byLine, CurCol};
    } else if (block) {
        span = {s.selStartLine, s.selEndLine - 1, forward ? 0 : kWholeLine};
    } else if (characters) {
        span = {s.selLine, s.selLine, s.selStartCol};
    } else {
        return TSearchSpanKind::NoSelection;
    }
    // Backward from a selected hit: the part before it, else the line above.
    if (!forward && characters && !byLine && !fromScopeStart) {
        if (s.selStartCol > 0) {
            span.column = s.selStartCol - 1;
        } else {
            --span.last;
            span.column = kWholeLine;
        }
    }
    span.first = std::max(span.first, 0);
    span.last = std::min(span.last, count - 1);
    return span.first <= span.last ? TSearchSpanKind::Lines : TSearchSpanKind::NoLines;
}

bool TTextEditor::FindTextHit(const TSearchSpan& span, bool forward, int& line, int& position) {
    const TTextEditorSearchInfo& info = *searchInfo;
    const TTextEditorTextFinder finder(info.text, info.caseSensitive, info.wholeWords);
    if (finder.Length() == 0) return false;
    if (forward) {
        for (int i = span.first; i <= span.last; ++i) {
            position = finder.FindForward(lines[i], i == span.first ? span.column : 0);
            if (position >= 0) {
                line = i;
                return true;
            }
        }
    } else {
        for (int i = span.last; i >= span.first; --i) {
            position = finder.FindBackward(lines[i], i == span.last ? span.column : kWholeLine);
            if (position >= 0) {
                line = i;
                return true;
            }
        }
    }
    return false;
}

bool TTextEditor::FindEvalHit(const TSearchSpan& span, bool forward, int& line) {
    TExpression& expression = searchInfo->expression;
    const int step = forward ? 1 : -1;
    for (int i = forward ? span.first : span.last; i >= span.first && i <= span.last; i += step) {
        NewLine(i);
        if (expression.EvalBool()) {
            line = i;
            return true;
        }
    }
    return false;
}

bool TTextEditor::ShowsHits() const { return !(replacing && replaceAllRunning && (!replacePrompt || replaceAll)); }

int TTextEditor::ReplaceAnswer() { return replacePrompt && !replaceAll ? ShowReplaceDlg() : 0; }

void TTextEditor::TextHit(int line, int position, bool forward) {
    if (replacing && (line < replaceFirstLine || line >= replaceEndLine)) {
        replaceStop = true;
        return;
    }
    const int end = position + searchInfo->text.Length();
    TTextEditorSelection& s = selection;
    s.selLine = s.selStartLine = s.selEndLine = line;
    s.selStartCol = position;
    s.selEndCol = end;
    selMark = -1;
    CurCol = end;
    CurLine = line;
    if (ShowsHits()) {
        SetCaretPos(CurCol, CurLine);
        RefreshLines(-1);
        SelectionChanged();
    }
    if (!replacing) {
        replaceStop = true;
        return;
    }
    const int answer = ReplaceAnswer();
    if (answer == 0 || answer == mrYes || answer == mrOk) {
        ReplaceHit(line, position, forward);
        if (answer == mrOk) replaceAll = true;
    } else if (answer != mrNo) {
        replacing = false;
    }
}

void TTextEditor::ReplaceHit(int line, int position, bool forward) {
    TString& text = lines[line];
    text.Delete(position, position + searchInfo->text.Length() - 1);
    text.Insert(position, replaceText);
    const int after = position + replaceText.Length();
    TTextEditorSelection& s = selection;
    // Backward, the next step starts before the replacement, which may hold
    // the searched text itself.
    s.selStartCol = forward ? after : position;
    s.selEndCol = after;
    CurCol = s.selStartCol;
    SetHMax(text);
    RepaintLine(line);
    if (ShowsHits()) PlaceSystemCaret(CurCol, CurLine);
    SetModified(true);
}

void TTextEditor::EvalHit(int line) {
    if (replacing && (line < replaceFirstLine || line >= replaceEndLine)) {
        replaceStop = true;
        return;
    }
    TTextEditorSelection& s = selection;
    s.selStartLine = s.selLine = line;
    s.selEndLine = line + 1;
    s.selStartCol = 0;
    s.selEndCol = searchInfo->text.Length();
    selMark = -1;
    CurLine = line;
    if (ShowsHits()) {
        SetCaretPos(CurCol, CurLine);
        RefreshLines(-1);
        SelectionChanged();
    }
    if (!replacing) {
        replaceStop = true;
        return;
    }
    const int answer = ReplaceAnswer();
    if (answer == 0 || answer == mrYes || answer == mrOk) {
        lines[line] = replaceText;
        SetHMax(lines[line]);
        RepaintLine(line);
        SetModified(true);
        if (answer == mrOk) replaceAll = true;
    } else if (answer != mrNo) {
        replacing = false;
    }
}

void TTextEditor::NothingFound() {
    if (!replacing) NotFound();
    replacing = false;
}

// ---- Search all ----

void TTextEditor::FillSearchAllDestinations(TTextEditorSearchAllDlg* dialog, const std::vector<std::string>& names) {
    TComboBox* box = dialog->cmbResultsDest;
    const int index = box->GetItemIndex();
    TStrings* items = box->GetItems();
    items->BeginUpdate();
    items->Clear();
    for (const std::string& name : names) items->Add(name);
    items->EndUpdate();
    box->SetItemIndex(index >= 0 && index < items->GetCount() ? index : 0);
}

TListBox* TTextEditor::SearchAll(TTextEditorSearchAllCallback callback) {
    TTextEditorSearchAllDlg* dialog = SharedSearchAllDlg();
    if (resultLists.GetCount() == 0 || dialog == nullptr) return nullptr;
    SetSearchDlgData(searchAllInfo.get(), dialog);
    FillSearchAllDestinations(dialog, NamesOf(resultLists));
    if (ShowSearchDialog(dialog) != mrOk) return nullptr;
    const int chosen = ChosenIndex(dialog->cmbResultsDest, resultLists.GetCount());
    if (callback)
        callback(chosen);
    else if (OnSearchAllPrepare)
        OnSearchAllPrepare(chosen);
    // The callback may have changed the destinations.
    if (chosen < 0 || chosen >= resultLists.GetCount()) return nullptr;
    TListBox* listBox = resultLists[chosen].listBox;
    DoSearchAll(dialog, listBox);
    return listBox;
}

TListBox* TTextEditor::SearchAllM(TStringContainer& names, TTextEditorListBoxFactory factory) {
    TTextEditorSearchAllDlg* dialog = SharedSearchAllDlg();
    if (names.GetCount() == 0 || !factory || dialog == nullptr) return nullptr;
    SetSearchDlgData(searchAllInfo.get(), dialog);
    FillSearchAllDestinations(dialog, NamesOf(names));
    if (ShowSearchDialog(dialog) != mrOk) return nullptr;
    const int chosen = ChosenIndex(dialog->cmbResultsDest, names.GetCount());
    if (chosen < 0) return nullptr;
    TListBox* listBox = factory(names[chosen]);
    if (listBox == nullptr) return nullptr;
    DoSearchAll(dialog, listBox);
    BindSearchAllClick(listBox);
    return listBox;
}

TTextEditorSearchResult* TTextEditor::SearchResultOf(const TListBox* listBox) {
    for (int r = 0; r < searchResults.GetCount(); ++r)
        if (searchResults[r].listBox == listBox) return &searchResults[r];
    return nullptr;
}

// Every occurrence on a line is tried, so a whole word after a part of a
// word still counts. The rows go into the list box in one update.
void TTextEditor::DoSearchAll(TTextEditorSearchAllDlg* dialog, TListBox* listBox) {
    if (dialog == nullptr || listBox == nullptr) return;
    TTextEditorSearchInfo& info = *searchAllInfo;
    GetSearchDlgData(&info, dialog);
    TStrings* history = dialog->cmbText->GetItems();
    history->Insert(0, info.text.str());
    CheckComboItemsCount(history);

    TTextEditorSearchResult* result = SearchResultOf(listBox);
    if (result == nullptr) {
        result = new TTextEditorSearchResult;
        result->text = info.text;
        result->listBox = listBox;
        searchResults.Add(result);
        listBox->FreeNotification(this);
    }
    result->hitLines.Clear();

    const TTextEditorSelection& s = selection;
    const bool block = s.selStartLine != s.selEndLine;
    int start = info.fromStart ? 0 : CurLine;
    int end = lines.GetCount();
    if (!info.entireText) {
        start = s.selStartLine;
        end = s.selEndLine;
    }
    end -= 1;
    int step = 1;
    if (!info.forward) {
        step = -1;
        if (info.fromStart) {
            std::swap(start, end);
        } else {
            start = CurLine;
            end = 0;
            if (block) {
                start = std::min(start, s.selEndLine - 1);
                end = s.selStartLine;
                if (start < s.selStartLine) start = end - 1;
            }
        }
    }

    const TTextEditorTextFinder finder(info.text, info.caseSensitive, info.wholeWords);
    const bool eval = info.evalExpression;
    std::vector<int> hits;
    const int count = lines.GetCount();
    const int from = step > 0 ? std::max(start, 0) : std::min(start, count - 1);
    const int to = step > 0 ? std::min(end, count - 1) : std::max(end, 0);
    for (int i = from; step > 0 ? i <= to : i >= to; i += step) {
        bool hit;
        if (eval) {
            NewLine(i);
            hit = info.expression.EvalBool();
        } else {
            hit = finder.FindForward(lines[i], 0) >= 0;
        }
        if (hit) hits.push_back(i);
    }

    TStrings* rows = listBox->GetItems();
    rows->BeginUpdate();
    rows->Clear();
    rows->Add(WithText(TextEditorText(100443, "Search all results for '%s:'"), info.text.str()));
    std::string row;
    for (int hit : hits) {
        result->hitLines.Add(hit);
        row = std::to_string(hit);
        row += ": ";
        row += lines[hit].str();
        rows->Add(row);
    }
    rows->Add(GetSearchAllLastLine(static_cast<int>(hits.size())).str());
    rows->EndUpdate();
}

void TTextEditor::AddSearchAllListBox(TString name, TListBox* listBox) {
    if (listBox == nullptr) return;
    auto* destination = new TTextEditorResultList;
    destination->name = name;
    destination->listBox = listBox;
    resultLists.Add(destination);
    BindSearchAllClick(listBox);
}

void TTextEditor::BindSearchAllClick(TListBox* listBox) {
    listBox->OnClick = [this](TObject* sender) { OnSearchAllOnClick(sender); };
    listBox->FreeNotification(this);
    if (std::find(searchAllClickLists.begin(), searchAllClickLists.end(), listBox) == searchAllClickLists.end())
        searchAllClickLists.push_back(listBox);
}

void TTextEditor::DeleteSearchAllListBox(TListBox* listBox) {
    if (listBox != nullptr) ForgetSearchAllListBox(listBox);
}

// By address alone: a list box being destroyed is no longer a TListBox here.
void TTextEditor::ForgetSearchAllListBox(const TComponent* listBox) {
    for (int r = searchResults.GetCount() - 1; r >= 0; --r)
        if (static_cast<const TComponent*>(searchResults[r].listBox) == listBox) searchResults.Delete(r);
    for (int d = resultLists.GetCount() - 1; d >= 0; --d)
        if (static_cast<const TComponent*>(resultLists[d].listBox) == listBox) resultLists.Delete(d);
}

void TTextEditor::Notification(TComponent* component, TOperation operation) {
    TScrollControl::Notification(component, operation);
    if (operation != opRemove || component == nullptr) return;
    ForgetSearchAllListBox(component);
    ForgetMethodList(component);
    for (size_t i = searchAllClickLists.size(); i-- > 0;)
        if (static_cast<const TComponent*>(searchAllClickLists[i]) == component)
            searchAllClickLists.erase(searchAllClickLists.begin() + static_cast<long>(i));
}

// The list boxes outlive the editor: their clicks must no longer reach it.
void TTextEditor::UnbindSearchAllListBoxes() {
    for (TListBox* listBox : searchAllClickLists) listBox->OnClick = nullptr;
    searchAllClickLists.clear();
}

// The count goes where the language text has its "%d"; any other '%' stays
// as it stands, so a translated text cannot misdirect a formatting call.
TString TTextEditor::GetSearchAllLastLine(int count) {
    std::string text = TextEditorText(100444, "Matching lines: %d");
    const size_t place = text.find("%d");
    if (place != std::string::npos) text.replace(place, 2, std::to_string(count));
    return TString(text);
}
