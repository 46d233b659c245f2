// The drawing statements' compile handlers: argument counts, argument expressions and the point-array name.
#include "DrawingStatements.h"

#include <memory>

#include "LineScan.h"
#include "Statements.h"
#include "Variables.h"

namespace {

struct TDrawingForm {
    int type;
    int shorter;
    int longer;
    bool wholeRest;  // the whole rest is the one argument, commas included
};

const TDrawingForm kDrawingForms[] = {
    {ttLine, 2, 4, false},        {ttText, 2, 3, false},        {ttRect, 2, 4, false},
    {ttFillRect, 2, 4, false},    {ttCircle, 2, 3, false},      {ttFillCircle, 2, 3, false},
    {ttEllipse, 3, 4, false},     {ttFillEllipse, 3, 4, false}, {ttArc, 5, 6, false},
    {ttPie, 5, 6, false},         {ttChord, 5, 6, false},       {ttSetPenColor, 1, 1, true},
    {ttSetBrushColor, 1, 1, true}, {ttSetFont, 4, 4, false},
};

const TDrawingForm* FindForm(int type) {
    for (const TDrawingForm& form : kDrawingForms)
        if (form.type == type) return &form;
    return nullptr;
}

bool CompileArguments(const TDrawingForm& form, const TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer parts;
    if (!form.wholeRest)
        SplitTopLevel(rest, ',', parts);
    else if (rest.Length() > 0)
        parts.Add(rest);
    const int count = parts.GetCount();
    if (count != form.shorter && count != form.longer) return Fail(state, keBadParameterCount);
    auto args = std::make_unique<TStatementArgs>(form.type);
    for (int i = 0; i < count; ++i) {
        EXPRESSION e;
        if (parts[i].Length() == 0 || !CompileExpression(parts[i], e)) return Fail(state, keBadExpression);
        args->expressions.Add(e);
    }
    program.tokens.AddToken(form.type)->record = std::move(args);
    return true;
}

// polyline and polygon: the newest variable of that name must be a 1-D array of points.
bool CompilePointArray(int type, const TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    if (parts.GetCount() != 1) return Fail(state, keBadParameterCount);
    const int position = Variables.GetVarIndex(parts[0]);
    const TVariable* array = Variables[position];
    if (array == nullptr || array->type != vtArray) return Fail(state, keBadArrayName);
    if (array->value.a.itemtype != vtPoint) return Fail(state, keBadArrayType);
    auto args = std::make_unique<TStatementArgs>(type);
    KRO_VARINFO info;
    info.index = Variables.V_Index(position);
    info.absolute = array->absolute ? 1 : 0;
    args->variables.push_back(info);
    program.tokens.AddToken(type)->record = std::move(args);
    return true;
}

}  // namespace

bool DrawingArgumentCounts(int type, int& shorter, int& longer) {
    const TDrawingForm* form = FindForm(type);
    if (form == nullptr) return false;
    shorter = form->shorter;
    longer = form->longer;
    return true;
}

bool CompileDrawingStatement(int type, TString& rest, TCompileState& state, TProgram& program) {
    if (type == ttPolyline || type == ttPolygon) return CompilePointArray(type, rest, state, program);
    const TDrawingForm* form = FindForm(type);
    if (form == nullptr) return Fail(state, keUnknownStatement);
    return CompileArguments(*form, rest, state, program);
}
