// Shared by the Redakt tests of the window messages, the command line and
// the menus: an editor that records the calls of its virtual operations and
// of a command member of its own, a fixture that puts it focused on a form,
// with a default and a cancel button when asked, and a recorder of the
// message boxes shown.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditor.h"

class TRecordingEditor : public TTextEditor {
public:
    using TTextEditor::TTextEditor;
    using TTextEditor::PlayMacro;
    using TTextEditor::ShiftWheel;
    using TTextEditor::FontSize;

    struct TKey {
        WORD key;
        bool shift, ctrl, alt;
        bool operator==(const TKey& other) const {
            return key == other.key && shift == other.shift && ctrl == other.ctrl && alt == other.alt;
        }
    };
    // One run of a recorded command: the table entry it was bound to, its
    // argument and what it found when it started.
    struct TCommandRun {
        std::string argument;
        bool boxVisible;
        bool focused;
        int entry = -1;
    };

    void KeyDown(WORD& key, TShiftState shift) override {
        keys.push_back({key, shift.Contains(ssShift), shift.Contains(ssCtrl), shift.Contains(ssAlt)});
        TTextEditor::KeyDown(key, shift);
    }
    void KeyPress(char& key) override {
        characters.push_back(key);
        TTextEditor::KeyPress(key);
    }
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_SYSCHAR) systemCharacters.push_back(static_cast<char>(message.WParam));
        TTextEditor::WndProc(message);
    }
    // Reaches here only through the inherited window procedure.
    void Dispatch(TMessage& message) override {
        if (message.Msg == WM_SYSCHAR) dispatchedSystemCharacters.push_back(static_cast<char>(message.WParam));
        TTextEditor::Dispatch(message);
    }
    void PlayMacro(int slot) override { calls.push_back("PlayMacro " + std::to_string(slot)); }
    void Cut() override { calls.push_back("Cut"); }
    void Copy() override { calls.push_back("Copy"); }
    void Paste() override { calls.push_back("Paste"); }
    void PrevMarker() override { calls.push_back("PrevMarker"); }
    void NextMarker() override { calls.push_back("NextMarker"); }
    void MakeMarker(int number) override {
        calls.push_back("MakeMarker " + std::to_string(number) + " on line " + std::to_string(CurLine));
    }

    // A command member: gives the table commands whose runs are seen, each
    // knowing the entry it stands for.
    template <int Entry>
    void Command(TString& argument) {
        commandRuns.push_back(
            {argument.str(), commandCombo != nullptr && commandCombo->GetVisible(), Focused(), Entry});
    }
    // Every name of the editor's table, entry i bound to Command<i>; the
    // members the table had are kept in replacedHandlers.
    void RecordEveryCommand() {
        std::vector<std::string> names;
        replacedHandlers.clear();
        for (int i = 0; i < commands.GetCount(); ++i) {
            names.push_back(commands[i].name.str());
            replacedHandlers.push_back(commands[i].handler);
        }
        commands.Clear();
        const auto recorders = Recorders(std::make_integer_sequence<int, kRecordedCommands>());
        for (size_t i = 0; i < names.size() && i < recorders.size(); ++i) AddCommand(TString(names[i]), recorders[i]);
    }

    std::vector<TKey> keys;
    std::vector<char> characters;
    std::vector<char> systemCharacters;
    std::vector<char> dispatchedSystemCharacters;
    std::vector<std::string> calls;
    std::vector<TCommandRun> commandRuns;
    std::vector<TTextEditorCommandHandler> replacedHandlers;

private:
    static constexpr int kRecordedCommands = 32;
    template <int... Entries>
    static std::array<TTextEditorCommandHandler, kRecordedCommands> Recorders(std::integer_sequence<int, Entries...>) {
        return {static_cast<TTextEditorCommandHandler>(&TRecordingEditor::Command<Entries>)...};
    }
};

class RecordingEditorTest : public EditorTest {
protected:
    // An OK (default) and a Cancel (cancel) button below the editor; their
    // clicks are counted.
    void AddDialogButtons() {
        for (bool isDefault : {true, false}) {
            auto* button = new TButton(form);
            button->SetParent(form);
            button->SetBounds(isDefault ? 10 : 100, 230, 80, 25);
            button->SetCaption(isDefault ? "OK" : "Cancel");
            if (isDefault)
                button->SetDefault(true);
            else
                button->SetCancel(true);
            button->OnClick = [this](TObject*) { ++buttonClicks; };
        }
        driver.PumpUntilIdle();
    }

    TRecordingEditor* PlaceFocused() {
        auto* editor = Place<TRecordingEditor>(10, 10, 300, 200);
        editor->SetFocus();
        driver.PumpUntilIdle();
        return editor;
    }

    int buttonClicks = 0;
};

// Answers every message box with OK and keeps what it showed.
class TMessageBoxRecorder {
public:
    struct TShown {
        std::string caption;
        std::string text;
        UINT style;
    };
    TMessageBoxRecorder()
        : responder_([this](const win32::ModalInteraction& interaction) {
              if (interaction.kind == win32::ModalKind::MessageBox)
                  boxes.push_back({interaction.caption, interaction.text, interaction.style});
              return win32::ModalReply::Answer(IDOK);
          }) {}
    std::vector<TShown> boxes;

private:
    win32::ScopedResponder responder_;
};
