// TTextEditor: the command line: the hidden command box over the caret, the
// split and lookup of a typed line, running it and repeating the last one.
#include "TextEditor.h"
#include "TextEditorCommandBox.h"
#include "TextEditorFunctions.h"
#include "TextEditorTexts.h"

void SplitCommandLine(const TString& line, TString& word, TString& argument) {
    const std::string& text = line.str();
    const size_t blank = text.find(' ');
    if (blank == std::string::npos) {
        word = line;
        argument = TString();
        return;
    }
    word = TString(text.substr(0, blank));
    argument = TString(text.substr(blank + 1));
}

const TTextEditorCommand* FindCommand(const TTextEditorCommandList& commands, const TString& word) {
    if (word.IsEmpty()) return nullptr;
    for (int i = 0; i < commands.GetCount(); ++i)
        if (commands[i].name.str().compare(0, word.str().size(), word.str()) == 0) return &commands[i];
    return nullptr;
}

namespace {

// The box is only shown while a command is typed; the focus goes where the
// window system can put it.
void FocusIfShown(TWinControl* control) {
    if (control->HandleAllocated() && control->CanFocus()) control->SetFocus();
}

}  // namespace

void TTextEditor::DoCommand() {
    if (commandCombo == nullptr) return;
    const int width = 2 * GetWidth() / 3;
    int left = GetCharWidth() * (CurCol - HPos) + GetColGap();
    const int top = GetLineHeight() * (CurLine - VPos);
    if (GetClientWidth() < left + width) left = GetClientWidth() - width;
    commandCombo->SetBounds(left, top, width, commandCombo->GetHeight());
    commandCombo->SetVisible(true);
    FocusIfShown(commandCombo);
}

// The line is copied first: the command may change the string it came from
// (RepeatCommand's lastCommand, a box's text). No command starts while a
// line command runs.
void TTextEditor::ExecCommand(TString& line) {
    if (IsRunningLineCommand()) return;
    const TString whole = line;
    TString word;
    TString argument;
    SplitCommandLine(whole, word, argument);
    const TTextEditorCommand* command = FindCommand(commands, word);
    if (command == nullptr) {
        const std::string text = TextEditorText(100460, "Invalid command");
        const std::string caption = TextEditorText(100461, "Exec command");
        MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    const TTextEditorCommandHandler handler = command->handler;
    if (commandCombo != nullptr) commandCombo->SetVisible(false);
    FocusIfShown(this);
    (this->*handler)(argument);
    AddComboHistory(commandCombo, 16);
    lastCommand = whole;
}

// Before any command has run there is nothing to repeat. The box takes the
// line first: the history records the box's text, which may still hold a
// line that failed.
void TTextEditor::RepeatCommand() {
    if (lastCommand.IsEmpty()) return;
    TString line = lastCommand;
    if (commandCombo != nullptr) commandCombo->SetText(line.str());
    ExecCommand(line);
}

// While the history is dropped down, Enter and Esc close it as in any combo
// box (Enter takes the chosen line into the box); the next one acts.
void TTextEditor::OnCommandComboKeyDown(TObject*, WORD& key, TShiftState) {
    if (commandCombo == nullptr || commandCombo->GetDroppedDown()) return;
    if (key == VK_ESCAPE) {
        key = 0;
        commandCombo->SetVisible(false);
        FocusIfShown(this);
    } else if (key == VK_RETURN) {
        key = 0;
        TString line(commandCombo->GetText());
        ExecCommand(line);
    }
}

void TTextEditor::OnCommandComboKeyPress(TObject*, char&) {}
