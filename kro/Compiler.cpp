// The script compiler: the line loop, the statement dispatcher, KRO_Compile and its error texts.
#include "Compiler.h"

#include <cassert>

#include "ArrayStatements.h"
#include "CustomCommands.h"
#include "DrawingStatements.h"
#include "EventStatements.h"
#include "ExpressionCompiler.h"
#include "ExtensionHooks.h"
#include "Interpreter.h"
#include "LineScan.h"
#include "ResourceStatements.h"
#include "Statements.h"

int KRO_ErrorCode = 0;
int KRO_ErrorLine = 0;
TString KRO_ErrorUnitName;

namespace {

// ORDER: index = code - 1; the texts are the system's own, in code page 1250.
const char* const kErrorTexts[] = {
    "Hi\xE1nyz\xF3 v\xE1ltoz\xF3n\xE9v",  // 1 Hiányzó változónév
    "Hib\xE1s v\xE1ltoz\xF3" "defin\xED" "ci\xF3",  // 2 Hibás változódefiníció
    "Hib\xE1s a t\xF6mbm\xE9ret kifejez\xE9se",  // 3 Hibás a tömbméret kifejezése
    "Hib\xE1s t\xF6mbdimenzi\xF3",  // 4 Hibás tömbdimenzió
    "Hi\xE1nyzik az inicializ\xE1l\xF3 \xE9rt\xE9k",  // 5 Hiányzik az inicializáló érték
    "Hib\xE1s az inicializ\xE1l\xF3 kifejez\xE9s",  // 6 Hibás az inicializáló kifejezés
    "Hib\xE1s a t\xF6mbinicializ\xE1l\xF3 kifejez\xE9s",  // 7 Hibás a tömbinicializáló kifejezés
    "Nem inicializ\xE1lhat\xF3 v\xE1ltoz\xF3",  // 8 Nem inicializálható változó
    "Hi\xE1nyz\xF3 kifejez\xE9s",  // 9 Hiányzó kifejezés
    "Hib\xE1s kifejez\xE9s",  // 10 Hibás kifejezés
    "Felesleges param\xE9ter",  // 11 Felesleges paraméter
    "'break' rossz helyen",  // 12 'break' rossz helyen
    "'continue' rossz helyen",  // 13 'continue' rossz helyen
    "'until' rossz helyen",  // 14 'until' rossz helyen
    "F\xFCggv\xE9nydefin\xED" "c\xF3 rossz helyen",  // 15 Függvénydefinícó rossz helyen
    "Hib\xE1s f\xFCggv\xE9nyt\xEDpus",  // 16 Hibás függvénytípus
    "Hib\xE1s f\xFCggv\xE9nydefin\xED" "ci\xF3",  // 17 Hibás függvénydefiníció
    "Hi\xE1nyz\xF3 param\xE9tern\xE9v",  // 18 Hiányzó paraméternév
    "Hib\xE1s param\xE9tern\xE9v",  // 19 Hibás paraméternév
    "Hib\xE1s param\xE9tert\xEDpus",  // 20 Hibás paramétertípus
    "'return' rossz helyen",  // 21 'return' rossz helyen
    "'case' rossz helyen",  // 22 'case' rossz helyen
    "Hib\xE1s 'case' szintakszis",  // 23 Hibás 'case' szintakszis
    "M\xE1r van 'default' c\xEDmke",  // 24 Már van 'default' címke
    "'endcase' rossz helyen",  // 25 'endcase' rossz helyen
    "'end' rossz helyen",  // 26 'end' rossz helyen
    "'else' rossz helyen",  // 27 'else' rossz helyen
    "Ismeretlen utas\xEDt\xE1s",  // 28 Ismeretlen utasítás
    "V\xE1ltoz\xF3" "defin\xED" "ci\xF3 rossz helyen",  // 29 Változódefiníció rossz helyen
    "Ismeretlen unit",  // 30 Ismeretlen unit
    "Hi\xE1nyzik a 'dim' utas\xEDt\xE1sban a t\xF6mbn\xE9v",  // 31 Hiányzik a 'dim' utasításban a tömbnév
    "A 'dim'-nek nem t\xF6mb\xF6t adtak meg",  // 32 A 'dim'-nek nem tömböt adtak meg
    "A 'dim' utas\xEDt\xE1sban nem egyeznek a dimenzi\xF3k",  // 33 A 'dim' utasításban nem egyeznek a dimenziók
    "Hib\xE1s t\xF6mbn\xE9v",  // 34 Hibás tömbnév
    "Hib\xE1s param\xE9tersz\xE1m",  // 35 Hibás paraméterszám
    "Hib\xE1s t\xF6mbt\xEDpus",  // 36 Hibás tömbtípus
    "'const'-n\xE1l hi\xE1nyzik az \xE9rt\xE9kad\xF3 jel",  // 37 'const'-nál hiányzik az értékadó jel
    "Hi\xE1nyz\xF3 argumentum a 'const'-ban",  // 38 Hiányzó argumentum a 'const'-ban
    "'import' ut\xE1n hi\xE1nyzik a f\xE1jln\xE9v",  // 39 'import' után hiányzik a fájlnév
    "Hi\xE1nyzik az er\xF5" "forr\xE1s t\xEDpusa",  // 40 Hiányzik az erőforrás típusa
    "Ismeretlen er\xF5" "forr\xE1st\xEDpus",  // 41 Ismeretlen erőforrástípus
    "Hi\xE1nyzik az er\xF5" "forr\xE1st tartalmaz\xF3 f\xE1jl neve",  // 42 Hiányzik az erőforrást tartalmazó fájl neve
    "Az er\xF5" "forr\xE1st tartalmaz\xF3 f\xE1jl nem tal\xE1lhat\xF3",  // 43 Az erőforrást tartalmazó fájl nem található
    "Hi\xE1nyzik az er\xF5" "forr\xE1sn\xE9v",  // 44 Hiányzik az erőforrásnév
    "Hib\xE1s a dial\xF3gusle\xEDr\xF3 er\xF5" "forr\xE1s",  // 45 Hibás a dialógusleíró erőforrás
    "Ismeretlen esem\xE9ny",  // 46 Ismeretlen esemény
    "Ismeretlen esem\xE9nykezel\xF5",  // 47 Ismeretlen eseménykezelő
    "Hib\xE1s param\xE9ter\xFB esem\xE9nykezel\xF5",  // 48 Hibás paraméterű eseménykezelő
};
const char* const kUnknownErrorText = "Ismeretlen hiba";

struct TKeyword {
    const char* name;
    TStatementHandler handler;  // null: the statement belongs to a later part of the language
    bool keepsWhiteSpace;
};

// ORDER: the keyword table's order is that of KRO_Keywords.
const TKeyword kKeywords[] = {
    {"int", CompileInt, false},
    {"double", CompileDouble, false},
    {"string", CompileString, false},
    {"point", CompilePoint, false},
    {"complex", CompileComplex, false},
    {"block", CompileBlock, false},
    {"if", CompileIf, false},
    {"while", CompileWhile, false},
    {"end", CompileEnd, false},
    {"else", CompileElse, false},
    {"break", CompileBreak, false},
    {"continue", CompileContinue, false},
    {"repeat", CompileRepeat, false},
    {"until", CompileUntil, false},
    {"loop", CompileLoop, false},
    {"for", CompileFor, false},
    {"foreach", CompileForeach, false},
    {"foreach_getcount", CompileForeachGetCount, false},
    {"foreach_setcount", CompileForeachSetCount, false},
    {"func", CompileFunc, true},
    {"return", CompileReturn, false},
    {"switch", CompileSwitch, false},
    {"case", CompileCase, false},
    {"default", CompileDefault, false},
    {"endcase", CompileEndcase, false},
    {"import", CompileImport, false},
    {"dim", CompileDim, false},
    {"a_filter", CompileArrayFilter, false},
    {"a_add", CompileArrayAdd, false},
    {"a_insert", CompileArrayInsert, false},
    {"a_delete", CompileArrayDelete, false},
    {"a_reverse", CompileArrayReverse, false},
    {"a_fill", CompileArrayFill, false},
    {"a_sort", CompileArraySort, false},
    {"a_getitems", CompileArrayGetItems, false},
    {"a_getline", CompileArrayGetLine, false},
    {"a_getcol", CompileArrayGetColumn, false},
    {"a_exchange", CompileArrayExchange, false},
    {"a_assign", CompileArrayAssign, false},
    {"message", CompileMessage, false},
    {"const", CompileConst, false},
    {"setpixel", CompileSetPixel, false},
    {"line", CompileDrawing<ttLine>, false},
    {"polyline", CompileDrawing<ttPolyline>, false},
    {"polygon", CompileDrawing<ttPolygon>, false},
    {"text", CompileDrawing<ttText>, false},
    {"rect", CompileDrawing<ttRect>, false},
    {"fillrect", CompileDrawing<ttFillRect>, false},
    {"circle", CompileDrawing<ttCircle>, false},
    {"fillcircle", CompileDrawing<ttFillCircle>, false},
    {"ellipse", CompileDrawing<ttEllipse>, false},
    {"fillellipse", CompileDrawing<ttFillEllipse>, false},
    {"arc", CompileDrawing<ttArc>, false},
    {"pie", CompileDrawing<ttPie>, false},
    {"chord", CompileDrawing<ttChord>, false},
    {"setpencolor", CompileDrawing<ttSetPenColor>, false},
    {"setbrushcolor", CompileDrawing<ttSetBrushColor>, false},
    {"setfont", CompileDrawing<ttSetFont>, false},
    {"resource", CompileResource, false},
    {"event", CompileEvent, false},
};
static_assert(sizeof kKeywords / sizeof kKeywords[0] == 60, "sixty keywords");

TKRO_Keywords* keywords = nullptr;

const TKeyword* FindKeyword(const TString& word) {
    for (const TKeyword& keyword : kKeywords)
        if (word == keyword.name) return &keyword;
    return nullptr;
}

// The first word of a line: the run of identifier characters after leading white space.
void SplitFirstWord(const TString& line, TString& word, TString& rest) {
    int start = 0;
    while (start < line.Length() && IsWordSpace(line[start])) ++start;
    int end = start;
    while (end < line.Length() && IsIdentifierChar(line[end])) ++end;
    word = line.Substring(start, end - 1);
    rest = line.Substring(end, line.Length() - 1);
}

bool CompileKeyword(const TKeyword& keyword, TString& rest, TCompileState& state, TProgram& program) {
    if (keyword.handler == nullptr) return Fail(state, keUnknownStatement);
    if (!keyword.keepsWhiteSpace) rest = RemoveWhiteSpace(rest);
    return keyword.handler(rest, state, program);
}

// A null token fails the line without an error code.
bool CompileCustomCommand(const TCustomCommand& command, const TString& rest, TProgram& program) {
    if (command.compile == nullptr) return false;
    TToken* token = command.compile(command.code, RemoveWhiteSpace(rest));
    if (token == nullptr) return false;
    token->type = command.code;
    program.tokens.Add(token);
    return true;
}

bool CompileExpressionLine(const TString& line, TCompileState& state, TProgram& program) {
    EXPRESSION e;
    if (!CompileExpression(line, e)) return Fail(state, keBadExpression);
    program.tokens.AddToken(ttExpression)->expression = e;
    return true;
}

bool CompileLine(TString line, TCompileState& state, TProgram& program) {
    SubstituteConstants(line, state.constantNames, state.constantValues);
    TString word, rest;
    SplitFirstWord(line, word, rest);
    if (const TKeyword* keyword = FindKeyword(word)) return CompileKeyword(*keyword, rest, state, program);
    const TCustomCommand* command = word.Length() > 0 ? CustomCommands().FindName(word) : nullptr;
    if (command != nullptr) return CompileCustomCommand(*command, rest, program);
    return CompileExpressionLine(line, state, program);
}

// Compiles line after line until the text ends or a line fails; the
// variable base of Variables is the count at the start meanwhile.
bool RunLineLoop(TCompileState& state, TProgram& program) {
    const int savedBase = Variables.GetBase();
    Variables.SetBase(Variables.GetCount());
    program.variableBase = Variables.GetCount();
    bool compiled = true;
    TString line;
    while (compiled && state.ReadLine(line)) {
        if (IsBlankLine(line)) continue;
        compiled = CompileLine(line, state, program);
    }
    Variables.SetBase(savedBase);
    return compiled;
}

TVariableType ItemTypeOf(const TVariable& v) {
    if (v.type == vtArray) return v.value.a.itemtype;
    if (v.type == vtArray2) return v.value.a2.itemtype;
    return vtUndefined;
}

// Each new top-level variable takes over the value of the kept variable of
// the same name, type and item type.
void HandOverValues(TVariableList& kept, TVariableList& fresh) {
    for (int i = 0; i < fresh.GetCount(); ++i) {
        TVariable* variable = fresh[i];
        for (int k = 0; k < kept.GetCount(); ++k) {
            TVariable* old = kept[k];
            if (old->name != variable->name || old->type != variable->type || ItemTypeOf(*old) != ItemTypeOf(*variable))
                continue;
            variable->MoveFrom(*old);
            kept.Delete(k, true);
            break;
        }
    }
}

// A run of the program going on looks at its statements again.
void EmptyProgram(TProgram& program) {
    NewStatementEpoch();
    program.tokens.Clear();
    program.functions.Clear();
    program.globals.Clear();
    program.events.Clear();
    program.resourceTokens.Clear();
}

}  // namespace

