// Fixture base of the script dialog tests: the controls a test made are found
// by id, and whatever windows it leaves are destroyed directly (as a host
// might), which must empty the registry, together with its variables.
#pragma once

#include <gtest/gtest.h>

#include "ComponentInfos.h"
#include "Forms.h"
#include "Variables.h"

class ScriptDialogTest : public ::testing::Test {
protected:
    void TearDown() override {
        TComponentInfos& registry = *ComponentInfos();
        while (TForm* form = AnyWindow(registry)) delete form;
        EXPECT_EQ(registry.GetCount(), 0);
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
    }

    static TForm* AnyWindow(TComponentInfos& registry) {
        for (int i = 0; i < registry.GetCount(); ++i)
            if (TForm* form = dynamic_cast<TForm*>(registry[i]->component)) return form;
        return nullptr;
    }

    template <class Control>
    static Control* Registered(int id) {
        return dynamic_cast<Control*>(ComponentInfos()->GetComponent(id));
    }

    int variablesAtStart = Variables.GetCount();
};
