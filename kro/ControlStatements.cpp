// Blocks and control flow: block, if, else, while, end, break, continue, repeat, until, loop, for, switch, case,
// default, endcase, return and message.
#include "LineScan.h"
#include "Statements.h"

namespace {

int NextTokenIndex(const TProgram& program) { return program.tokens.GetCount(); }

bool RequireEmpty(const TString& rest, TCompileState& state) {
    return rest.Length() == 0 || Fail(state, keSurplusParameter);
}

// A token of type whose payload is one expression.
bool AddExpressionToken(int type, const TString& text, TCompileState& state, TProgram& program) {
    EXPRESSION e;
    if (!CompileExpression(text, e)) return Fail(state, keBadExpression);
    program.tokens.AddToken(type)->expression = e;
    return true;
}

template <class T>
T* AddRecordToken(int type, TProgram& program) {
    T* record = new T;
    program.tokens.AddToken(type)->record.reset(record);
    return record;
}

// Compiles each part into list; false at the first that does not compile.
bool CompileParts(const TStringContainer& parts, TExpressionArray& list) {
    for (int i = 0; i < parts.GetCount(); ++i) {
        EXPRESSION e;
        if (!CompileExpression(parts[i], e)) return false;
        list.Add(e);
    }
    return true;
}

// Stores the index of the end token being appended into the block's opener.
void PatchOpener(const TCompileStackItem& block, int endIndex, TProgram& program) {
    TToken* opener = program.tokens[block.tokenIndex];
    if (opener == nullptr) return;
    switch (block.kind) {
        case bkIf:
        case bkLoop: opener->Record<COND_INFO>()->end = endIndex; break;
        case bkWhile: opener->Record<WHILE_INFO>()->end = endIndex; break;
        case bkFunc: opener->value = endIndex; break;
        case bkSwitch: opener->Record<TSwitchInfo>()->end = endIndex; break;
        case bkFor: opener->Record<FOR_INFO>()->end = endIndex; break;
        case bkForeach: opener->Record<FOREACH_INFO>()->end = endIndex; break;
        default: break;
    }
}

TSwitchInfo* OpenSwitch(const TCompileState& state, const TProgram& program) {
    const TToken* token = program.tokens[state.stack.Top()->tokenIndex];
    return token != nullptr ? token->Record<TSwitchInfo>() : nullptr;
}

}  // namespace

bool CompileBlock(TString& rest, TCompileState& state, TProgram& program) {
    if (!RequireEmpty(rest, state)) return false;
    state.stack.Push(bkBlock, NextTokenIndex(program));
    program.tokens.AddToken(ttBlock);
    return true;
}

bool CompileIf(TString& rest, TCompileState& state, TProgram& program) {
    if (rest.Length() == 0) return Fail(state, keMissingExpression);
    EXPRESSION e;
    if (!CompileExpression(rest, e)) return Fail(state, keBadExpression);
    const int index = NextTokenIndex(program);
    COND_INFO* info = AddRecordToken<COND_INFO>(ttIf, program);
    info->condition = e;
    info->start = index;
    state.stack.Push(bkIf, index);
    return true;
}

// A second else in one if is refused as misplaced, since the interpreter
// would skip from the first else to the end.
bool CompileElse(TString& rest, TCompileState& state, TProgram& program) {
    if (!RequireEmpty(rest, state)) return false;
    TCompileStackItem* top = state.stack.Top();
    if (top->kind != bkIf) return Fail(state, keElsePlace);
    COND_INFO* info = program.tokens[top->tokenIndex]->Record<COND_INFO>();
    if (info->elseIndex != -1) return Fail(state, keElsePlace);
    state.stack.DropTopVariables();
    info->elseIndex = NextTokenIndex(program);
    program.tokens.AddToken(ttElse);
    return true;
}

bool CompileWhile(TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    if (parts.GetCount() == 0) return Fail(state, keMissingExpression);
    EXPRESSION condition;
    if (!CompileExpression(parts[0], condition)) return Fail(state, keBadExpression);
    const int index = NextTokenIndex(program);
    WHILE_INFO* info = AddRecordToken<WHILE_INFO>(ttWhile, program);
    info->condition = condition;
    info->start = index;
    parts.Delete(0);
    if (!CompileParts(parts, info->further)) return Fail(state, keBadExpression);
    state.stack.Push(bkWhile, index);
    return true;
}

// A repeat is closed by until alone, so an end there is misplaced.
bool CompileEnd(TString& rest, TCompileState& state, TProgram& program) {
    if (!RequireEmpty(rest, state)) return false;
    const TCompileStackItem* top = state.stack.Top();
    if (state.stack.GetCount() == 1 || top->kind == bkRepeat) return Fail(state, keEndPlace);
    PatchOpener(*top, NextTokenIndex(program), program);
    program.tokens.AddToken(ttEnd);
    state.stack.Pop();
    return true;
}

bool CompileBreak(TString& rest, TCompileState& state, TProgram& program) {
    if (!RequireEmpty(rest, state)) return false;
    if (!state.stack.Encloses({bkWhile, bkRepeat, bkLoop})) return Fail(state, keBreakPlace);
    program.tokens.AddToken(ttBreak);
    return true;
}

