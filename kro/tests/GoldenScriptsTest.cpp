// Golden transcripts of the interpreter: every script the KRO tests compile and 200 generated ones, run, and all they did (tokens executed, drawing calls, boxes shown, printed text, variables, error codes) compared with transcripts recorded from the token-walking interpreter.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DrawingRuntime.h"
#include "EvaluateErrors.h"
#include "Gdi.h"
#include "Interpreter.h"
#include "KroTestSupport.h"
#include "Responder.h"

namespace {

const char kSeparator[] = "#### next script ####";

std::vector<std::string> ReadScripts(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> scripts;
    std::string line;
    std::string script;
    bool any = false;
    while (std::getline(file, line)) {
        if (line == kSeparator) {
            scripts.push_back(script);
            script.clear();
            any = false;
            continue;
        }
        script += (any ? "\n" : "") + line;
        any = true;
    }
    if (any) scripts.push_back(script);
    return scripts;
}

std::string Number(double d) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", d);
    return text;
}

std::string Number(int64_t i) { return std::to_string(i); }

// A value of an item type, exactly.
std::string ItemText(const void* item, TVariableType type) {
    switch (type) {
        case vtInt: return Number(*static_cast<const int64_t*>(item));
        case vtDouble: return Number(*static_cast<const double*>(item));
        case vtPoint: {
            const VPOINT& p = *static_cast<const VPOINT*>(item);
            return "{" + Number(p.x) + "," + Number(p.y) + "}";
        }
        case vtComplex: {
            const VCOMPLEX& c = *static_cast<const VCOMPLEX*>(item);
            return "{" + Number(c.re) + "," + Number(c.im) + "}";
        }
        case vtString: return "'" + std::string(static_cast<const TString*>(item)->c_str()) + "'";
        default: return "?";
    }
}

std::string VariableText(const TVariable& v) {
    std::string text = std::string(v.name.c_str()) + " " + std::string(GetVarTypeName(&v).c_str()) + " ";
    if (v.type >= vtInt && v.type <= vtComplex) return text + ItemText(&v.value, v.type);
    if (v.type == vtString) return text + (v.value.s != nullptr ? ItemText(v.value.s, vtString) : "null");
    if (v.type == vtArray) {
        for (int k = 0; k < v.value.a.count; ++k) text += (k > 0 ? "," : "") + ItemText(v.GetItem(k), v.value.a.itemtype);
        return text;
    }
    if (v.type == vtArray2) {
        for (int i = 0; i < v.value.a2.lines; ++i) {
            text += i > 0 ? ";" : "";
            for (int j = 0; j < v.value.a2.cols; ++j)
                text += (j > 0 ? "," : "") + ItemText(v.GetItem(i, j), v.value.a2.itemtype);
        }
    }
    return text;
}

std::vector<std::pair<int, int>> tokensRun;
void RecordToken(TProgram&, int tokenIndex, CONTROL_FRAME*, int depth, bool&) {
    tokensRun.emplace_back(tokenIndex, depth);
}

// FNV-1a over the tokens run and their depths.
uint64_t TraceHash() {
    uint64_t hash = 1469598103934665603u;
    for (const auto& token : tokensRun) {
        for (int part : {token.first, token.second}) {
            hash ^= static_cast<uint32_t>(part);
            hash *= 1099511628211u;
        }
    }
    return hash;
}

// What one script did, as text. Without watching, nothing sees the tokens
// run (the interpreter may take its shortcuts) and their line is left out.
std::string Transcript(const std::string& text, bool watchTokens) {
    std::ostringstream out;
    TStringContainer source = Lines(text);
    TStringContainer directories;
    directories.Add(TString("resources"));
    directories.Add(TString("units"));
    TUnitSubsList units;
    TProgram program;
    const bool compiled = KRO_Compile(source, program, directories, units);
    out << "compile " << (compiled ? 0 : KRO_ErrorCode) << " line " << (compiled ? 0 : KRO_ErrorLine) << "\n";
    if (!compiled) return out.str();

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 64, 64);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    KRO_OutDC = dc;
    EnableCallTrace(dc, true);
    std::vector<std::string> shown;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& box) {
        shown.push_back(std::to_string(static_cast<int>(box.kind)) + " '" + box.caption + "' '" + box.text + "'");
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    tokensRun.clear();
    KRO_TokenFunc = watchTokens ? RecordToken : nullptr;
    EvaluateErrorCode = 0;
    const int before = Variables.GetCount();
    testing::internal::CaptureStdout();
    KRO_Run(program, false);
    const std::string printed = testing::internal::GetCapturedStdout();
    KRO_TokenFunc = nullptr;

    if (watchTokens) {
        out << "tokens " << tokensRun.size() << " hash " << TraceHash() << " first";
        for (size_t k = 0; k < tokensRun.size() && k < 24; ++k) out << " " << tokensRun[k].first;
        out << "\n";
    }
    for (const std::string& call : GetCallTrace(dc)) out << "draw " << call << "\n";
    for (const std::string& box : shown) out << "shown " << box << "\n";
    if (!printed.empty()) out << "printed " << printed << "\n";
    for (int k = before; k < Variables.GetCount(); ++k) out << "variable " << VariableText(*Variables[k]) << "\n";
    out << "code " << int(EvaluateErrorCode) << " stopped " << KRO_RunWasStopped() << "\n";

    KRO_ReleaseApplicationGlobals(program);
    while (Variables.GetCount() > before) Variables.DeleteLast(true);
    RestoreGraphics();
    KRO_OutDC = nullptr;
    KRO_InitGraph();
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out.str();
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
