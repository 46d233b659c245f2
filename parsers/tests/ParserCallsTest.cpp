// Every parser over generated HTML, Java and C text and over the edge-case
// texts of the other tests: the virtual calls a derived parser sees (name,
// arguments, result and the position they come at) and the results each
// parser leaves, against digests taken before the character loop was made
// fast, and the results of each parser against those of the same parser
// with every operation overridden.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "CommentFilter.h"
#include "HtmlCaseParser.h"
#include "JavaParser.h"
#include "ParserTestText.h"
#include "SymbolParser.h"
#include "SymbolScan.h"
#include "TaggedFinder.h"
#include "TaggedTextParser.h"

namespace {

// FNV-1a digest of what is fed to it.
class TDigest {
public:
    void Add(const void* bytes, size_t size) {
        const auto* data = static_cast<const unsigned char*>(bytes);
        for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ data[i]) * 1099511628211ull;
    }
    void Add(int64_t value) { Add(&value, sizeof(value)); }
    void Add(const char* text) { Add(text, std::char_traits<char>::length(text) + 1); }
    void Add(const TString& text) {
        Add(int64_t(text.Length()));
        Add(text.c_str(), size_t(text.Length()));
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 1469598103934665603ull;
};

// A parser with every virtual operation overridden: each call is noted with
// its arguments and where the parser stands, then the parser's own operation
// runs and its result is noted.
template <class P>
class TRecorder : public P {
public:
    using P::Parse;

    bool IsWhiteSpace(char c) override { return Note("IsWhiteSpace", c, [&] { return P::IsWhiteSpace(c); }); }
    bool IsSeparator(char c) override { return Note("IsSeparator", c, [&] { return P::IsSeparator(c); }); }
    void NewSymbolParsed() override {
        Enter("NewSymbolParsed");
        P::NewSymbolParsed();
    }
    void ClearNewSymbol() override {
        Enter("ClearNewSymbol");
        P::ClearNewSymbol();
    }
    bool IsQuoteMark(char c) override { return Note("IsQuoteMark", c, [&] { return P::IsQuoteMark(c); }); }
    bool IsBlockStart(char c) override { return Note("IsBlockStart", c, [&] { return P::IsBlockStart(c); }); }
    bool IsBlockEnd(char c) override { return Note("IsBlockEnd", c, [&] { return P::IsBlockEnd(c); }); }
    int GetBlockType(char c) override { return Note("GetBlockType", c, [&] { return P::GetBlockType(c); }); }
    char ConvertChar(char c) override { return Note("ConvertChar", c, [&] { return P::ConvertChar(c); }); }
    void ParseChar(char c) override {
        Enter("ParseChar", c);
        P::ParseChar(c);
    }
    void ParseWhiteSpace(char c) override {
        Enter("ParseWhiteSpace", c);
        P::ParseWhiteSpace(c);
    }
    void ParseSeparator(char c) override {
        Enter("ParseSeparator", c);
        P::ParseSeparator(c);
    }
    void ParseBlockStart(int type) override {
        Enter("ParseBlockStart", type);
        P::ParseBlockStart(type);
    }
    void ParseBlockEnd(int type) override {
        Enter("ParseBlockEnd", type);
        P::ParseBlockEnd(type);
    }
    void ParseSymbol(const TString& symbol) override {
        Enter("ParseSymbol");
        calls.Add(symbol);
        P::ParseSymbol(symbol);
    }
    void ParseError(int code) override {
        Enter("ParseError", code);
        P::ParseError(code);
    }
    bool Parse(TStringContainer& lines) override {
        return Note("Parse", lines.GetCount(), [&] { return P::Parse(lines); });
    }

