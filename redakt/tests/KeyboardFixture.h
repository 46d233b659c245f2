// Shared by the Redakt keyboard and macro tests: an editor whose caret and
// protected settings a test may set, one that records its virtual
// operations instead of running them, and a fixture that puts either focused
// on a form with a text, presses keys through the test driver, counts what
// was typed and cancels every dialog (counting them).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorKeyTable.h"

class TKeyEditor : public TTextEditor {
public:
    using TTextEditor::TTextEditor;
    using TTextEditor::CurCol;
    using TTextEditor::CurLine;
    using TTextEditor::EditMode;
    using TTextEditor::HMax;
    using TTextEditor::VMax;
    using TTextEditor::VPos;

    // The caret to (col, line), scrolled into view.
    void PlaceCaret(int col, int line) {
        CurCol = col;
        CurLine = line;
        SetCaretPos(col, line);
    }
};

// The virtual operations that the key table reaches, recorded by name (with
// their argument) and not run.
class TRecordingKeyEditor : public TKeyEditor {
public:
    using TKeyEditor::TKeyEditor;

    void ReturnPress(TShiftState) override { calls.push_back("ReturnPress"); }
    void TabPress(TShiftState) override { calls.push_back("TabPress"); }
    void BackspacePress(TShiftState) override { calls.push_back("BackspacePress"); }
    void DeletePress(TShiftState) override { calls.push_back("DeletePress"); }
    void InsertPress(TShiftState) override { calls.push_back("InsertPress"); }
    void PgUpPress(TShiftState) override { calls.push_back("PgUpPress"); }
    void PgDownPress(TShiftState) override { calls.push_back("PgDownPress"); }
    void HomePress(TShiftState) override { calls.push_back("HomePress"); }
    void EndPress(TShiftState) override { calls.push_back("EndPress"); }
    void F1Press(TShiftState) override { calls.push_back("F1Press"); }
    void Copy() override { calls.push_back("Copy"); }
    void Paste() override { calls.push_back("Paste"); }
    void Cut() override { calls.push_back("Cut"); }
    void Search() override { calls.push_back("Search"); }
    TListBox* SearchAll(TTextEditorSearchAllCallback) override {
        calls.push_back("SearchAll");
        return nullptr;
    }
    void Replace() override { calls.push_back("Replace"); }
    void MakeMarker(int number) override { calls.push_back("MakeMarker " + std::to_string(number)); }
    void MarkerPress(int number) override { calls.push_back("MarkerPress " + std::to_string(number)); }
    void PrevMarker() override { calls.push_back("PrevMarker"); }
    void NextMarker() override { calls.push_back("NextMarker"); }
    void StartMacro() override { calls.push_back("StartMacro"); }
    void RecordParamMacro() override { calls.push_back("RecordParamMacro"); }
    void PlayParamMacro() override { calls.push_back("PlayParamMacro"); }

    std::vector<std::string> calls;
};

class KeyboardTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // An editor stays the form's only control: Alt+F4 must not close it.
        form->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    }

    // A focused editor of class T showing text, its typed characters counted.
    template <class T = TKeyEditor>
    T* Editor(const std::vector<std::string>& text) {
        T* editor = Place<T>(10, 10, 300, 200);
        ShowText(editor, text);
        editor->SetFocus();
        driver.PumpUntilIdle();
        editor->OnKeyPress = [this](TObject*, char& key) { typed += key; };
        return editor;
    }

    // key pressed and released with the modifiers held around it; the
    // key-down brings characters instead of the layout's when given.
    void Press(std::initializer_list<UINT> modifiers, UINT key, const char* characters = nullptr) {
        for (UINT modifier : modifiers) driver.KeyDown(modifier);
        if (characters != nullptr)
            driver.KeyDown(key, characters);
        else
            driver.KeyDown(key);
        driver.KeyUp(key);
        for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
            driver.KeyUp(*modifier);
    }
    void Ctrl(UINT key, const char* characters = nullptr) { Press({VK_LCONTROL}, key, characters); }
    void Alt(UINT key) { Press({VK_LMENU}, key); }

    // The row of the key table with this name; fails the test without one.
    static const TTextEditorKeyRow* Row(const std::string& name) {
        int count = 0;
        const TTextEditorKeyRow* rows = TTextEditor::KeyTable(count);
        for (int i = 0; i < count; ++i)
            if (name == rows[i].name) return &rows[i];
        ADD_FAILURE() << "no key row named " << name;
        return nullptr;
    }

    // Cancels every dialog, menu and box, and counts them.
    win32::ScopedResponder cancelAll{[this](const win32::ModalInteraction& interaction) {
        dialogs.push_back(interaction.caption);
        switch (interaction.kind) {
            case win32::ModalKind::MessageBox: return win32::ModalReply::Answer(interaction.defaultAnswer);
            case win32::ModalKind::PopupMenu:
            case win32::ModalKind::SystemMenu: return win32::ModalReply::Answer(0);
            default: return win32::ModalReply::Answer(IDCANCEL);
        }
    }};
    std::vector<std::string> dialogs;
    // The characters typed into the text (those that reached the base's key-press handler).
    std::string typed;
};

// Lines "line 0 of the text" to "line <count - 1> of the text".
inline std::vector<std::string> NumberedLines(int count) {
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) text.push_back("line " + std::to_string(i) + " of the text");
    return text;
}
