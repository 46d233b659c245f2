// Shared by the tests of the forms: a form's components against a table of
// their names, classes and bounds, and which controls a splitter resizes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Form.h"
#include "FormSplitter.h"

// A rectangle's edges, comparable and printable.
inline std::tuple<int, int, int, int> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// One component of a form as a test expects it.
struct TComponentRow {
    const char* name;
    const char* className;
    TComponent* field;             // what the form's field holds
    int left, top, width, height;  // left -1: no control
};

// The form holds exactly these components in this order; each control has
// the form as its parent and the bounds of its row.
inline void ExpectComponents(TForm* form, const std::vector<TComponentRow>& rows) {
    ASSERT_EQ(form->GetComponentCount(), int(rows.size()));
    for (int i = 0; i < form->GetComponentCount(); ++i) {
        const TComponentRow& row = rows[size_t(i)];
        TComponent* component = form->GetComponent(i);
        EXPECT_EQ(component, row.field) << row.name;
        EXPECT_EQ(component->GetName(), row.name);
        EXPECT_STREQ(component->ClassName(), row.className) << row.name;
        if (row.left < 0) continue;
        auto* control = dynamic_cast<TControl*>(component);
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control->GetParent(), form) << row.name;
        const RECT expected{row.left, row.top, row.left + row.width, row.top + row.height};
        EXPECT_EQ(Edges(control->GetBoundsRect()), Edges(expected)) << row.name;
    }
}

// What a splitter does to a control when its line moves.
enum SplitterSide { Unmoved, Lower, Upper, Moving };

// Moves the splitter's line by 10 pixels (then lets settle run) and checks
// each control: a lower one grows, an upper one moves its near edge, a moving
// one moves whole, the others stay. The line goes back afterwards.
template <class Settle>
void ExpectSplitterSides(TFormSplitter* splitter, const std::vector<TControl*>& controls,
                         const std::vector<SplitterSide>& sides, Settle settle) {
    ASSERT_EQ(controls.size(), sides.size());
    std::vector<RECT> before;
    for (TControl* control : controls) before.push_back(control->GetBoundsRect());
    const bool vertical = splitter->GetHorizontal();
    const int start = splitter->GetPosition();
    splitter->SetPosition(start + 10);
    settle();
    for (size_t i = 0; i < controls.size(); ++i) {
        RECT expected = before[i];
        LONG& nearEdge = vertical ? expected.left : expected.top;
        LONG& farEdge = vertical ? expected.right : expected.bottom;
        if (sides[i] == Lower || sides[i] == Moving) farEdge += 10;
        if (sides[i] == Upper || sides[i] == Moving) nearEdge += 10;
        EXPECT_EQ(Edges(controls[i]->GetBoundsRect()), Edges(expected))
            << splitter->GetName() << " " << controls[i]->GetName();
    }
    splitter->SetPosition(start);
    settle();
}