    TDigest calls;

protected:
    void Enter(const char* name, int64_t argument = 0) {
        calls.Add(name);
        calls.Add(argument);
        calls.Add(int64_t(this->GetLineIndex()) << 32 | uint32_t(this->GetCharIndex()));
    }
    // Notes the call, runs it (after noting, so nested calls come in order)
    // and notes its result.
    template <class Run>
    auto Note(const char* name, int64_t argument, Run run) -> decltype(run()) {
        Enter(name, argument);
        const auto result = run();
        calls.Add(int64_t(result));
        return result;
    }
};

// The tagged parsers' own operations on top.
template <class P>
class TTaggedRecorder : public TRecorder<P> {
public:
    void ParseTag(const TString& name, const TString& value) override {
        this->Enter("ParseTag");
        this->calls.Add(name);
        this->calls.Add(value);
        P::ParseTag(name, value);
    }
    void ParseKnownTag(int id, const TString& value, bool closing) override {
        this->Enter("ParseKnownTag", id * 2 + closing);
        this->calls.Add(value);
        P::ParseKnownTag(id, value, closing);
    }
    void ParseUnknownTag(const TString& name, const TString& value, bool closing) override {
        this->Enter("ParseUnknownTag", closing);
        this->calls.Add(name);
        this->calls.Add(value);
        P::ParseUnknownTag(name, value, closing);
    }
};

// ---- What each parser leaves ----

void AddBaseState(TDigest& digest, const TSymbolParser& parser, bool ok) {
    digest.Add(ok);
    digest.Add(parser.GetError());
    const TStringContainer& history = parser.GetSymbolHistory();
    digest.Add(history.GetCount());
    for (int i = 0; i < history.GetCount(); ++i) digest.Add(history[i]);
    digest.Add(parser.GetNewSymbol());
    const TIntContainer& blocks = parser.GetBlockStack();
    for (int i = 0; i < blocks.GetCount(); ++i) digest.Add(blocks[i]);
    digest.Add(parser.GetBlockDepth());
    digest.Add(parser.GetInQuote());
    digest.Add(parser.GetLineIndex());
    digest.Add(parser.GetCharIndex());
}

void AddLines(TDigest& digest, const TStringContainer& lines) {
    for (int i = 0; i < lines.GetCount(); ++i) digest.Add(lines[i]);
}

// Tags of the generated HTML; FONT is disabled, so it is an unknown tag.
void AddHtmlTags(TTaggedTextParser& parser) {
    const char* const names[] = {"P",  "B",  "I",  "A",  "TABLE", "TR",   "TD",
                                 "IMG", "BR", "UL", "LI", "H1",    "SPAN", "FONT"};
    int id = 1;
    for (const char* name : names) parser.AddTag(id++, TString(name));
    parser.GetTags()[13].enabled = false;
}

// One way of running a parser over text: the same settings for the plain
// parser and its recording twin; the digest of what the parser leaves.
struct TParserKind {
    const char* name;
    std::function<uint64_t(TStringContainer& lines, TDigest* calls)> run;
};

// Runs the plain parser P, or with calls set its recording twin R, after
// configure; result adds what the run leaves.
template <class P, class R, class Configure, class Result>
uint64_t RunParser(TStringContainer& lines, TDigest* calls, Configure configure, Result result) {
    TDigest digest;
    if (calls != nullptr) {
        R parser;
        configure(parser);
        result(parser, lines, digest);
        *calls = parser.calls;
    } else {
        P parser;
        configure(parser);
        result(parser, lines, digest);
    }
    return digest.Value();
}

auto ParseAndKeepState() {
    return [](TSymbolParser& parser, TStringContainer& lines, TDigest& digest) {
        AddBaseState(digest, parser, parser.Parse(lines));
    };
}

const TParserKind kKinds[] = {
    {"symbol parser",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TSymbolParser, TRecorder<TSymbolParser>>(
             lines, calls, [](TSymbolParser&) {}, ParseAndKeepState());
     }},
    {"symbol parser, lookahead 1",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TSymbolParser, TRecorder<TSymbolParser>>(
             lines, calls,
             [](TSymbolParser& parser) {
                 parser.SetBlockMask(15);
                 parser.SetQuoteMode(2);
                 parser.SetHistorySize(2);
                 parser.SetLookahead(1);
             },
             ParseAndKeepState());
     }},
    {"symbol parser, no quotes, no history",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TSymbolParser, TRecorder<TSymbolParser>>(
             lines, calls,
             [](TSymbolParser& parser) {
                 parser.SetQuotes(false);
                 parser.SetQuoteMode(1);
                 parser.SetHistorySize(0);
                 parser.SetLookahead(-1);
             },
             ParseAndKeepState());
     }},
    {"comment filter",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TCommentFilter, TRecorder<TCommentFilter>>(
             lines, calls, [](TCommentFilter&) {},
             [](TCommentFilter& parser, TStringContainer& text, TDigest& digest) {
                 AddBaseState(digest, parser, parser.Parse(text));
                 digest.Add(parser.GetCommentState());
             });
     }},
    {"HTML case parser, upper",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<THtmlCaseParser, TRecorder<THtmlCaseParser>>(
             lines, calls, [](THtmlCaseParser&) {},
             [](THtmlCaseParser& parser, TStringContainer& text, TDigest& digest) {
                 AddBaseState(digest, parser, parser.Parse(text));
                 AddLines(digest, text);
             });
     }},
    {"HTML case parser, lower",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<THtmlCaseParser, TRecorder<THtmlCaseParser>>(
             lines, calls, [](THtmlCaseParser& parser) { parser.SetUpperCase(false); },
             [](THtmlCaseParser& parser, TStringContainer& text, TDigest& digest) {
                 AddBaseState(digest, parser, parser.Parse(text));
                 AddLines(digest, text);
             });
     }},
    {"Java parser",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TJavaParser, TRecorder<TJavaParser>>(
             lines, calls, [](TJavaParser&) {},
             [](TJavaParser& parser, TStringContainer& text, TDigest& digest) {
                 AddBaseState(digest, parser, parser.Parse(text));
                 digest.Add(parser.GetCommentState());
                 for (int i = 0; i < parser.GetCount(); ++i) {
                     TJavaClassData& found = *parser[i];
                     digest.Add(found.name);
                     for (int m = 0; m < found.GetCount(); ++m) {
                         digest.Add(found[m]->line);
                         digest.Add(found[m]->AsString());
                     }
                 }
             });
     }},
    {"tagged text parser",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TTaggedTextParser, TTaggedRecorder<TTaggedTextParser>>(
             lines, calls, AddHtmlTags, [](TTaggedTextParser& parser, TStringContainer& text, TDigest& digest) {
                 AddBaseState(digest, parser, parser.Parse(text));
                 digest.Add(parser.GetCurrentTagId());
                 digest.Add(parser.GetInTag());
             });
     }},
    {"tagged, case-sensitive",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TTaggedTextParser, TTaggedRecorder<TTaggedTextParser>>(
             lines, calls,
             [](TTaggedTextParser& parser) {
                 AddHtmlTags(parser);
                 parser.AddTag(40, TString("font"));
                 parser.SetCaseSensitive(true);
                 parser.SetKeepBlanksInTags(true);
             },
             [](TTaggedTextParser& parser, TStringContainer& text, TDigest& digest) {
                 AddBaseState(digest, parser, parser.Parse(text));
                 digest.Add(parser.GetCurrentTagId());
             });
     }},
    {"tagged finder",
     [](TStringContainer& lines, TDigest* calls) {
         return RunParser<TTaggedFinder, TTaggedRecorder<TTaggedFinder>>(
             lines, calls, AddHtmlTags, [](TTaggedFinder& parser, TStringContainer& text, TDigest& digest) {
                 TStringContainer words = Lines({"picture", "f\xE1jl", "window", "missing", "it's"});
                 bool found = false;
                 AddBaseState(digest, parser, parser.Parse(text, words, found, false, true, false));
                 digest.Add(found);
                 for (int i = 0; i < parser.GetHits().GetCount(); ++i) digest.Add(parser.GetHits()[i]);
                 bool wholeFound = false;
                 AddBaseState(digest, parser, parser.Parse(text, words, wholeFound, true, false, true));
                 digest.Add(wholeFound);
             });
     }},
};