bool CompileContinue(TString& rest, TCompileState& state, TProgram& program) {
    if (!RequireEmpty(rest, state)) return false;
    if (!state.stack.Encloses({bkWhile, bkRepeat, bkLoop})) return Fail(state, keContinuePlace);
    program.tokens.AddToken(ttContinue);
    return true;
}

bool CompileRepeat(TString& rest, TCompileState& state, TProgram& program) {
    if (!RequireEmpty(rest, state)) return false;
    state.stack.Push(bkRepeat, NextTokenIndex(program));
    program.tokens.AddToken(ttRepeat);
    return true;
}

bool CompileUntil(TString& rest, TCompileState& state, TProgram& program) {
    const TCompileStackItem* top = state.stack.Top();
    if (top->kind != bkRepeat) return Fail(state, keUntilPlace);
    EXPRESSION e;
    if (!CompileExpression(rest, e)) return Fail(state, keBadExpression);
    const int index = NextTokenIndex(program);
    program.tokens[top->tokenIndex]->value = index;
    COND_INFO* info = AddRecordToken<COND_INFO>(ttUntil, program);
    info->condition = e;
    info->start = top->tokenIndex;
    state.stack.Pop();
    return true;
}

bool CompileLoop(TString& rest, TCompileState& state, TProgram& program) {
    EXPRESSION e;
    if (!CompileExpression(rest, e)) return Fail(state, keBadExpression);
    const int index = NextTokenIndex(program);
    AddRecordToken<COND_INFO>(ttLoop, program)->condition = e;
    state.stack.Push(bkLoop, index);
    return true;
}

bool CompileFor(TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer sections;
    SplitTopLevel(rest, ';', sections);
    if (sections.GetCount() != 3) return Fail(state, keForParts);
    TStringContainer parts;
    SplitTopLevel(sections[0], ',', parts);
    for (int i = 0; i < parts.GetCount(); ++i) {
        EXPRESSION e;
        if (!CompileExpression(parts[i], e)) return Fail(state, keForInit);
        program.tokens.AddToken(ttExpression)->expression = e;
    }
    const int index = NextTokenIndex(program);
    FOR_INFO* info = AddRecordToken<FOR_INFO>(ttFor, program);
    SplitTopLevel(sections[1], ',', parts);
    if (!CompileParts(parts, info->conditions)) return Fail(state, keForCondition);
    SplitTopLevel(sections[2], ',', parts);
    if (!CompileParts(parts, info->steps)) return Fail(state, keForStep);
    state.stack.Push(bkFor, index);
    return true;
}

bool CompileSwitch(TString& rest, TCompileState& state, TProgram& program) {
    EXPRESSION e;
    if (!CompileExpression(rest, e)) return Fail(state, keBadExpression);
    const int index = NextTokenIndex(program);
    AddRecordToken<TSwitchInfo>(ttSwitch, program)->selector = e;
    state.stack.Push(bkSwitch, index);
    return true;
}

bool CompileCase(TString& rest, TCompileState& state, TProgram& program) {
    if (state.stack.Top()->kind != bkSwitch) return Fail(state, keCasePlace);
    if (rest.Length() == 0 || rest[rest.Length() - 1] != ':') return Fail(state, keCaseSyntax);
    TCaseInfo* label = new TCaseInfo;
    if (!CompileExpression(rest.Left(rest.Length() - 1), label->label)) {
        delete label;
        return Fail(state, keBadExpression);
    }
    label->branch = NextTokenIndex(program);
    OpenSwitch(state, program)->Add(label);
    return true;
}

bool CompileDefault(TString& rest, TCompileState& state, TProgram& program) {
    if (rest != ":") return Fail(state, keCaseSyntax);
    TCompileStackItem* top = state.stack.Top();
    if (top->kind != bkSwitch) return Fail(state, keCasePlace);
    if (top->defaultIndex != -1) return Fail(state, keSecondDefault);
    top->defaultIndex = NextTokenIndex(program);
    TSwitchInfo* info = OpenSwitch(state, program);
    info->defaultIndex = top->defaultIndex;
    TCaseInfo* label = new TCaseInfo;
    label->label.count = 0;
    label->branch = top->defaultIndex;
    info->Add(label);
    return true;
}

bool CompileEndcase(TString& rest, TCompileState& state, TProgram& program) {
    if (state.stack.Top()->kind != bkSwitch) return Fail(state, keEndcasePlace);
    if (!RequireEmpty(rest, state)) return false;
    program.tokens.AddToken(ttEndcase);
    return true;
}

bool CompileReturn(TString& rest, TCompileState& state, TProgram& program) {
    EXPRESSION e;
    if (!CompileExpression(rest, e)) return Fail(state, keBadExpression);
    if (!state.stack.Encloses({bkFunc})) {
        FreeExpression(e);
        return Fail(state, keReturnPlace);
    }
    program.tokens.AddToken(ttReturn)->expression = e;
    return true;
}

bool CompileMessage(TString& rest, TCompileState& state, TProgram& program) {
    return AddExpressionToken(ttMessage, rest, state, program);
}
