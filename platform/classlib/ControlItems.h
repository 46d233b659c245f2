// TControlItems: the string list behind a list control's Items, which tells
// its control after every change.
#pragma once

#include <functional>

#include "Strings.h"

// Changes are reported through `changed` once per outermost update (as
// TStringList's OnChange), so a control can repaint and clamp its selection.
class TControlItems : public TStringList {
    CLASSLIB_CLASS(TControlItems, TStringList)

public:
    explicit TControlItems(std::function<void()> changed) : changed_(std::move(changed)) {}

protected:
    void Changed() override {
        TStringList::Changed();
        if (UpdateCount() == 0 && changed_) changed_();
    }

private:
    std::function<void()> changed_;
};

// A published row for a TStrings property kept as text, one item per line
// ended by CR LF ('One'#13#10'Two'#13#10 in a form text): Class::Get##Name()
// returns the TStrings*.
#define CLASSLIB_STRINGS_PROPERTY(Class, Name)                                                                   \
    TPropertyInfo {                                                                                            \
        #Name, TPropertyType::String, nullptr, 0, "", true, nullptr, nullptr, nullptr,                         \
            [](const TPersistent* object) -> std::string {                                                     \
                return static_cast<const Class*>(object)->Get##Name()->GetText();                              \
            },                                                                                                 \
            [](TPersistent* object, const std::string& value) {                                                \
                static_cast<Class*>(object)->Get##Name()->SetText(value);                                      \
            },                                                                                                 \
            nullptr, nullptr, nullptr                                                                          \
    }
