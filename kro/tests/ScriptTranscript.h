// Transcripts of script runs for the tests that compare them: what one run of a compiled program did (tokens run, drawing calls, boxes shown, printed text, the variables it left, the error code) as text.
#pragma once

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "DrawingRuntime.h"
#include "EvaluateErrors.h"
#include "Gdi.h"
#include "Interpreter.h"
#include "KroTestSupport.h"
#include "Responder.h"

// Scripts of a file, separated by lines holding kScriptSeparator.
constexpr char kScriptSeparator[] = "#### next script ####";

inline std::vector<std::string> ReadScripts(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> scripts;
    std::string line;
    std::string script;
    bool any = false;
    while (std::getline(file, line)) {
        if (line == kScriptSeparator) {
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

inline std::string Number(double d) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", d);
    return text;
}

inline std::string Number(int64_t i) { return std::to_string(i); }

// A value of an item type, exactly.
inline std::string ItemText(const void* item, TVariableType type) {
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

inline std::string VariableText(const TVariable& v) {
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

// The tokens a watched run ran, with the depth of the control stack at each.
inline std::vector<std::pair<int, int>> tokensRun;
inline void RecordToken(TProgram&, int tokenIndex, CONTROL_FRAME*, int depth, bool&) {
    tokensRun.emplace_back(tokenIndex, depth);
}

// FNV-1a over the tokens run and their depths.
inline uint64_t TraceHash() {
    uint64_t hash = 1469598103934665603u;
    for (const auto& token : tokensRun) {
        for (int part : {token.first, token.second}) {
            hash ^= static_cast<uint32_t>(part);
            hash *= 1099511628211u;
        }
    }
    return hash;
}

// Compiles text into program with the tests' folders of resources and
// units; the transcript's first line (the error code and line, 0 0 when it
// compiled).
inline std::string CompileScript(const std::string& text, TProgram& program, bool& compiled) {
    TStringContainer source = Lines(text);
    TStringContainer directories;
    directories.Add(TString("resources"));
    directories.Add(TString("units"));
    TUnitSubsList units;
    compiled = KRO_Compile(source, program, directories, units);
    return "compile " + std::to_string(compiled ? 0 : KRO_ErrorCode) + " line " +
           std::to_string(compiled ? 0 : KRO_ErrorLine) + "\n";
}

// What one run of program did, as text; the variables it left go again.
// Without watching, nothing sees the tokens run (the interpreter may take
// its shortcuts) and their line is left out.
inline std::string RunTranscript(TProgram& program, bool watchTokens) {
    std::ostringstream out;
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
