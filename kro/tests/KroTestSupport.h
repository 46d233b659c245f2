// Helpers of the kro tests: compiling a text given as one string, and checking Eval's lists afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Compiler.h"
#include "EvaluateEngine.h"
#include "ExtensionHooks.h"
#include "Program.h"
#include "Variables.h"

// Lines separated by '\n'.
inline TStringContainer Lines(const std::string& text) {
    TStringContainer lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        lines.Add(TString(text.substr(start, stop - start)));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

// Saves source in memory and loads it into target; on success the saved
// bytes of both must agree.
inline bool ReloadProgram(const TProgram& source, TProgram& target) {
    TMemBuffer saved;
    source.WriteToMemBuffer(saved);
    saved.SeekRead(0);
    if (!target.ReadFromMemBuffer(saved)) return false;
    TMemBuffer again;
    target.WriteToMemBuffer(again);
    return again.GetSize() == saved.GetSize() &&
           std::memcmp(again.GetBlock(), saved.GetBlock(), static_cast<size_t>(saved.GetSize())) == 0;
}

// Compiles into its own program and checks that Variables and ExtFunctions
// end as they began, whatever the outcome.
class KroCompileTest : public ::testing::Test {
protected:
    bool Compile(const std::string& text) { return CompileInto(program, text); }

    bool CompileInto(TProgram& target, const std::string& text) {
        TStringContainer source = Lines(text);
        const int variables = Variables.GetCount();
        const int functions = ExtFunctions().GetCount();
        const bool compiled = KRO_Compile(source, target, directories, units);
        EXPECT_EQ(Variables.GetCount(), variables) << text;
        EXPECT_EQ(ExtFunctions().GetCount(), functions) << text;
        return compiled;
    }

    std::vector<int> Types() const {
        std::vector<int> types;
        for (int i = 0; i < program.tokens.GetCount(); ++i) types.push_back(program.tokens[i]->type);
        return types;
    }

    TProgram program;
    TStringContainer directories;
    TUnitSubsList units;
};
