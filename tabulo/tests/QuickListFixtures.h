// Shared by the quick list's find and input tests: a filled grid on the
// test form, and the modal interactions the grid opens, seen and answered
// through the responder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "QuickList.h"
#include "QuickListFindReplaceInfo.h"
#include "Responder.h"
#include "TabuloFixtures.h"
#include "WinControl.h"

// The form of a modal interaction as the class it should be; null otherwise.
template <class Dialog>
Dialog* DialogOf(const win32::ModalInteraction& interaction) {
    return dynamic_cast<Dialog*>(TWinControl::FindControl(interaction.window));
}

// What a test keeps of one interaction.
struct SeenInteraction {
    win32::ModalKind kind;
    std::string caption;
    std::string text;
    UINT style;
    HWND owner;
    RECT window;  // on the screen
};

// Records every interaction and answers it with the next step (the last
// step answers all that follow).
class ScriptedResponder {
public:
    using Step = std::function<win32::ModalReply(const win32::ModalInteraction&)>;

    explicit ScriptedResponder(std::vector<Step> steps)
        : steps_(std::move(steps)), responder_([this](const win32::ModalInteraction& interaction) {
              RECT window{0, 0, 0, 0};
              if (interaction.window) GetWindowRect(interaction.window, &window);
              seen.push_back(SeenInteraction{interaction.kind, interaction.caption, interaction.text,
                                             interaction.style, interaction.owner, window});
              const size_t step = std::min(seen.size(), steps_.size()) - 1;
              return steps_[step](interaction);
          }) {}

    // Answers with a result at once.
    static Step Answer(int result) {
        return [result](const win32::ModalInteraction&) { return win32::ModalReply::Answer(result); };
    }
    // Lets a dialog of class Dialog run after act has set its controls or pressed its buttons.
    template <class Dialog>
    static Step Act(std::function<void(Dialog&)> act) {
        return [act](const win32::ModalInteraction& interaction) {
            if (Dialog* dialog = DialogOf<Dialog>(interaction)) act(*dialog);
            return win32::ModalReply::Run();
        };
    }

    std::vector<SeenInteraction> seen;

private:
    std::vector<Step> steps_;
    win32::ScopedResponder responder_;
};

// A grid whose in-cell editing a test may set, as the keyboard sets it.
class TInputQuickList : public TQuickList {
public:
    explicit TInputQuickList(TComponent* owner) : TQuickList(owner) {}
    void EditInCellAt(int caret) {
        inCellEditing_ = true;
        caretPosition_ = caret;
    }
    int RawCaret() const { return caretPosition_; }
};

// A 300 x 200 grid at (10, 10) on the test form: columns of width 50, lines
// of height 20, so that cell (line, col) of the first page lies at client
// (2 + 50 * col + col + x, 2 + 21 + 21 * line + y).
class QuickListFixture : public TabuloTest {
protected:
    template <class Grid = TQuickList>
    Grid* MakeGrid(const std::vector<std::vector<std::string>>& lines) {
        auto* made = new Grid(form);
        made->SetParent(form);
        made->SetBounds(10, 10, 300, 200);
        size_t columns = 0;
        for (const auto& line : lines) columns = std::max(columns, line.size());
        std::vector<std::string> captions;
        for (size_t col = 0; col < columns; ++col) captions.push_back(std::string(1, char('A' + col)));
        made->SetCaptions(captions, false);
        for (const auto& line : lines) made->AppendLine(line, false);
        made->FullRefresh();
        grid = made;
        return made;
    }
    // The cells of the grid, line by line.
    std::vector<std::vector<std::string>> GridCells() const {
        std::vector<std::vector<std::string>> cells(size_t(grid->GetLineCount()));
        for (int line = 0; line < grid->GetLineCount(); ++line)
            for (int col = 0; col < grid->GetColCount(); ++col) cells[size_t(line)].push_back(grid->GetCell(line, col));
        return cells;
    }
    std::pair<int, int> Current() const { return {grid->GetSelectedLine(), grid->GetSelectedCol()}; }
    // Anchor col, anchor line, corner col, corner line.
    std::vector<int> Corners() const {
        std::vector<int> corners(4);
        grid->GetSelectionCorners(corners[0], corners[1], corners[2], corners[3]);
        return corners;
    }
    // The current cell at (line, col), the grid focused for the keyboard.
    void Select(int line, int col) {
        grid->SetSelectedLine(line);
        grid->SetSelectedCol(col);
        grid->SetFocus();
        driver.PumpUntilIdle();
    }
    // The client point inside cell (line, col) of the first page, 10 pixels
    // in from its top-left.
    static POINT CellPoint(int line, int col) { return POINT{2 + 51 * col + 10, 2 + 21 + 21 * line + 10}; }
    HWND Window() const { return grid->GetHandle(); }
    // A key with modifiers held round it.
    void PressWith(const std::vector<UINT>& modifiers, UINT key) {
        for (UINT modifier : modifiers) driver.KeyDown(modifier);
        driver.Press(key);
        for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) driver.KeyUp(*modifier);
    }
    TQuickListFindReplaceInfo& Info() { return grid->GetFindReplaceInfo(); }

    TQuickList* grid = nullptr;
};