// ---- The texts ----

TStringContainer ReadLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    TStringContainer lines;
    std::string line;
    while (std::getline(file, line)) lines.Add(TString(line));
    return lines;
}

// The edge cases of the other parser tests, and a few more: quotes, brackets,
// comments and tags cut across lines, control characters, a NUL inside a
// line, bytes above 127.
std::vector<std::vector<std::string>> Fixtures() {
    return {
        {"a,b", "x  y", "say 'a b' now", "f(x)", "f('x')", "a[b]", "ab", "cd", "", "a<b>c{d}e"},
        {"\t'a\" \"b'\r", "\"x 'y\" z'", "'", "'open", "(", "]", ")))", "{[<>]}"},
        {"a/*b*/c", "// line /* not", "'/*' x */ y", "/* open", "still */ out", "x//y", "*/", "/*/"},
        {"<a href=x.htm>Link</a>", "<img src=\"pic.gif\" alt='Big one'>", "<!-- c --> <b>", "<!-- <i> x -->",
         "<p", "class=x>text", "it's <b> x ' <i>", "a > b <u>\xE1", "<td \xE1rv\xEDz>"},
        {"x<b>y</b>", "< img = \"a.bmp\" >", "</B><//i>", "<font size=2>t</font>", "plain words only"},
        {"<=x>"}, {"<a=>"}, {"<>"}, {"<a<b>"}, {"a>b"},
        {"class A { void f(int x, String s) {} }", "class A { int n = g(1); }", "class B { void g() {} }",
         "class C {", "  // void h(int a) {", "  void k(long[] v, Map<K, V> m) { x = y; }", "}", "class"},
        {std::string("ab\0cd", 5), std::string("\0", 1), "\x01\x7F\x80\xFF", "\xC1\xE9 \xF6\xFC"},
    };
}

