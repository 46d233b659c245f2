// Scripts in kro beside the same programs in Lua 5.4: a loop-heavy mix, a numeric loop, a loop of function calls, string building and a recursive fib.
#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Compiler.h"
#include "Interpreter.h"
#include "Program.h"
#include "Variables.h"

namespace {

// The recursive fib of both kro scripts that call it.
#define KRO_FIB                          \
    "func int fib(int n)\n"              \
    "if n < 2\n"                         \
    "return n\n"                         \
    "end\n"                              \
    "return fib(n - 1) + fib(n - 2)\n"   \
    "end\n"

// 100 x 100 passes of the inner loop, then fib(15) (1973 calls).
const char* const kKroScript =
    KRO_FIB
    "int cells[100]\n"
    "int sum = 0\n"
    "int i\n"
    "int j\n"
    "for i = 0; i < 100; i = i + 1\n"
    "for j = 0; j < 100; j = j + 1\n"
    "cells[j] = (i * j + sum) % 1000\n"
    "sum = sum + cells[j]\n"
    "end\n"
    "end\n"
    "int f = fib(15)";

const char* const kLuaScript =
    "local function fib(n)\n"
    "  if n < 2 then return n end\n"
    "  return fib(n - 1) + fib(n - 2)\n"
    "end\n"
    "local cells = {}\n"
    "for k = 0, 99 do cells[k] = 0 end\n"
    "local sum = 0\n"
    "for i = 0, 99 do\n"
    "  for j = 0, 99 do\n"
    "    cells[j] = (i * j + sum) % 1000\n"
    "    sum = sum + cells[j]\n"
    "  end\n"
    "end\n"
    "return sum, fib(15)";

constexpr int64_t kFib15 = 610;

TStringContainer ScriptLines(const std::string& text) {
    TStringContainer lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.Add(TString(text.substr(start, end - start)));
        start = end + 1;
    }
    lines.Add(TString(text.substr(start)));
    return lines;
}

int64_t IntVariable(const char* name) {
    const TVariable* v = Variables.GetVar(name);
    return v != nullptr && v->type == vtInt ? v->value.i : -1;
}

// The script compiled into program; false when it does not compile.
bool CompileKro(const char* text, TProgram& program) {
    TStringContainer source = ScriptLines(text);
    TStringContainer directories;
    TUnitSubsList units;
    return KRO_Compile(source, program, directories, units);
}

void BM_KroScript(benchmark::State& state) {
    TProgram program;
    if (!CompileKro(kKroScript, program)) {
        state.SkipWithError("the script does not compile");
        return;
    }
    int64_t sum = 0;
    for (auto _ : state) {
        KRO_Run(program, false);
        sum = IntVariable("sum");
        if (IntVariable("f") != kFib15) state.SkipWithError("wrong fib(15)");
        KRO_ReleaseApplicationGlobals(program);
    }
    state.counters["sum"] = static_cast<double>(sum);
}
BENCHMARK(BM_KroScript)->Unit(benchmark::kMillisecond);

void BM_LuaScript(benchmark::State& state) {
    lua_State* lua = luaL_newstate();
    luaL_openlibs(lua);
    if (luaL_loadstring(lua, kLuaScript) != LUA_OK) {
        state.SkipWithError("the Lua script does not load");
        lua_close(lua);
        return;
    }
    int64_t sum = 0;
    for (auto _ : state) {
        lua_pushvalue(lua, -1);
        if (lua_pcall(lua, 0, 2, 0) != LUA_OK) {
            state.SkipWithError("the Lua script fails");
            break;
        }
        sum = lua_tointeger(lua, -2);
        if (lua_tointeger(lua, -1) != kFib15) state.SkipWithError("wrong fib(15)");
        lua_pop(lua, 2);
    }
    state.counters["sum"] = static_cast<double>(sum);
    lua_close(lua);
}
BENCHMARK(BM_LuaScript)->Unit(benchmark::kMillisecond);

// ---- pairs timed side by side

// One script in both languages. The kro script leaves its result in the
// variable result; the Lua chunk returns it. Both results are written as
// text ("%.17g" for numbers) and must agree.
struct TScriptPair {
    const char* name;
    const char* kro;
    const char* lua;
    double iterations;  // what "per iteration" divides by
};

