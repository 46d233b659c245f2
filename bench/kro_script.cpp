// A loop-heavy script (nested loops with arithmetic and array stores, a recursive function) in kro beside the same program in Lua 5.4.
#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdint>
#include <string>

#include "Compiler.h"
#include "Interpreter.h"
#include "Program.h"
#include "Variables.h"

namespace {

// 100 x 100 passes of the inner loop, then fib(15) (1973 calls).
const char* const kKroScript =
    "func int fib(int n)\n"
    "if n < 2\n"
    "return n\n"
    "end\n"
    "return fib(n - 1) + fib(n - 2)\n"
    "end\n"
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

void BM_KroScript(benchmark::State& state) {
    TStringContainer source = ScriptLines(kKroScript);
    TStringContainer directories;
    TUnitSubsList units;
    TProgram program;
    if (!KRO_Compile(source, program, directories, units)) {
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

}  // namespace