struct TText {
    std::string name;
    TStringContainer lines;
};

std::vector<TText> Texts() {
    const std::string folder = PARSERS_TEST_TEXTS;
    std::vector<TText> texts;
    for (const char* kind : {"html", "java", "c"}) texts.push_back({kind, ReadLines(folder + "/" + kind + ".txt")});
    int n = 0;
    for (const std::vector<std::string>& fixture : Fixtures()) {
        TStringContainer lines;
        for (const std::string& line : fixture) lines.Add(TString(line.data(), int(line.size())));
        texts.push_back({"fixture " + std::to_string(n++), std::move(lines)});
    }
    return texts;
}

// Digests of the calls and of the results, per text and parser kind, taken
// before the character loop was made fast.
struct TExpected {
    const char* text;
    const char* kind;
    uint64_t calls;
    uint64_t results;
};

const TExpected kExpected[] = {
    {"html", "symbol parser", 0xba5f511ae2de48f8ull, 0x6420b22ffbb08b55ull},
    {"html", "symbol parser, lookahead 1", 0x4f1e7d58643e724bull, 0x5f43b102fc317045ull},
    {"html", "symbol parser, no quotes, no history", 0x5ef8c0a9f87473e9ull, 0x94d1163b44264016ull},
    {"html", "comment filter", 0xde24945d02fd9a94ull, 0x53b4ea9f30256b2aull},
    {"html", "HTML case parser, upper", 0xba5f511ae2de48f8ull, 0x70f154fbaeefc2c4ull},
    {"html", "HTML case parser, lower", 0xba5f511ae2de48f8ull, 0x2d86dda652c4cf04ull},
    {"html", "Java parser", 0x519a93fde037fadfull, 0x5d061e5621a94c08ull},
    {"html", "tagged text parser", 0x162f7d79dcc47f3cull, 0x960d964cda9b6dd7ull},
    {"html", "tagged, case-sensitive", 0x4563320ae8314a6full, 0xfc04785387fe9ed6ull},
    {"html", "tagged finder", 0xa3ce7f619d91783full, 0xab484dcd7ad2ae55ull},
    {"java", "symbol parser", 0x51eadc893429dda4ull, 0x1895536394efc394ull},
    {"java", "symbol parser, lookahead 1", 0x5328098ab72cd5a5ull, 0x4578a1d47eea5998ull},
    {"java", "symbol parser, no quotes, no history", 0x5ce906513008cf8bull, 0x563a80272f37882dull},
    {"java", "comment filter", 0x763d6e07e3264950ull, 0x29f18a3e9b6719d0ull},
    {"java", "HTML case parser, upper", 0x51eadc893429dda4ull, 0xe5482cf9d4d736c3ull},
    {"java", "HTML case parser, lower", 0x51eadc893429dda4ull, 0xf4fc90158e851463ull},
    {"java", "Java parser", 0xc7b1904f986768f6ull, 0x83f4ca9f2c00ba76ull},
    {"java", "tagged text parser", 0x9911f76274b8308full, 0x1763ab509a7d7be7ull},
    {"java", "tagged, case-sensitive", 0xffe81761511abe18ull, 0xa72402baa19d0600ull},
    {"java", "tagged finder", 0x6e979ea1975b7e9cull, 0x4941fe11f21750f3ull},
    {"c", "symbol parser", 0x574d1ed8cef1b281ull, 0xd28f620213e8e2bfull},
    {"c", "symbol parser, lookahead 1", 0xa40b4765f649f744ull, 0xcd6942d2e83561ffull},
    {"c", "symbol parser, no quotes, no history", 0x859b59de8df5f6b6ull, 0x9d6b3f0c0f0a57b3ull},
    {"c", "comment filter", 0xe278e78346d3940aull, 0x9e4053f7bb6c4f6aull},
    {"c", "HTML case parser, upper", 0x574d1ed8cef1b281ull, 0xa6b3e744aee88fceull},
    {"c", "HTML case parser, lower", 0x574d1ed8cef1b281ull, 0xf577c2650f4d898eull},
    {"c", "Java parser", 0x57d234efd2579d62ull, 0x9e4053f7bb6c4f6aull},
    {"c", "tagged text parser", 0x19500de8b06fd567ull, 0xd5ce308a144cfbf2ull},
    {"c", "tagged, case-sensitive", 0x1308a2c633249b27ull, 0x0b4f3728ca9751b2ull},
    {"c", "tagged finder", 0xb15df76b1d210594ull, 0xe117df9059d57f23ull},
    {"fixture 0", "symbol parser", 0x247b00a038737d06ull, 0xc27abd3b85f55836ull},
    {"fixture 0", "symbol parser, lookahead 1", 0xda9f430df5f443c4ull, 0x36f9e4fa95507b62ull},
    {"fixture 0", "symbol parser, no quotes, no history", 0x6fc51d45599f93e7ull, 0xe13b7d702b8d9021ull},
    {"fixture 0", "comment filter", 0x247b00a038737d06ull, 0x704152caa689faf6ull},
    {"fixture 0", "HTML case parser, upper", 0x247b00a038737d06ull, 0x864e333c087fcc69ull},
    {"fixture 0", "HTML case parser, lower", 0x247b00a038737d06ull, 0xabd1fdf7db6ca1c9ull},
    {"fixture 0", "Java parser", 0x4498a9e85e0dc562ull, 0x704152caa689faf6ull},
    {"fixture 0", "tagged text parser", 0xf47895eeceee0595ull, 0x1375c0a79a29b061ull},
    {"fixture 0", "tagged, case-sensitive", 0xab29c919bb5db181ull, 0xe997810061b81e41ull},
    {"fixture 0", "tagged finder", 0x2ebe707e0d837462ull, 0x2815899b09e02443ull},
    {"fixture 1", "symbol parser", 0x8ae1a88f31385023ull, 0xfc702793f319232full},
    {"fixture 1", "symbol parser, lookahead 1", 0xe3ac1f793550f681ull, 0xed9ab2434cd7de96ull},
    {"fixture 1", "symbol parser, no quotes, no history", 0x5a1b3c6f052e21f8ull, 0x9608a851b4215bccull},
    {"fixture 1", "comment filter", 0xbfa2a44039266ae8ull, 0xcce3d8c44b01157aull},
    {"fixture 1", "HTML case parser, upper", 0x8ae1a88f31385023ull, 0xc433b90d1419e2acull},
    {"fixture 1", "HTML case parser, lower", 0x8ae1a88f31385023ull, 0xc433b90d1419e2acull},
    {"fixture 1", "Java parser", 0xc3f08e5fae45ed30ull, 0xcce3d8c44b01157aull},
    {"fixture 1", "tagged text parser", 0xfe31264d9994db89ull, 0xc2e6b5e17e31068dull},
    {"fixture 1", "tagged, case-sensitive", 0xfe31264d9994db89ull, 0xe1b3840b1198a6edull},
    {"fixture 1", "tagged finder", 0xe4f1374c4e21e4d5ull, 0x78889786d1132183ull},
    {"fixture 2", "symbol parser", 0x737f2b31f192e3fcull, 0x03bd4eccd3489292ull},
    {"fixture 2", "symbol parser, lookahead 1", 0xea02954aad61698eull, 0x192d0f4dec043ad2ull},
    {"fixture 2", "symbol parser, no quotes, no history", 0x4764391cbb2b4bdcull, 0x3918533693537d69ull},
    {"fixture 2", "comment filter", 0x737f2b31f192e3fcull, 0xfab3e01fcbf662f3ull},
    {"fixture 2", "HTML case parser, upper", 0x737f2b31f192e3fcull, 0x5ba5c057ca9f9523ull},
    {"fixture 2", "HTML case parser, lower", 0x737f2b31f192e3fcull, 0x5ba5c057ca9f9523ull},
    {"fixture 2", "Java parser", 0xf9289c5468d09ba6ull, 0xfab3e01fcbf662f3ull},
    {"fixture 2", "tagged text parser", 0xbeae982c9037c292ull, 0x06151ddb5091afa9ull},
    {"fixture 2", "tagged, case-sensitive", 0xbeae982c9037c292ull, 0x10db56284f0a8489ull},
    {"fixture 2", "tagged finder", 0x4a7892b16f7d2b2aull, 0x973367d1d57de343ull},
    {"fixture 3", "symbol parser", 0x28486ff2951422d0ull, 0x1cfefbb0e9ce5241ull},
    {"fixture 3", "symbol parser, lookahead 1", 0x18663f87804ff701ull, 0xc2f45d558a92d276ull},
    {"fixture 3", "symbol parser, no quotes, no history", 0x610cf50dc67bd595ull, 0x714569ad43fefa81ull},
    {"fixture 3", "comment filter", 0x28486ff2951422d0ull, 0xe09757821c0e6461ull},
    {"fixture 3", "HTML case parser, upper", 0x28486ff2951422d0ull, 0xda3a1e4174870bc2ull},
    {"fixture 3", "HTML case parser, lower", 0x28486ff2951422d0ull, 0x41fd9fd5b5691082ull},
    {"fixture 3", "Java parser", 0x491c480f62124adfull, 0xa66f4632b8ba2feaull},
    {"fixture 3", "tagged text parser", 0x971f50832c88903aull, 0x92f80159bb703badull},
    {"fixture 3", "tagged, case-sensitive", 0x426166e94730be77ull, 0xb5478d518baeba3dull},
    {"fixture 3", "tagged finder", 0xaf0f6699fa4bdc5full, 0xcea8756a938d3b39ull},
    {"fixture 4", "symbol parser", 0x69f8d761f54ab962ull, 0xbb1e239020fe3d2cull},
    {"fixture 4", "symbol parser, lookahead 1", 0x175170a73aa9cf01ull, 0x89d84dcfd8d3958dull},
    {"fixture 4", "symbol parser, no quotes, no history", 0x94f44c6948073ce3ull, 0x5ac5497813f820d7ull},
    {"fixture 4", "comment filter", 0x69f8d761f54ab962ull, 0x5978556892889aacull},
    {"fixture 4", "HTML case parser, upper", 0x69f8d761f54ab962ull, 0xd583e6690773c042ull},
    {"fixture 4", "HTML case parser, lower", 0x69f8d761f54ab962ull, 0x24dc481141dcf6e2ull},
    {"fixture 4", "Java parser", 0x6ac8eeba5f232aa9ull, 0x5978556892889aacull},
    {"fixture 4", "tagged text parser", 0x666a627bb214052cull, 0x872d421efbb77e97ull},
    {"fixture 4", "tagged, case-sensitive", 0x0d35f7b216bf003full, 0xdbc3ccbe5b3361b7ull},
    {"fixture 4", "tagged finder", 0x44732f173c2b4ab8ull, 0x01f0dbce830de743ull},
    {"fixture 5", "symbol parser", 0x807c0e3f3d4a8f77ull, 0x4df85acffc2b513eull},
    {"fixture 5", "symbol parser, lookahead 1", 0xe598ce6cbf2fcd49ull, 0xe7560362498e68ebull},
    {"fixture 5", "symbol parser, no quotes, no history", 0x807c0e3f3d4a8f77ull, 0xab0b9deb446c4647ull},
    {"fixture 5", "comment filter", 0x807c0e3f3d4a8f77ull, 0xe382fe7f4bf364feull},
    {"fixture 5", "HTML case parser, upper", 0x807c0e3f3d4a8f77ull, 0x4adb0fee66353c13ull},
    {"fixture 5", "HTML case parser, lower", 0x807c0e3f3d4a8f77ull, 0x4a6e0fee65d86a33ull},
    {"fixture 5", "Java parser", 0xd2065c3a49b83f7bull, 0xe382fe7f4bf364feull},
    {"fixture 5", "tagged text parser", 0x63382dadefea7b28ull, 0x54a95dc035902d7cull},
    {"fixture 5", "tagged, case-sensitive", 0x63382dadefea7b28ull, 0x398d3359fc1e95fcull},
    {"fixture 5", "tagged finder", 0x76c81a49dd233bd4ull, 0xb2e137406fecd163ull},
    {"fixture 6", "symbol parser", 0x18dd22e77bcc0298ull, 0x33eb58b203d6075full},
    {"fixture 6", "symbol parser, lookahead 1", 0x4fbed116685ed626ull, 0x8d280900fa09533cull},
    {"fixture 6", "symbol parser, no quotes, no history", 0x18dd22e77bcc0298ull, 0xab0b9deb446c4647ull},
    {"fixture 6", "comment filter", 0x18dd22e77bcc0298ull, 0x5258f07ff469693full},
    {"fixture 6", "HTML case parser, upper", 0x18dd22e77bcc0298ull, 0x92c1cde89fb10787ull},
    {"fixture 6", "HTML case parser, lower", 0x18dd22e77bcc0298ull, 0x7e6c2de8036a6927ull},
    {"fixture 6", "Java parser", 0x43cd06eee8ebb9ecull, 0x5258f07ff469693full},
    {"fixture 6", "tagged text parser", 0xfbd719007067be37ull, 0x1f34f6e6d94d715dull},
    {"fixture 6", "tagged, case-sensitive", 0xfbd719007067be37ull, 0xc18f2a5a1722d7bdull},
    {"fixture 6", "tagged finder", 0xa38b5029a3a64bd6ull, 0x881250272b990743ull},
    {"fixture 7", "symbol parser", 0xf59659f5ecb358c1ull, 0x12aa6d52280863d8ull},
    {"fixture 7", "symbol parser, lookahead 1", 0x17b955341ede3d88ull, 0xf12af3b502d08981ull},
    {"fixture 7", "symbol parser, no quotes, no history", 0xf59659f5ecb358c1ull, 0xf12af3b502d08981ull},
    {"fixture 7", "comment filter", 0xf59659f5ecb358c1ull, 0xafadf57d3c994ed8ull},
    {"fixture 7", "HTML case parser, upper", 0xf59659f5ecb358c1ull, 0x81ea0b0449ea3f44ull},
    {"fixture 7", "HTML case parser, lower", 0xf59659f5ecb358c1ull, 0x81ea0b0449ea3f44ull},
    {"fixture 7", "Java parser", 0xb02ffc82571f4450ull, 0xafadf57d3c994ed8ull},
    {"fixture 7", "tagged text parser", 0xc18e0feb8ae54c45ull, 0x6ac05301e54d40baull},
    {"fixture 7", "tagged, case-sensitive", 0xc18e0feb8ae54c45ull, 0xb3f5a09826f84d7aull},
    {"fixture 7", "tagged finder", 0x776cb2395e67e2ceull, 0x3c42df325a264823ull},
    {"fixture 8", "symbol parser", 0x57b866b88304cd62ull, 0xe2af97b9b060fe03ull},
    {"fixture 8", "symbol parser, lookahead 1", 0x35e41418dbd95b80ull, 0x1ab027bfddf14274ull},
    {"fixture 8", "symbol parser, no quotes, no history", 0x57b866b88304cd62ull, 0x8c10d6e2397cfc26ull},
    {"fixture 8", "comment filter", 0x57b866b88304cd62ull, 0xe388f38008ba9c63ull},
    {"fixture 8", "HTML case parser, upper", 0x57b866b88304cd62ull, 0x0e3367533981cce7ull},
    {"fixture 8", "HTML case parser, lower", 0x57b866b88304cd62ull, 0x3854685f3a956ee7ull},
    {"fixture 8", "Java parser", 0xffc3c44af6f7765aull, 0xe388f38008ba9c63ull},
    {"fixture 8", "tagged text parser", 0x96d98a060ef5a2d1ull, 0x49cfe255b484ad3full},
    {"fixture 8", "tagged, case-sensitive", 0x96d98a060ef5a2d1ull, 0x19ea61a287f0cb5eull},
    {"fixture 8", "tagged finder", 0x02ef8b3712d3b601ull, 0x149e07bcb1082ca5ull},
    {"fixture 9", "symbol parser", 0xef3f514e15614b0full, 0x32a129a5817c654dull},
    {"fixture 9", "symbol parser, lookahead 1", 0xe34573e8fc293027ull, 0x86aa5cabb48ea65bull},
    {"fixture 9", "symbol parser, no quotes, no history", 0xef3f514e15614b0full, 0xd2302cabf7e13f60ull},
    {"fixture 9", "comment filter", 0xef3f514e15614b0full, 0xa8b35f903b3450edull},
    {"fixture 9", "HTML case parser, upper", 0xef3f514e15614b0full, 0x95100f882b3aa861ull},
    {"fixture 9", "HTML case parser, lower", 0xef3f514e15614b0full, 0x95100f882b3aa861ull},
    {"fixture 9", "Java parser", 0xd0789c9309ae9593ull, 0xa8b35f903b3450edull},
    {"fixture 9", "tagged text parser", 0x8063f6a73bce2e00ull, 0x4579194e48b4ed42ull},
    {"fixture 9", "tagged, case-sensitive", 0x8063f6a73bce2e00ull, 0xe7d2656142b53902ull},
    {"fixture 9", "tagged finder", 0xc049479c4cb38342ull, 0x3c42df325a264823ull},
    {"fixture 10", "symbol parser", 0x5c3f64309af678ddull, 0xc09b887ef84d53bcull},
    {"fixture 10", "symbol parser, lookahead 1", 0xefad386c308c36b5ull, 0x1386455580857ce9ull},
    {"fixture 10", "symbol parser, no quotes, no history", 0x5c3f64309af678ddull, 0xc79dc6bfed97f56cull},
    {"fixture 10", "comment filter", 0x5c3f64309af678ddull, 0xd2253736e0b0233cull},
    {"fixture 10", "HTML case parser, upper", 0x5c3f64309af678ddull, 0xfc667e5b6ed6c993ull},
    {"fixture 10", "HTML case parser, lower", 0x5c3f64309af678ddull, 0x1e4068d518fc27d3ull},
    {"fixture 10", "Java parser", 0x19b61a648db34210ull, 0x2a3b91556a2f7907ull},
    {"fixture 10", "tagged text parser", 0x9540276d8b367887ull, 0xee031541c10d2defull},
    {"fixture 10", "tagged, case-sensitive", 0x1335ab4ca7b72fc2ull, 0xeacfd8d8c189160full},
    {"fixture 10", "tagged finder", 0x78465381e99dc97cull, 0xffa8d9a569b59603ull},
    {"fixture 11", "symbol parser", 0x94f0cd4543a096eeull, 0x2c994f1408b8216full},
    {"fixture 11", "symbol parser, lookahead 1", 0xc4fc665061e365d7ull, 0xa11bd490d7c794d1ull},
    {"fixture 11", "symbol parser, no quotes, no history", 0x94f0cd4543a096eeull, 0xbf2a6e0431208823ull},
    {"fixture 11", "comment filter", 0x94f0cd4543a096eeull, 0xc586c736e607654full},
    {"fixture 11", "HTML case parser, upper", 0x94f0cd4543a096eeull, 0x80b276fb60c32b79ull},
    {"fixture 11", "HTML case parser, lower", 0x94f0cd4543a096eeull, 0x80b276fb60c32b79ull},
    {"fixture 11", "Java parser", 0xc4fc665061e365d7ull, 0xc586c736e607654full},
    {"fixture 11", "tagged text parser", 0x2fdeeb95ff20c241ull, 0xa362ffc949e4d8e3ull},
    {"fixture 11", "tagged, case-sensitive", 0x2fdeeb95ff20c241ull, 0xd84085a93338aa83ull},
    {"fixture 11", "tagged finder", 0x84a28dde24dc11ecull, 0xd9d596423d563183ull},
};