const TScriptPair kPairs[] = {
    {"numeric-loop",
     "double result = 0\n"
     "int i\n"
     "for i = 0; i < 200000; i = i + 1\n"
     "result = result + i * 0.5 - result / 3.0\n"
     "end",
     "local acc = 0.0\n"
     "for i = 0, 199999 do\n"
     "  acc = acc + i * 0.5 - acc / 3.0\n"
     "end\n"
     "return acc",
     200000},
    {"call-loop",
     "func double step(double a, int b)\n"
     "return a * 0.5 + b\n"
     "end\n"
     "double result = 0\n"
     "int i\n"
     "for i = 0; i < 200000; i = i + 1\n"
     "result = step(result, i)\n"
     "end",
     "local function step(a, b)\n"
     "  return a * 0.5 + b\n"
     "end\n"
     "local acc = 0.0\n"
     "for i = 0, 199999 do\n"
     "  acc = step(acc, i)\n"
     "end\n"
     "return acc",
     200000},
    {"string-building",
     "string s = ''\n"
     "int result = 0\n"
     "int i\n"
     "for i = 0; i < 200000; i = i + 1\n"
     "s = s + $(i % 10)\n"
     "if strlen(s) >= 64\n"
     "result = result + strlen(s)\n"
     "s = ''\n"
     "end\n"
     "end",
     "local line = \"\"\n"
     "local total = 0\n"
     "for i = 0, 199999 do\n"
     "  line = line .. tostring(i % 10)\n"
     "  if #line >= 64 then\n"
     "    total = total + #line\n"
     "    line = \"\"\n"
     "  end\n"
     "end\n"
     "return total",
     200000},
    {"fib25",
     KRO_FIB
     "int result = fib(25)",
     "local function fib(n)\n"
     "  if n < 2 then return n end\n"
     "  return fib(n - 1) + fib(n - 2)\n"
     "end\n"
     "return fib(25)",
     242785},  // calls of fib
};

std::string NumberText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string KroResult() {
    const TVariable* v = Variables.GetVar("result");
    if (v == nullptr) return "missing";
    if (v->type == vtInt) return NumberText(static_cast<double>(v->value.i));
    if (v->type == vtDouble) return NumberText(v->value.d);
    return "?";
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double TimeKro(TProgram& program, std::string& result) {
    const auto start = std::chrono::steady_clock::now();
    KRO_Run(program, false);
    const auto stop = std::chrono::steady_clock::now();
    result = KroResult();
    KRO_ReleaseApplicationGlobals(program);
    return Seconds(stop - start);
}

double TimeLua(lua_State* lua, std::string& result) {
    lua_pushvalue(lua, -1);
    const auto start = std::chrono::steady_clock::now();
    const int status = lua_pcall(lua, 0, 1, 0);
    const auto stop = std::chrono::steady_clock::now();
    result = status == LUA_OK ? NumberText(lua_tonumber(lua, -1)) : "failed";
    lua_pop(lua, 1);
    return Seconds(stop - start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rounds of kro then Lua; the medians give the figures (fifteen, so that a
// neighbour's burst on a shared machine moves no median).
constexpr int kRounds = 15;

void BM_Pair(benchmark::State& state, const TScriptPair& pair) {
    TProgram program;
    if (!CompileKro(pair.kro, program)) {
        state.SkipWithError("the kro script does not compile");
        return;
    }
    lua_State* lua = luaL_newstate();
    luaL_openlibs(lua);
    if (luaL_loadstring(lua, pair.lua) != LUA_OK) {
        state.SkipWithError("the Lua script does not load");
        lua_close(lua);
        return;
    }
    std::vector<double> kroTimes;
    std::vector<double> luaTimes;
    std::string kroResult;
    std::string luaResult;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            kroTimes.push_back(TimeKro(program, kroResult));
            luaTimes.push_back(TimeLua(lua, luaResult));
        }
    }
    lua_close(lua);
    if (kroResult != luaResult) {
        state.SkipWithError(("results differ: kro " + kroResult + ", Lua " + luaResult).c_str());
        return;
    }
    const double kroNs = Median(kroTimes) * 1e9 / pair.iterations;
    const double luaNs = Median(luaTimes) * 1e9 / pair.iterations;
    state.counters["kro_ns"] = kroNs;
    state.counters["lua_ns"] = luaNs;
    state.counters["ratio"] = kroNs / luaNs;
    std::printf("%-16s kro %8.2f ns/iteration  Lua %8.2f ns/iteration  ratio %5.2f  (result %s)\n", pair.name, kroNs,
                luaNs, kroNs / luaNs, kroResult.c_str());
}

const bool kRegistered = [] {
    for (const TScriptPair& pair : kPairs)
        benchmark::RegisterBenchmark((std::string("Pair/") + pair.name).c_str(), BM_Pair, pair)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
