// TTextEditor: the aggregating commands: calc (sums, averages, minimum and
// maximum of the working range's numbers, on worker threads when
// multithreading is on), count (occurrences of a text) and ecount (lines
// for which a condition holds). Each shows its value in the calc result
// dialog.
#include "TextEditorCalcCommands.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "TextEditor.h"
#include "TextEditorLineCommandRun.h"
#include "TextEditorTexts.h"

namespace {

// ORDER: a word's row is its operation's code (TCalcOperation).
const char* const kCalcWords[] = {"sum", "ave", "min", "max", "dsum", "dave", "dmin", "dmax"};

// The code of an operation word, compared exactly; -1 for none.
int CalcOperationOf(const TString& word) {
    for (int code = coSum; code <= coDMax; ++code)
        if (word.str() == kCalcWords[code]) return code;
    return -1;
}

bool IsIntegerOperation(int operation) { return operation >= coSum && operation <= coMax; }

// Applies one value to a result by the operation's rule.
void ApplyCalcValue(int operation, TCalcResult& into, __int128 integer, double real) {
    switch (operation) {
        case coSum:
        case coAve:
            into.integer += integer;
            break;
        case coMin:
            if (integer < into.integer) into.integer = integer;
            break;
        case coMax:
            if (integer > into.integer) into.integer = integer;
            break;
        case coDSum:
        case coDAve:
            into.real += real;
            break;
        case coDMin:
            if (real < into.real) into.real = real;
            break;
        case coDMax:
            if (real > into.real) into.real = real;
            break;
        default:
            break;
    }
}

// The whole decimal value, sign first.
std::string DecimalText(__int128 value) {
    unsigned __int128 magnitude = value < 0 ? -static_cast<unsigned __int128>(value) : value;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return value < 0 ? "-" + digits : digits;
}

// What min and max show when they read no value.
constexpr int kMinOfNothing = 2147483647;
constexpr int kMaxOfNothing = -2147483647;

// The averages divide by the lines of the range, every one of them counted;
// an empty range gives 0. Every line gives a value (0 when it holds no
// number), so only an empty range leaves min and max without one. The value
// is printed whole.
TString CalcResultText(int operation, TCalcResult total, int lineCount) {
    if (operation == coAve) total.integer = lineCount > 0 ? total.integer / lineCount : 0;
    if (operation == coDAve) total.real = lineCount > 0 ? total.real / lineCount : 0.0;
    if (lineCount <= 0 && operation == coMin) total.integer = kMinOfNothing;
    if (lineCount <= 0 && operation == coMax) total.integer = kMaxOfNothing;
    if (IsIntegerOperation(operation)) return TString(DecimalText(total.integer));
    char text[64];
    std::snprintf(text, sizeof text, "%g", total.real);
    return TString(text);
}

// Runs perLine(line) over the working range on this thread, between
// ProgressChange(0, -1) and (0, -2), each line reported; input is ignored
// meanwhile.
template <class PerLine>
void ForEachWorkingLine(TTextEditor& editor, PerLine perLine) {
    TLineCommandRun running(editor);
    int first = 0, last = 0;
    ClampedWorkingRange(editor, first, last);
    const int count = std::max(last - first + 1, 0);
    editor.ProgressChange(0, -1);
    for (int line = first; line <= last; ++line) {
        perLine(line);
        editor.ProgressChange(count, line - first);
    }
    editor.ProgressChange(0, -2);
}

}  // namespace

TCalcResult CalcStartValue(int operation) {
    TCalcResult start;
    if (operation == coMin) start.integer = std::numeric_limits<int64_t>::max();
    if (operation == coMax) start.integer = std::numeric_limits<int64_t>::min();
    if (operation == coDMin) start.real = std::numeric_limits<double>::infinity();
    if (operation == coDMax) start.real = -std::numeric_limits<double>::infinity();
    return start;
}

// ---- TCmdCalcTask ----

TCmdCalcTask::TCmdCalcTask(TStringContainer& lines, const TTextEditorSelection& selection, int operation,
                           const TExpression& expression, bool hasExpression, TCalcResult* total)
    : TTextEditorLineTask(lines, selection),
      operation(operation),
      expression(expression),
      hasExpression(hasExpression),
      total(total) {}

TTextEditorLineTask* TCmdCalcTask::Clone() const {
    return new TCmdCalcTask(*lines, selection, operation, expression, hasExpression, total);
}

void TCmdCalcTask::Bind(TTextEditorRuntimeVars& variables) {
    vars = &variables;
    expression.SetVars(&variables);
    result = CalcStartValue(operation);
    if (hasExpression && work.GetCapacity() < 1024) work.Reserve(1024);
}

void TCmdCalcTask::ProcessLine(int line) {
    const TString* text = &(*lines)[line];
    if (hasExpression) {
        expression.EvalS(work);
        text = &work;
    }
    int64_t integer = 0;
    double real = 0;
    if (IsIntegerOperation(operation))
        text->ParseInt64(integer);
    else
        text->ParseDouble(real);
    ApplyCalcValue(operation, result, integer, real);
}

void TCmdCalcTask::Complete() {
    if (total != nullptr) ApplyCalcValue(operation, *total, result.integer, result.real);
}

// ---- The commands ----

// The word before the first blank names the operation; the text after it,
// unless empty or blank, is the expression, compiled first.
void TTextEditor::CmdCalc(TString& argument) {
    const int blank = argument.Pos(' ');
    const TString word = blank < 0 ? argument : argument.Left(blank);
    TString expressionText = blank < 0 ? TString() : argument.Substring(blank + 1, argument.Length() - 1);
    const bool hasExpression = expressionText.str().find_first_not_of(' ') != std::string::npos;
    TExpression expression;
    if (hasExpression && !CreateExpression(expressionText, expression)) return;
    const int operation = CalcOperationOf(word);
    if (operation < 0) {
        const std::string text = TextEditorText(100468, "Unknown operation");
        MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), "calc", MB_OK | MB_ICONERROR);
        return;
    }
    TCalcResult total = CalcStartValue(operation);
    TCmdCalcTask prototype(lines, selection, operation, expression, hasExpression, &total);
    RunLineTasks(prototype, false);
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    ShowCalcResult(CalcResultText(operation, total, last - first + 1));
}

void TTextEditor::CmdCount(TString& argument) {
    int64_t count = 0;
    ForEachWorkingLine(*this, [&](int line) { count += lines[line].Count(argument); });
    ShowCalcResult(TString(std::to_string(count)));
}

void TTextEditor::CmdECount(TString& argument) {
    TExpression condition;
    if (!CreateExpression(argument, condition)) return;
    runtimeVars.ClearRecentLines();
    int64_t count = 0;
    ForEachWorkingLine(*this, [&](int line) {
        NewLine(line);
        if (condition.EvalBool()) ++count;
    });
    ShowCalcResult(TString(std::to_string(count)));
}
