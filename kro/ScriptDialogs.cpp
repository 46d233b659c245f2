// The twenty dialog functions that scripts call inside expressions: argument reading, results and registration with Eval.
#include "ScriptDialogs.h"

#include <limits>
#include <string>
#include <vector>

#include "ComponentInfos.h"
#include "DialogControls.h"
#include "DialogText.h"
#include "ExtensionHooks.h"
#include "Interpreter.h"
#include "Variables.h"

namespace {

// An int argument within the int range (Eval has converted numbers to int already).
int IntArgument(const EXPRESSION_ITEM& item) {
    constexpr int64_t low = std::numeric_limits<int>::min();
    constexpr int64_t high = std::numeric_limits<int>::max();
    if (item.kind != ekInteger) return 0;
    return static_cast<int>(item.value.integer < low ? low : item.value.integer > high ? high : item.value.integer);
}

std::string TextArgument(const EXPRESSION_ITEM& item) {
    const bool text = item.kind == ekOwnedText || item.kind == ekBorrowedText || item.kind == ekBufferedText;
    return text && item.value.text.text != nullptr ? item.value.text.text->str() : std::string();
}

// The 1-D string array an array argument names, with its position in Variables; null otherwise.
TVariable* StringArrayArgument(const EXPRESSION_ITEM& item, int& position) {
    if (item.kind != ekArray) return nullptr;
    position = Variables.V_Index(item.value.variable.reference, item.value.variable.absolute);
    TVariable* variable = Variables.GetVarOfType(position, vtArray);
    return variable != nullptr && variable->value.a.itemtype == vtString ? variable : nullptr;
}

EXPRESSION_ITEM IntResult(int64_t value) { return MakeIntegerItem(value); }

EXPRESSION_ITEM TextResult(const std::string& text) {
    EXPRESSION_ITEM item = MakeItem(ekOwnedText);
    item.value.text.text = new TString(text);
    return item;
}

// Creating functions: argument 0 is the parent window, then Count - 1 more;
// their ints fill left, top, width, height and the option in that order, a
// text fills the caption.
template <TScriptControlKind Kind, int Count>
EXPRESSION_ITEM CreateControl(EXPRESSION_ITEM* arguments) {
    TScriptControlRequest request;
    int* const numbers[] = {&request.left, &request.top, &request.width, &request.height, &request.option};
    size_t filled = 0;
    for (int k = 1; k < Count; ++k) {
        if (arguments[k].kind == ekInteger && filled < sizeof numbers / sizeof numbers[0])
            *numbers[filled++] = IntArgument(arguments[k]);
        else if (arguments[k].kind != ekInteger)
            request.caption = TextArgument(arguments[k]);
    }
    return IntResult(NewScriptControl(IntArgument(arguments[0]), Kind, request));
}

EXPRESSION_ITEM NewDialogFunction(EXPRESSION_ITEM* a) {
    return IntResult(NewScriptDialog(IntArgument(a[0]), IntArgument(a[1]), IntArgument(a[2]), IntArgument(a[3]),
                                     TextArgument(a[4])));
}

EXPRESSION_ITEM SetControlTextFunction(EXPRESSION_ITEM* a) {
    return IntResult(SetScriptControlText(IntArgument(a[0]), TextArgument(a[1])) ? 1 : 0);
}

EXPRESSION_ITEM GetControlTextFunction(EXPRESSION_ITEM* a) {
    return TextResult(GetScriptControlText(IntArgument(a[0])));
}

EXPRESSION_ITEM SetControlLinesFunction(EXPRESSION_ITEM* a) {
    int position = -1;
    const TVariable* array = StringArrayArgument(a[1], position);
    if (array == nullptr) return IntResult(0);
    std::vector<std::string> lines;
    const TString* items = static_cast<const TString*>(array->value.a.items);
    for (int k = 0; items != nullptr && k < array->value.a.count; ++k) lines.push_back(items[k].str());
    return IntResult(SetScriptControlLines(IntArgument(a[0]), lines) ? 1 : 0);
}

// The array takes the control's line count, and the lines when the resize gave it that count.
EXPRESSION_ITEM GetControlLinesFunction(EXPRESSION_ITEM* a) {
    int position = -1;
    std::vector<std::string> lines;
    if (StringArrayArgument(a[1], position) == nullptr || !GetScriptControlLines(IntArgument(a[0]), lines))
        return IntResult(0);
    const int count = static_cast<int>(lines.size());
    TString* items = static_cast<TString*>(Variables.ResizeArray(position, count));
    if (items != nullptr && Variables.GetArrayCount(position) == count)
        for (int k = 0; k < count; ++k) items[k] = lines[static_cast<size_t>(k)];
    return IntResult(0);
}

EXPRESSION_ITEM SetControlIntFunction(EXPRESSION_ITEM* a) {
    SetScriptControlInt(IntArgument(a[0]), IntArgument(a[1]));
    return IntResult(0);
}

EXPRESSION_ITEM GetControlIntFunction(EXPRESSION_ITEM* a) { return IntResult(GetScriptControlInt(IntArgument(a[0]))); }

EXPRESSION_ITEM ShowDialogFunction(EXPRESSION_ITEM* a) { return IntResult(ShowScriptDialog(IntArgument(a[0]))); }

EXPRESSION_ITEM ReleaseDialogFunction(EXPRESSION_ITEM* a) {
    return IntResult(ReleaseScriptDialog(IntArgument(a[0])) ? 1 : 0);
}

EXPRESSION_ITEM LoadDialogFunction(EXPRESSION_ITEM* a) {
    const int id = LoadDialog(KRO_GetRunningProgram(), TString(TextArgument(a[0])));
    return IntResult(id >= 0 ? id : 0);
}

// One dialog function: its custom-function id, name, result item type,
// parameters (i int, s text, a string array, r string array by reference)
// and handler.
struct TDialogFunctionRow {
    int id;
    const char* name;
    TExpressionItemType result;
    const char* parameters;
    TCustomFuncHandler handler;
};

// ORDER: the ids are the custom-function ids that compiled expressions store.
const TDialogFunctionRow kDialogFunctions[] = {
    {100, "NewDialog", ekInteger, "iiiis", NewDialogFunction},
    {101, "NewLabel", ekInteger, "iiis", CreateControl<sckLabel, 4>},
    {102, "NewEdit", ekInteger, "iiiii", CreateControl<sckEdit, 5>},
    {103, "NewMemo", ekInteger, "iiiii", CreateControl<sckMemo, 5>},
    {104, "NewButton", ekInteger, "iiiiisi", CreateControl<sckButton, 7>},
    {105, "NewCheckBox", ekInteger, "iiis", CreateControl<sckCheckBox, 4>},
    {106, "NewRadioButton", ekInteger, "iiis", CreateControl<sckRadioButton, 4>},
    {107, "NewListBox", ekInteger, "iiiii", CreateControl<sckListBox, 5>},
    {108, "NewComboBox", ekInteger, "iiiiii", CreateControl<sckComboBox, 6>},
    {109, "NewScrollBar", ekInteger, "iiiiii", CreateControl<sckScrollBar, 6>},
    {110, "NewProcessBar", ekInteger, "iiiii", CreateControl<sckProcessBar, 5>},
    {130, "SetControlText", ekInteger, "is", SetControlTextFunction},
    {131, "GetControlText", ekOwnedText, "i", GetControlTextFunction},
    {132, "SetControlLines", ekInteger, "ia", SetControlLinesFunction},
    {133, "GetControlLines", ekInteger, "ir", GetControlLinesFunction},
    {134, "SetControlInt", ekInteger, "ii", SetControlIntFunction},
    {135, "GetControlInt", ekInteger, "i", GetControlIntFunction},
    {150, "ShowDialog", ekInteger, "i", ShowDialogFunction},
    {151, "ReleaseDialog", ekInteger, "i", ReleaseDialogFunction},
    {152, "LoadDialog", ekInteger, "s", LoadDialogFunction},
};

void AddParameter(TCustomFunction& function, char parameter) {
    switch (parameter) {
        case 'i':
            function.AddParam(ekInteger, false, vtInt);
            break;
        case 's':
            function.AddParam(ekOwnedText, false, vtInt);
            break;
        default:
            function.AddParam(ekArray, parameter == 'r', vtString);
            break;
    }
}

bool registered = false;

}  // namespace

void CreateScriptDialogs() {
    if (registered) return;
    registered = true;
    CreateComponentInfos();
    for (const TDialogFunctionRow& row : kDialogFunctions) {
        TCustomFunction* function = new TCustomFunction(row.name, row.result, row.id);
        CustomFunctions().Add(function);
        RegisterCustomFunction(row.id, row.handler);
        for (const char* p = row.parameters; *p != '\0'; ++p) AddParameter(*function, *p);
    }
}

void DestroyScriptDialogs() {
    if (!registered) return;
    registered = false;
    TStringContainer names;
    for (const TDialogFunctionRow& row : kDialogFunctions) names.Add(TString(row.name));
    CustomFunctions().DeleteFunctions(names);
    DestroyComponentInfos();
}
