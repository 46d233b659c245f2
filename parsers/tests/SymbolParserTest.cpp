// Tests of TSymbolParser: the hook order per character, symbol history and lookahead, errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SymbolParser.h"
#include "ParserTestText.h"

namespace {

std::string Shown(char c) { return c == '\n' ? std::string("\\n") : std::string(1, c); }

// Records every event hook as text; ParseChar only when asked.
class TracingParser : public TSymbolParser {
public:
    void ParseWhiteSpace(char c) override { Record("ws(" + Shown(c) + ")"); }
    void ParseSeparator(char c) override { Record("sep(" + Shown(c) + ")"); }
    void ParseBlockStart(int type) override { Record(BlockEvent("bs", type)); }
    void ParseBlockEnd(int type) override { Record(BlockEvent("be", type)); }
    void ParseSymbol(const TString& symbol) override {
        Record("sym(" + symbol.str() + ")");
        if (symbol == TString(stopAt)) ParseError(7);
    }
    void ParseChar(char c) override {
        if (traceChars) Record("char(" + Shown(c) + ")");
    }

    std::string BlockEvent(const char* kind, int type) const {
        return std::string(kind) + "(" + std::to_string(type) + "@" + std::to_string(GetBlockDepth()) + ")";
    }
    void Record(const std::string& event) {
        if (!trace.empty()) trace += " ";
        trace += event;
    }