const TExpected* ExpectedFor(const std::string& text, const char* kind) {
    for (const TExpected& expected : kExpected)
        if (text == expected.text && std::string(kind) == expected.kind) return &expected;
    return nullptr;
}

TEST(ParserCalls, EveryParserMakesTheCallsAndLeavesTheResultsItAlwaysHas) {
    const std::vector<TText> texts = Texts();
    for (const TText& text : texts) {
        ASSERT_GT(text.lines.GetCount(), 0) << text.name;
        for (const TParserKind& kind : kKinds) {
            SCOPED_TRACE(text.name + ", " + kind.name);
            TStringContainer plainLines(text.lines), recordedLines(text.lines);
            TDigest calls;
            const uint64_t plain = kind.run(plainLines, nullptr);
            const uint64_t recorded = kind.run(recordedLines, &calls);
            EXPECT_EQ(plain, recorded);
            const TExpected* expected = ExpectedFor(text.name, kind.name);
            ASSERT_NE(expected, nullptr);
            EXPECT_EQ(calls.Value(), expected->calls);
            EXPECT_EQ(recorded, expected->results);
        }
    }
}

// A derived parser may take the direct calls from its own Parse: it then
// sees exactly the calls that reach it through the virtual table.
template <class Recorder>
class TDirectRecorder : public Recorder {
public:
    bool Parse(TStringContainer& lines) override {
        return this->Note("Parse", lines.GetCount(), [&] {
            if constexpr (std::is_base_of_v<TTaggedTextParser, Recorder>)
                return this->ParseTaggedAs(*this, lines);
            else
                return this->ParseAs(*this, lines);
        });
    }
};