bool Fail(TCompileState& state, int code) {
    state.errorCode = code;
    return false;
}

bool CompileExpression(const TString& text, EXPRESSION& e) {
    e = CreateExpression(text);
    if (e.count >= 0) return true;
    e = EXPRESSION();
    return false;
}

bool KRO_Compile(TStringContainer& source, TProgram& program, TStringContainer& unitDirectories,
                 TUnitSubsList& units) {
    TCompileState state(source, unitDirectories, units);
    const int extFunctionsAtStart = ExtFunctions().GetCount();
    TVariableList kept;
    kept.Swap(program.variables);
    EmptyProgram(program);

    // Expressions may run script functions while they compile (arguments of
    // built-in calls), so the handler is in place from the start.
    ExtFuncHandler = KRO_CompileTimeHandler;
    const bool compiled = RunLineLoop(state, program);
    KRO_ErrorLine = state.CurrentLine();
    KRO_ErrorCode = state.errorCode;
    KRO_ErrorUnitName = state.CurrentUnitName();
    ExtFuncHandler = KRO_CompileTimeHandler;

    const bool closed = state.stack.GetCount() == 1;
    while (state.stack.GetCount() > 0) state.stack.Pop();
    for (int i = 0; i < state.functionCount && ExtFunctions().GetCount() > 0; ++i)
        ExtFunctions().Delete(ExtFunctions().GetCount() - 1, true);
    assert(ExtFunctions().GetCount() == extFunctionsAtStart);
    (void)extFunctionsAtStart;

    if (compiled && closed) {
        HandOverValues(kept, program.variables);
        return true;
    }
    EmptyProgram(program);
    program.variables.Swap(kept);
    return false;
}

