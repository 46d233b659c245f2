// The built-in function table (TMultiFunction, TMultiFunctionList), the variadic list-function table and their lookups
// and dispatchers.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "Container.h"
#include "EvalStack.h"
#include "ExpressionModel.h"
#include "String.h"
#include "Variables.h"

// Kind of one parameter of a built-in or list function: how the compiler
// compiles the argument and what the function finds on the stack.
// ORDER: the codes are part of the function tables.
typedef uint8_t TFunctionParamType;
constexpr TFunctionParamType fpNumber = 0;
constexpr TFunctionParamType fpPoint = 1;
constexpr TFunctionParamType fpComplex = 2;
constexpr TFunctionParamType fpString = 3;
constexpr TFunctionParamType fpArray = 4;
constexpr TFunctionParamType fpArray2 = 5;
constexpr TFunctionParamType fpVariable = 6;
constexpr TFunctionParamType fpExpression = 7;
constexpr TFunctionParamType fpAny = 8;

// What calling a built-in or list function does besides computing a result
// from its arguments; one flags field per table entry.
typedef uint8_t TBuiltinFlags;
// Reaches outside the evaluator: files, folders, the clock, dialogs, threads,
// the environment, processes, the system shell (standard output included).
// Such a call must not run where nothing outside may be touched.
constexpr TBuiltinFlags bfReachesOutside = 0x01;
// Impure: the call has effects or state, or its result is not a function of
// its arguments alone: every outside function, random numbers, writes to
// variables or arrays its arguments name. A call of a pure function whose
// arguments are constants may be computed once in place of the call.
constexpr TBuiltinFlags bfImpure = 0x02;

// Name-to-position index of a table, rebuilt when the table's count changes;
// a hit whose entry no longer carries that name forces a rebuild. Safe to
// use from several threads.
class TNameIndex {
public:
    // build(add) must call add(name, position) for every name in position
    // order; stillNamed(position, word) checks a hit. -1 if absent.
    template <typename Build, typename Check>
    int Find(const TString& word, int count, Build build, Check stillNamed) const {
        std::lock_guard<std::mutex> hold(lock);
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (count != indexedCount || attempt == 1) {
                positions.clear();
                build([this](const TString& name, int position) { positions.emplace(name.c_str(), position); });
                indexedCount = count;
            }
            const auto found = positions.find(word.c_str());
            if (found == positions.end()) return -1;
            if (stillNamed(found->second, word)) return found->second;
        }
        return -1;
    }

private:
    mutable std::mutex lock;
    mutable std::unordered_map<std::string, int> positions;
    mutable int indexedCount = -1;
};

// One built-in function: its parameter kinds (owned bytes, in argument order)
// and the types its array and variable parameters require.
class TMultiFunction : public TContainer {
public:
    // Alias empty, array item type 0, variable type 0.
    TMultiFunction(const TString& name, TVariableType result);
    TMultiFunction(const TString& name, const TString& alias, TVariableType result);
    ~TMultiFunction() override;
    void FreeItem(void* item) override;

    void AddParam(TFunctionParamType kind);
    // Kind of parameter i; fpAny outside 0..count-1.
    TFunctionParamType GetParamType(int i) const;

    TString name;
    TString alias;
    TVariableType resultType;
    // Item type an array parameter must have; 0 or 1 accept any.
    TVariableType arrayItemType = 0;
    // Type a variable parameter must have; 1 accepts any, 0 none.
    TVariableType variableType = 0;
    // Stack kind the function pushes (1, 3, 20, 21, 22); the check pass pushes
    // a placeholder of this kind.
    TExpressionItemType pushedKind = ekInteger;
    // bfReachesOutside and bfImpure. A function added after the table's own
    // is impure, so never computed in advance, until its adder clears the
    // mark (its body is the adder's, which the evaluator cannot judge).
    TBuiltinFlags flags = bfImpure;
};

// The built-in functions in registration order; owns them. ORDER: a
// function's position is its identity in compiled expressions.
class TMultiFunctionList : public TContainer {
public:
    // Registers the built-in functions.
    TMultiFunctionList();
    ~TMultiFunctionList() override;
    // Null outside 0..count-1.
    TMultiFunction* operator[](int i) const;
    // Position of the first function whose name or non-empty alias equals
    // word exactly; -1 if none.
    int Find(const TString& word) const;

private:
    TNameIndex index;
};

// Count of functions the table registers itself (positions 0..151);
// positions above belong to functions added by extensions.
constexpr int kBuiltinFunctionCount = 152;
int BuiltinFunctionCount();

// One variadic list function.
class TVarFunction : public TContainerItem {
public:
    // Impure unless flags say otherwise, as for the built-ins.
    TVarFunction(const TString& name, TFunctionParamType paramType, TExpressionItemType resultType,
                 TBuiltinFlags flags = bfImpure);
    TString name;
    TFunctionParamType paramType;
    TExpressionItemType resultType;
    TBuiltinFlags flags;
};

// The list functions. ORDER: the position is the index in compiled items.
class TVarFunctionList : public TContainer {
public:
    TVarFunctionList();
    ~TVarFunctionList() override;
    // Null outside 0..count-1.
    TVarFunction* operator[](int i) const;
    // Position of the first function of that exact name; -1 if none.
    int Find(const TString& word) const;

private:
    TNameIndex index;
};

constexpr int kStrFormatListIndex = 28;

// The process-wide tables; valid between CreateFunctionTables and DestroyFunctionTables.
TMultiFunctionList& MultiFunctions();
TVarFunctionList& VarFunctions();
void CreateFunctionTables();
void DestroyFunctionTables();

// Appends function (the table owns it from then on); returns its position.
int AddMultiFunction(TMultiFunction* function);

// Evaluates a built-in call item: the arguments lie on the stack, the last
// on top; they are replaced by one result, in both passes.
// - A position outside the table, or a stack holding fewer items than the
//   function's parameters, pushes kind 255 (code 17) and pops nothing.
// - An array or variable argument that no longer designates a variable of
//   the declared dimension and type gives kind 255: code 28 (no array), 29
//   (other dimension), 26 (other item type), 20 (variable), 23 (not an array
//   or variable item at all).
// - The check pass pushes a placeholder of the function's pushed kind; the
//   clock functions run there too, and a target argument of readstring,
//   GetFileName or ReadLine that is no string variable, or of
//   intersection_point that is no point value, gives code 20.
// - The run pass runs the position's body; a position without a body yet
//   gives kind 255 with code 17.
// - A position above the built-ins goes to the multi-function handlers; when
//   none accepts it the check pass gives code 17 and the run pass integer 0.
void EvaluateMultiFunction(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check);
// Evaluates a list-function call item of argument count n in the same way.
void EvaluateVarFunction(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check);