TEST(ParserCalls, ADerivedParserTakingTheDirectCallsSeesTheSameCalls) {
    for (const TText& text : Texts()) {
        SCOPED_TRACE(text.name);
        TStringContainer symbolLines(text.lines), taggedLines(text.lines);
        TDirectRecorder<TRecorder<TSymbolParser>> symbol;
        TDigest symbolResults;
        AddBaseState(symbolResults, symbol, symbol.Parse(symbolLines));
        TDirectRecorder<TTaggedRecorder<TTaggedTextParser>> tagged;
        AddHtmlTags(tagged);
        TDigest taggedResults;
        AddBaseState(taggedResults, tagged, tagged.Parse(taggedLines));
        taggedResults.Add(tagged.GetCurrentTagId());
        taggedResults.Add(tagged.GetInTag());
        const TExpected* symbolExpected = ExpectedFor(text.name, "symbol parser");
        const TExpected* taggedExpected = ExpectedFor(text.name, "tagged text parser");
        ASSERT_NE(symbolExpected, nullptr);
        ASSERT_NE(taggedExpected, nullptr);
        EXPECT_EQ(symbol.calls.Value(), symbolExpected->calls);
        EXPECT_EQ(symbolResults.Value(), symbolExpected->results);
        EXPECT_EQ(tagged.calls.Value(), taggedExpected->calls);
        EXPECT_EQ(taggedResults.Value(), taggedExpected->results);
    }
}

}  // namespace