TString KRO_GetErrorMessage(int code) {
    if (code >= 1 && code <= 48) return TString(kErrorTexts[code - 1]);
    return TString(kUnknownErrorText);
}

void KRO_CreateEventParams(int code, TVariableList& list) {
    list.Clear();
    int ints = 0;
    if (code == 1 || code == 2 || code == 8) ints = 2;
    if (code == 3 || code == 4 || code == 5) ints = 3;
    for (int i = 0; i < ints; ++i) list.NewVar("param", vtInt, false);
    if (code == 6) list.NewVar("param", vtString, false);
}

TKRO_Keywords::TKRO_Keywords() {
    for (const TKeyword& keyword : kKeywords) Add(keyword.name);
}

const TKRO_Keywords& KRO_Keywords() { return *keywords; }

// While compiling, Eval runs built-in arguments without a program at hand;
// the declaration in ExtFunctions then gives the result type.
EXPRESSION_ITEM KRO_CompileTimeHandler(EXPRESSION_ITEM*, int functionIndex, void* userData) {
    const TProgram* program = static_cast<const TProgram*>(userData);
    const TFunction* function = program != nullptr ? program->functions[functionIndex] : nullptr;
    const TExtFunction* declared = ExtFunctions()[functionIndex];
    TExpressionItemType kind = ekInteger;
    if (function != nullptr)
        kind = function->resultType;
    else if (declared != nullptr)
        kind = declared->result;
    EXPRESSION_ITEM result = MakeItem(kind);
    if (kind == ekOwnedText) result.value.text.text = new TString;
    return result;
}

void CreateCompilerState() {
    if (keywords == nullptr) keywords = new TKRO_Keywords;
}

void DestroyCompilerState() {
    delete keywords;
    keywords = nullptr;
}
