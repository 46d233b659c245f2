// Golden transcripts of the interpreter: every script the KRO tests compile and 200 generated ones, run, and all they did (tokens executed, drawing calls, boxes shown, printed text, variables, error codes) compared with transcripts recorded from the token-walking interpreter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptTranscript.h"

namespace {

// What one script did, as text: compiled, then run once.
std::string Transcript(const std::string& text, bool watchTokens) {
    TProgram program;
    bool compiled = false;
    const std::string compiledLine = CompileScript(text, program, compiled);
    if (!compiled) return compiledLine;
    return compiledLine + RunTranscript(program, watchTokens);
}

// The transcripts of a golden file, one per script.
std::vector<std::string> ReadTranscripts(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> transcripts;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("== ", 0) == 0) {
            transcripts.emplace_back();
            continue;
        }
        if (!transcripts.empty()) transcripts.back() += line + "\n";
    }
    return transcripts;
}

// A transcript without its tokens line.
std::string WithoutTokens(const std::string& transcript) {
    std::istringstream in(transcript);
    std::string kept;
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("tokens ", 0) != 0) kept += line + "\n";
    return kept;
}

// With KRO_GOLDEN_RECORD set the transcripts are written instead of compared.
void CompareWithGolden(const std::string& scriptsPath, const std::string& goldenPath) {
    const std::vector<std::string> scripts = ReadScripts(scriptsPath);
    ASSERT_FALSE(scripts.empty()) << scriptsPath;
    const int extFunctions = ExtFunctions().GetCount();
    std::vector<std::string> transcripts;
    for (const std::string& script : scripts) transcripts.push_back(Transcript(script, true));
    EXPECT_EQ(ExtFunctions().GetCount(), extFunctions);
    if (std::getenv("KRO_GOLDEN_RECORD") != nullptr) {
        std::ofstream file(goldenPath, std::ios::binary);
        for (size_t k = 0; k < transcripts.size(); ++k) file << "== " << k << "\n" << transcripts[k];
        return;
    }
    const std::vector<std::string> golden = ReadTranscripts(goldenPath);
    ASSERT_EQ(golden.size(), scripts.size()) << goldenPath;
    for (size_t k = 0; k < scripts.size(); ++k) {
        EXPECT_EQ(transcripts[k], golden[k]) << "script " << k << ":\n" << scripts[k].substr(0, 400);
        EXPECT_EQ(Transcript(scripts[k], false), WithoutTokens(golden[k]))
            << "script " << k << " unwatched:\n" << scripts[k].substr(0, 400);
    }
}

TEST(GoldenScriptsTest, EveryScriptOfTheTestsDoesWhatItDid) {
    CompareWithGolden("golden/test_scripts.txt", "golden/test_scripts.golden");
}

TEST(GoldenScriptsTest, GeneratedScriptsDoWhatTheyDid) {
    CompareWithGolden("golden/generated_scripts.txt", "golden/generated_scripts.golden");
}

}  // namespace