    std::string trace;
    bool traceChars = false;
    std::string stopAt = "\x01";
};

struct TraceCase {
    std::vector<std::string> lines;
    int blockMask;
    const char* expected;
};

TEST(SymbolParser, HookTraceFollowsTheDocumentedOrder) {
    const TraceCase cases[] = {
        {{"a,b"}, 3, "sym(a) sep(,) sym(b) ws(\\n)"},
        {{"x  y"}, 3, "sym(x) ws( ) ws( ) sym(y) ws(\\n)"},
        {{"say 'a b' now"}, 3, "sym(say) ws( ) sep(') sep(') sym('a b') ws( ) sym(now) ws(\\n)"},
        {{"f(x)"}, 3, "sym(f) sep(() bs(1@1) sym(x) sep()) be(1@1) ws(\\n)"},
        // A quote mark after a separator is delivered alone; the run's text keeps its closing mark.
        {{"f('x')"}, 3, "sym(f) sep(() bs(1@1) sep(') sym(') sep(') sym(x') sep()) be(1@1) ws(\\n)"},
        {{"a[b]"}, 3, "sym(a[b]) ws(\\n)"},
        {{"a[b]"}, 4, "sym(a) sep([) bs(4@1) sym(b) sep(]) be(4@1) ws(\\n)"},
        {{"ab", "cd"}, 3, "sym(ab) ws(\\n) sym(cd) ws(\\n)"},
        {{}, 3, ""},
        {{""}, 3, "ws(\\n)"},
        {{"{a)"}, 3, "sep({) bs(2@1) sym(a) sep()) be(1@1) ws(\\n)"},
        // Stray closing brackets reach the hook at depth 0 and leave the stack empty.
        {{"a)(b"}, 3, "sym(a) sep()) be(1@0) sep(() bs(1@1) sym(b) ws(\\n)"},
        {{"a > b", "<c"}, 8, "sym(a) ws( ) sep(>) be(8@0) ws( ) sym(b) ws(\\n) sep(<) bs(8@1) sym(c) ws(\\n)"},
    };
    for (const TraceCase& test : cases) {
        TracingParser parser;
        parser.SetBlockMask(test.blockMask);
        TStringContainer lines = Lines(test.lines);
        EXPECT_TRUE(parser.Parse(lines));
        EXPECT_EQ(parser.trace, test.expected) << "first line: " << (test.lines.empty() ? "" : test.lines[0]);
    }
}

TEST(SymbolParser, ParseCharComesLastForEveryCharacter) {
    TracingParser parser;
    parser.traceChars = true;
    TStringContainer lines = Lines({"f(x)"});
    parser.Parse(lines);
    EXPECT_EQ(parser.trace,
              "char(f) sym(f) sep(() bs(1@1) char(() char(x) sym(x) sep()) be(1@1) char()) ws(\\n) char(\\n)");
}

TEST(SymbolParser, QuoteModesAndQuotesFlag) {
    struct QuoteCase {
        int mode;
        bool quotes;
        const char* line;
        const char* expected;
    } cases[] = {
        {1, true, "\"a b\"", "sym(\"a) ws( ) sym(b\") ws(\\n)"},
        {2, true, "x \"a b\"", "sym(x) ws( ) sep(\") sep(\") sym(\"a b\") ws(\\n)"},
        // The line start counts as a separator, so an opening mark there is delivered alone.
        {2, true, "\"a b\"", "sep(\") sym(\") sep(\") sym(a b\") ws(\\n)"},
        {2, true, "'a b'", "sym('a) ws( ) sym(b') ws(\\n)"},
        {0, true, "'a b'", "sym('a) ws( ) sym(b') ws(\\n)"},
        {3, false, "'a b'", "sym('a) ws( ) sym(b') ws(\\n)"},
        // Brackets and separators inside a quoted run are ordinary characters.
        {3, true, "x '(a,b)'", "sym(x) ws( ) sep(') sep(') sym('(a,b)') ws(\\n)"},
    };
    for (const QuoteCase& test : cases) {
        TracingParser parser;
        parser.SetQuoteMode(test.mode);
        parser.SetQuotes(test.quotes);
        TStringContainer lines = Lines({test.line});
        parser.Parse(lines);
        EXPECT_EQ(parser.trace, test.expected) << test.line << " mode " << test.mode;
        EXPECT_EQ(parser.GetBlockDepth(), 0);
    }
}

TEST(SymbolParser, UnclosedQuoteAndBlockAreResetByTheNextParse) {
    TracingParser parser;
    TStringContainer open = Lines({"'a (", "{"});
    EXPECT_TRUE(parser.Parse(open));
    EXPECT_TRUE(parser.GetInQuote());
    TStringContainer second = Lines({"(b"});
    parser.trace.clear();
    EXPECT_TRUE(parser.Parse(second));
    EXPECT_EQ(parser.trace, "sep(() bs(1@1) sym(b) ws(\\n)");
}

TEST(SymbolParser, LineStopsAtAnEmbeddedNul) {
    TracingParser parser;
    TStringContainer lines;
    lines.Add(TString("ab\0cd", 5));
    parser.Parse(lines);
    EXPECT_EQ(parser.trace, "sym(ab) ws(\\n)");
}

// Records each delivered symbol together with the history as the hook sees it.
class HistoryParser : public TSymbolParser {
public:
    void ParseSymbol(const TString& symbol) override {
        delivered.push_back(symbol.str());
        int next = GetCurrentBufferIndex() + 1;
        following.push_back(next < GetSymbolHistory().GetCount() ? GetSymbolHistory()[next].str() : "-");
    }
    std::vector<std::string> delivered;
    std::vector<std::string> following;
};

// A parser of this package keeps its history and block stack aside while it
// runs with direct calls; what it leaves equals what the same parser leaves
// when a derived class makes it run through the virtual table.
class DerivedParser : public TSymbolParser {};

TEST(SymbolParser, HistoryAndBlocksLeftAsThroughTheVirtualTable) {
    const std::vector<std::string> text = {"a (b 'c", "d' e) {f [g", "h(i) j k 'l", "m n"};
    for (int size : {0, 1, 2, 3, 4, 7, 20}) {
        for (int lookahead : {-1, 0, 1}) {
            SCOPED_TRACE("history " + std::to_string(size) + ", lookahead " + std::to_string(lookahead));
            TSymbolParser direct;
            DerivedParser derived;
            for (TSymbolParser* parser : {&direct, static_cast<TSymbolParser*>(&derived)}) {
                parser->SetHistorySize(size);
                parser->SetLookahead(lookahead);
                parser->SetBlockMask(15);
            }
            // Twice: the second run starts afresh.
            for (int run = 0; run < 2; ++run) {
                TStringContainer directLines = Lines(text);
                TStringContainer derivedLines = Lines(text);
                EXPECT_EQ(direct.Parse(directLines), derived.Parse(derivedLines));
                EXPECT_EQ(direct.GetSymbolHistory().GetCount(), derived.GetSymbolHistory().GetCount());
                EXPECT_EQ(direct.GetSymbolHistory().GetText(TString("|")),
                          derived.GetSymbolHistory().GetText(TString("|")));
                EXPECT_EQ(direct.GetNewSymbol(), derived.GetNewSymbol());
                EXPECT_EQ(direct.GetBlockDepth(), derived.GetBlockDepth());
                EXPECT_EQ(direct.GetBlockStack().GetCount(), derived.GetBlockStack().GetCount());
                for (int i = 0; i < direct.GetBlockDepth() && i < derived.GetBlockDepth(); ++i)
                    EXPECT_EQ(direct.GetBlockStack()[i], derived.GetBlockStack()[i]) << i;
                EXPECT_EQ(direct.GetCurrentBlockType(), derived.GetCurrentBlockType());
            }
        }
    }
}

TEST(SymbolParser, HistoryKeepsTheLastSymbols) {
    HistoryParser parser;
    TStringContainer lines = Lines({"a b c d e"});
    parser.Parse(lines);
    EXPECT_EQ(parser.GetSymbolHistory().GetText(TString(" ")), TString("b c d e"));
    EXPECT_EQ(parser.delivered, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(SymbolParser, LookaheadOneDeliversOneSymbolLate) {
    HistoryParser parser;
    parser.SetLookahead(1);
    TStringContainer lines = Lines({"a b c"});
    parser.Parse(lines);
    EXPECT_EQ(parser.delivered, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(parser.following, (std::vector<std::string>{"b", "c"}));
}

TEST(SymbolParser, LookaheadMinusOneWithoutHistoryDeliversAtOnce) {
    HistoryParser parser;
    parser.SetLookahead(-1);
    parser.SetHistorySize(0);
    TStringContainer lines = Lines({"a b", "c"});
    parser.Parse(lines);
    EXPECT_EQ(parser.delivered, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(parser.GetSymbolHistory().GetCount(), 0);
}

TEST(SymbolParser, HistorySizeZeroWithoutLookaheadDeliversNothing) {
    HistoryParser parser;
    parser.SetHistorySize(0);
    TStringContainer lines = Lines({"a b"});
    parser.Parse(lines);
    EXPECT_TRUE(parser.delivered.empty());
}

TEST(SymbolParser, ErrorStopsAtOnceAndTheCodeSurvivesTheNextParse) {
    TracingParser parser;
    parser.stopAt = "stop";
    TStringContainer lines = Lines({"a stop b", "c"});
    EXPECT_FALSE(parser.Parse(lines));
    // The character that reported the error finishes its own hooks.
    EXPECT_EQ(parser.trace, "sym(a) ws( ) sym(stop) ws( )");
    EXPECT_EQ(parser.GetError(), 7);

    TStringContainer clean = Lines({"x"});
    EXPECT_TRUE(parser.Parse(clean));
    EXPECT_EQ(parser.GetError(), 7);
}

// Records where each separator and line end was seen.
class PositionParser : public TSymbolParser {
public:
    void ParseSeparator(char) override { positions.emplace_back(GetLineIndex(), GetCharIndex()); }
    void ParseWhiteSpace(char) override { positions.emplace_back(GetLineIndex(), GetCharIndex()); }
    std::vector<std::pair<int, int>> positions;
};

TEST(SymbolParser, HooksSeeTheLineAndCharacterIndex) {
    PositionParser parser;
    TStringContainer lines = Lines({"a,b", "c;"});
    parser.Parse(lines);
    std::vector<std::pair<int, int>> expected{{0, 1}, {0, 3}, {1, 1}, {1, 2}};
    EXPECT_EQ(parser.positions, expected);
}

TEST(SymbolParser, CharacterClasses) {
    TSymbolParser parser;
    for (char c : std::string(".,;:?!+-*/=%(){}")) EXPECT_TRUE(parser.IsSeparator(c)) << c;
    for (char c : std::string(" \n\r\t")) EXPECT_TRUE(parser.IsWhiteSpace(c));
    EXPECT_FALSE(parser.IsSeparator('['));
    EXPECT_FALSE(parser.IsSeparator('<'));
    EXPECT_FALSE(parser.IsSeparator('_'));
    EXPECT_EQ(parser.GetBlockType(']'), 4);
    EXPECT_EQ(parser.GetBlockType('<'), 8);
    EXPECT_EQ(parser.GetBlockType('a'), 0);
    EXPECT_TRUE(TSymbolParser::IsSpecialChar("abc", 2, 'b'));
    EXPECT_FALSE(TSymbolParser::IsSpecialChar("abc", 2, 'c'));
    EXPECT_EQ(parser.GetCurrentBlockType(), 0);
}

}  // namespace
