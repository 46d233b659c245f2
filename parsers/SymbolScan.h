// The character loop of TSymbolParser, written once over the way it reaches
// the parser's operations: TVirtualCalls through the virtual table (any
// parser), TDirectCalls<P> by direct calls (a parser whose exact class is P).
// Include it where ParseAs is used. The per-character steps are always
// inlined: with direct calls the whole character work then folds into one loop.
#pragma once

#include <algorithm>
#include <cstring>
#include <optional>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "SymbolParser.h"

// (The parsers of this package, kParserOfThisPackage, and the parsers of
// other packages that run as they do, kScansLikeThisPackage, are named in
// SymbolParser.h.) None of their operations that run for every character
// (the class tests, ConvertChar, ParseChar) reads the symbol being collected
// or changes the lines but for the character at hand, and each of them finds
// a plain character (symbol_parser_classes::kPlain) to be no white space,
// separator, quote mark or bracket, without any other effect of the tests.
// So with direct calls a plain character skips the tests, the lines are read
// once each, and the symbol's characters are gathered cheaply and added to
// it before any other operation runs.

// Every operation of the loop through the virtual table.
struct TVirtualCalls {
    using Parser = TSymbolParser;
    // Hooks may rewrite the lines, add or remove them: each character is
    // looked up again.
    static constexpr bool kGathersSymbol = false;
    // The block stack lives in fBlockStack, where a derived parser may read it.
    static constexpr bool kOwnBlockStack = false;
    static constexpr bool kSymbolAsText = false;
    static constexpr bool kRecentSymbolsAside = false;
    static constexpr bool kDeliversRecentSymbol = false;

    static char ConvertChar(Parser& p, char c) { return p.ConvertChar(c); }
    static bool IsWhiteSpace(Parser& p, char c) { return p.IsWhiteSpace(c); }
    static bool IsSeparator(Parser& p, char c) { return p.IsSeparator(c); }
    static bool IsQuoteMark(Parser& p, char c) { return p.IsQuoteMark(c); }
    static bool IsBlockStart(Parser& p, char c) { return p.IsBlockStart(c); }
    static bool IsBlockEnd(Parser& p, char c) { return p.IsBlockEnd(c); }
    static int GetBlockType(Parser& p, char c) { return p.GetBlockType(c); }
    static void NewSymbolParsed(Parser& p) { p.NewSymbolParsed(); }
    static void ClearNewSymbol(Parser& p) { p.ClearNewSymbol(); }
    static void ParseChar(Parser& p, char c) { p.ParseChar(c); }
    static void ParseWhiteSpace(Parser& p, char c) { p.ParseWhiteSpace(c); }
    static void ParseSeparator(Parser& p, char c) { p.ParseSeparator(c); }
    static void ParseBlockStart(Parser& p, int type) { p.ParseBlockStart(type); }
    static void ParseBlockEnd(Parser& p, int type) { p.ParseBlockEnd(type); }
    static void ParseSymbol(Parser& p, const TString& symbol) { p.ParseSymbol(symbol); }
};

// The class that declares the operation a member pointer of type M points to.
template <class M>
struct TDeclaringClass;
template <class R, class C, class... A>
struct TDeclaringClass<R (C::*)(A...)> {
    using Type = C;
};
template <class M>
inline constexpr bool kDeclaredInThisPackage = kParserOfThisPackage<typename TDeclaringClass<M>::Type>;

// True when P has a ParseSymbolText, declared where its ParseSymbol is: a
// parser promising by it that ParseSymbol(word) does ParseSymbolText's work
// on the word's characters.
template <class P, class = void>
struct TSymbolTextOf : std::false_type {};
template <class P>
struct TSymbolTextOf<P, std::void_t<decltype(&P::ParseSymbolText)>>
    : std::is_same<typename TDeclaringClass<decltype(&P::ParseSymbolText)>::Type,
                   typename TDeclaringClass<decltype(&P::ParseSymbol)>::Type> {};

// Every operation of the loop called as P's own. Where P keeps the base's
// IsSeparator or NewSymbolParsed, whose base versions call other operations,
// those calls are direct too.
template <class P>
struct TDirectCalls {
    using Parser = P;
    static_assert(!kScansAsThisPackage<P> ||
                      (kDeclaredInThisPackage<decltype(&P::IsWhiteSpace)> &&
                       kDeclaredInThisPackage<decltype(&P::IsSeparator)> &&
                       kDeclaredInThisPackage<decltype(&P::IsQuoteMark)> &&
                       kDeclaredInThisPackage<decltype(&P::IsBlockStart)> &&
                       kDeclaredInThisPackage<decltype(&P::IsBlockEnd)> &&
                       kDeclaredInThisPackage<decltype(&P::GetBlockType)> &&
                       kDeclaredInThisPackage<decltype(&P::ConvertChar)> &&
                       kDeclaredInThisPackage<decltype(&P::ParseChar)> &&
                       kDeclaredInThisPackage<decltype(&P::ParseWhiteSpace)> &&
                       kDeclaredInThisPackage<decltype(&P::ParseSeparator)>),
                  "a parser running as this package's keeps their character operations");
    static constexpr bool kGathersSymbol =
        kScansLikeThisPackage<P> && std::is_same_v<decltype(&P::ConvertChar), char (TSymbolParser::*)(char)>;
    static constexpr bool kBaseIsSeparator = std::is_same_v<decltype(&P::IsSeparator), bool (TSymbolParser::*)(char)>;
    static constexpr bool kBaseNewSymbolParsed =
        std::is_same_v<decltype(&P::NewSymbolParsed), void (TSymbolParser::*)()>;
    // These parsers read the block stack only through GetBlockDepth and
    // GetCurrentBlockType while they run.
    static constexpr bool kOwnBlockStack = kScansLikeThisPackage<P>;
    // Parsers taking a word as its characters (ParseSymbolText).
    static constexpr bool kSymbolAsText = kScansLikeThisPackage<P> && TSymbolTextOf<P>::value;
    // Parsers whose hooks never read the new symbol and read the history
    // only through RecentSymbol: the history is kept aside while they run.
    // Their ParseSymbol does nothing, or for the Java parser the work of its
    // ParseSymbolText, which takes the symbol's characters instead.
    static constexpr bool kRecentSymbolsAside =
        std::is_same_v<P, TSymbolParser> || std::is_same_v<P, TCommentFilter> ||
        std::is_same_v<P, THtmlCaseParser> || std::is_same_v<P, TJavaParser>;
    static constexpr bool kDeliversRecentSymbol = std::is_same_v<P, TJavaParser>;

    static char ConvertChar(P& p, char c) { return p.P::ConvertChar(c); }
    static bool IsWhiteSpace(P& p, char c) { return p.P::IsWhiteSpace(c); }
    static bool IsSeparator(P& p, char c) {
        if constexpr (kBaseIsSeparator)
            return p.template IsSeparatorWith<TDirectCalls>(p, c);
        else
            return p.P::IsSeparator(c);
    }
    static bool IsQuoteMark(P& p, char c) { return p.P::IsQuoteMark(c); }
    static bool IsBlockStart(P& p, char c) { return p.P::IsBlockStart(c); }
    static bool IsBlockEnd(P& p, char c) { return p.P::IsBlockEnd(c); }
    static int GetBlockType(P& p, char c) { return p.P::GetBlockType(c); }
    static void NewSymbolParsed(P& p) {
        if constexpr (kBaseNewSymbolParsed)
            p.template NewSymbolParsedWith<TDirectCalls>(p);
        else
            p.P::NewSymbolParsed();
    }
    // The base version on a symbol that is already empty with its room has
    // nothing to do, nor has the tagged parser's, which runs the base version
    // or nothing.
    static void ClearNewSymbol(P& p) {
        using Clear = decltype(&P::ClearNewSymbol);
        if constexpr (std::is_same_v<Clear, void (TSymbolParser::*)()> ||
                      std::is_same_v<Clear, void (TTaggedTextParser::*)()>) {
            if (p.fNewSymbol.IsEmpty() && p.fNewSymbol.GetCapacity() >= TSymbolParser::kSymbolRoom &&
                p.PendingEmpty())
                return;
        }
        p.P::ClearNewSymbol();
    }
    static void ParseChar(P& p, char c) { p.P::ParseChar(c); }
    static void ParsePlainRun(P& p, const char* text, int first, int count) { p.P::ParsePlainRun(text, first, count); }
    static void ParseWhiteSpace(P& p, char c) { p.P::ParseWhiteSpace(c); }
    static void ParseSeparator(P& p, char c) { p.P::ParseSeparator(c); }
    static void ParseBlockStart(P& p, int type) { p.P::ParseBlockStart(type); }
    static void ParseBlockEnd(P& p, int type) { p.P::ParseBlockEnd(type); }
    static void ParseSymbol(P& p, const TString& symbol) { p.P::ParseSymbol(symbol); }
    static void ParseSymbolText(P& p, const char* text, size_t length) { p.P::ParseSymbolText(text, length); }
};

template <class P>
bool TSymbolParser::ParseAs(P& self, TStringContainer& lines) {
    if (typeid(self) == typeid(P)) return ParseWith<TDirectCalls<P>>(self, lines);
    return ParseWith<TVirtualCalls>(self, lines);
}

template <class Calls>
bool TSymbolParser::ParseWith(typename Calls::Parser& self, TStringContainer& lines) {
    fSymbolHistory.Clear();
    Calls::ClearNewSymbol(self);
    ResetRun();
    fPendingText.clear();
    fPendingViewLength = 0;
    // The stack kept aside goes to fBlockStack however the run ends.
    struct TRunEnd {
        explicit TRunEnd(TSymbolParser& p) : parser(p) {}
        TRunEnd(const TRunEnd&) = delete;
        TRunEnd& operator=(const TRunEnd&) = delete;
        ~TRunEnd() { parser.EndOwnRun(); }
        TSymbolParser& parser;
    };
    std::optional<TRunEnd> runEnd;
    if constexpr (Calls::kOwnBlockStack) {
        fOwnBlocks.clear();
        fOwnBlockRun = true;
        runEnd.emplace(*this);
    }
    if constexpr (Calls::kRecentSymbolsAside) {
        fRecentSymbols.clear();
        fRecentNext = 0;
        fRecentRun = true;
    }
    for (fLineIndex = 0; fOk && fLineIndex < lines.GetCount(); ++fLineIndex) {
        if constexpr (Calls::kGathersSymbol) {
            // The line ends at its first NUL, its own or the one after it.
            ScanLineWith<Calls>(self, lines[fLineIndex].c_str());
        } else {
            for (fCharIndex = 0; fOk && fLineIndex < lines.GetCount(); ++fCharIndex) {
                const TString& line = lines[fLineIndex];
                if (fCharIndex >= line.Length() || line[fCharIndex] == '\0') break;
                ProcessCharWith<Calls>(self, line[fCharIndex]);
            }
        }
        if (fOk) ProcessCharWith<Calls>(self, '\n');
    }
    AddPendingText<Calls>();
    return fOk;
}

template <class Calls>
void TSymbolParser::ScanLineWith(typename Calls::Parser& self, const char* text) {
    using Parser = typename Calls::Parser;
    using CharHook = decltype(&Parser::ParseChar);
    constexpr bool kCharHook = !std::is_same_v<CharHook, void (TSymbolParser::*)(char)>;
    // ParseChar of the HTML case parser rewrites the character it is given in
    // the line where it converts (inside a tag, outside quotes and
    // comments): there the characters are copied before it runs, a run of
    // plain ones at once, handed over as a run (ParsePlainRun). Where it
    // does not convert, the characters stay where they lie, as the other
    // parsers' do, until a '<' that joins the symbol opens a tag: from there
    // on the stretch is copied.
    constexpr bool kCharsChange = std::is_same_v<CharHook, void (THtmlCaseParser::*)(char)>;
    // ParseChar of the comment filter and the Java parser does the same for
    // every plain character, whatever it is, and the same again for the
    // next: for a stretch of them one call does it all; so too for a stretch
    // of white space within a line.
    constexpr bool kPlainCharsAlike = std::is_same_v<CharHook, void (TCommentFilter::*)(char)> ||
                                      std::is_same_v<CharHook, void (TJavaParser::*)(char)>;
    constexpr bool kQuietWhiteSpace =
        std::is_same_v<decltype(&Parser::ParseWhiteSpace), void (TSymbolParser::*)(char)>;
    int i = 0;
    while (text[i] != '\0') {
        // A run of quiet characters: each joins the symbol and makes no event,
        // so nothing but ParseChar runs for it and the previous-character
        // flags are those of its last character. Plain characters are quiet
        // for every parser of this package and skip the class tests.
        const int start = i;
        TCharClasses classes;
        TCharClasses last;
        bool copies = false;
        if constexpr (kCharsChange) {
            copies = self.Converting();
            if (copies && fPendingViewLength > 0) CopyPendingView();
        }
        for (;;) {
            const int plainStart = i;
            for (; symbol_parser_classes::Has(text[i], symbol_parser_classes::kPlain); ++i) {
                if constexpr (kCharHook && !kPlainCharsAlike && !kCharsChange) {
                    fCharIndex = i;
                    Calls::ParseChar(self, text[i]);
                }
            }
            if (i > plainStart) {
                last = TCharClasses();
                if constexpr (kPlainCharsAlike) Calls::ParseChar(self, text[i - 1]);
                // The run's characters are gathered as they are, then converted.
                if constexpr (kCharsChange) {
                    if (copies) fPendingText.append(text + plainStart, size_t(i - plainStart));
                    Calls::ParsePlainRun(self, text, plainStart, i - plainStart);
                }
            }
            if (text[i] == '\0') break;
            const char c = text[i];
            classes = ClassesWith<Calls>(self, c);
            if (!JoinsQuietly<Calls>(self, c, classes)) break;
            if (copies) fPendingText.push_back(c);
            if constexpr (kCharHook) {
                fCharIndex = i;
                Calls::ParseChar(self, c);
            }
            if constexpr (kCharsChange) {
                if (!copies && self.Converting()) {
                    GatherText(text + start, size_t(i + 1 - start));
                    CopyPendingView();
                    copies = true;
                }
            }
            last = classes;
            ++i;
        }
        if (i > start) {
            if (!copies) GatherText(text + start, size_t(i - start));
            fPrevWhiteSpace = last.whiteSpace;
            fPrevSeparator = last.separator;
            fPrevQuote = last.quote;
        }
        if (text[i] == '\0') break;
        fCharIndex = i;
        StepWith<Calls>(self, text[i], classes);
        ++i;
        if (!fOk) {
            fCharIndex = i;
            return;
        }
        // More white space after white space outside quotes makes no event
        // when ParseWhiteSpace is the base's: no symbol is pending, and for
        // these parsers white space is no separator, quote mark or bracket.
        if (kQuietWhiteSpace && classes.whiteSpace && !fInQuote) {
            char whiteSeen = '\0';
            for (; symbol_parser_classes::Has(text[i], symbol_parser_classes::kWhiteSpace) &&
                   Calls::IsWhiteSpace(self, text[i]);
                 ++i) {
                if constexpr (kPlainCharsAlike) {
                    whiteSeen = text[i];
                } else if constexpr (kCharHook) {
                    fCharIndex = i;
                    Calls::ParseChar(self, text[i]);
                }
            }
            if (kPlainCharsAlike && whiteSeen != '\0') Calls::ParseChar(self, whiteSeen);
        }
    }
    fCharIndex = i;
}

template <class Calls>
void TSymbolParser::AddPendingText() {
    if constexpr (Calls::kGathersSymbol) {
        if (!PendingEmpty()) TakePending(fNewSymbol, false);
    }
}

inline void TSymbolParser::TakePending(TString& to, bool replace) {
    // Lines end at their first NUL, so the pending characters hold none.
    if (!fPendingText.empty()) {
        if (replace)
            to.Assign(fPendingText.data(), int(fPendingText.size()));
        else
            to.Append(fPendingText.data(), int(fPendingText.size()));
        fPendingText.clear();
        replace = false;
    }
    if (replace)
        to.Assign(fPendingView, int(fPendingViewLength));
    else
        to.Append(fPendingView, int(fPendingViewLength));
    fPendingViewLength = 0;
}

inline void TSymbolParser::StoreRecent(TRecentSymbol& slot) {
    slot.copied = !fNewSymbol.IsEmpty() || !fPendingText.empty();
    if (!slot.copied) {
        slot.view = fPendingView;
        slot.length = fPendingViewLength;
    } else {
        if (fNewSymbol.IsEmpty()) {
            slot.copy.swap(fPendingText);
        } else {
            slot.copy = fNewSymbol.str();
            slot.copy += fPendingText;
        }
        if (fPendingViewLength > 0) slot.copy.append(fPendingView, fPendingViewLength);
    }
    fPendingText.clear();
    fPendingViewLength = 0;
}

template <class Calls>
[[gnu::always_inline]] inline TSymbolParser::TCharClasses TSymbolParser::ClassesWith(typename Calls::Parser& self,
                                                                                     char c) {
    TCharClasses classes;
    classes.whiteSpace = Calls::IsWhiteSpace(self, c);
    classes.separator = Calls::IsSeparator(self, c);
    classes.quote = Calls::IsQuoteMark(self, c);
    return classes;
}

template <class Calls>
[[gnu::always_inline]] inline bool TSymbolParser::JoinsQuietly(typename Calls::Parser& self, char c,
                                                               const TCharClasses& classes) {
    // The two block tests are those TrackBlocks would make.
    return !(classes.quote && fQuotes) && !(classes.whiteSpace && !fInQuote) && (!classes.separator || fInQuote) &&
           !Calls::IsBlockStart(self, c) && !Calls::IsBlockEnd(self, c);
}

template <class Calls>
[[gnu::always_inline]] inline void TSymbolParser::ProcessCharWith(typename Calls::Parser& self, char ch) {
    const char c = Calls::ConvertChar(self, ch);
    StepWith<Calls>(self, c, ClassesWith<Calls>(self, c));
}

// With direct calls the gathered characters join the symbol before anything
// that reads it: an added character, a block hook, or its delivery.
template <class Calls>
[[gnu::always_inline]] inline void TSymbolParser::StepWith(typename Calls::Parser& self, char c,
                                                           const TCharClasses& classes) {
    if (classes.quote && fQuotes) {
        Calls::ParseSeparator(self, c);
        AddPendingText<Calls>();
        fNewSymbol += c;
        if (fPrevSeparator || fInQuote) Calls::NewSymbolParsed(self);
        fInQuote = !fInQuote;
    } else if (classes.whiteSpace && !fInQuote) {
        if (SymbolPending()) Calls::NewSymbolParsed(self);
        Calls::ParseWhiteSpace(self, c);
    } else if (!classes.separator || fInQuote) {
        AddPendingText<Calls>();
        fNewSymbol += c;
    } else {
        if (SymbolPending()) Calls::NewSymbolParsed(self);
        Calls::ParseSeparator(self, c);
    }
    TrackBlocksWith<Calls>(self, c);
    Calls::ParseChar(self, c);
    fPrevWhiteSpace = classes.whiteSpace;
    fPrevSeparator = classes.separator;
    fPrevQuote = classes.quote;
}

template <class Calls>
[[gnu::always_inline]] inline void TSymbolParser::TrackBlocksWith(typename Calls::Parser& self, char c) {
    if (fInQuote) return;
    if (Calls::IsBlockStart(self, c)) {
        const int type = Calls::GetBlockType(self, c);
        if constexpr (Calls::kOwnBlockStack)
            fOwnBlocks.push_back(type);
        else
            fBlockStack.Add(type);
        AddPendingText<Calls>();
        Calls::ParseBlockStart(self, type);
    }
    if (Calls::IsBlockEnd(self, c)) {
        const int type = Calls::GetBlockType(self, c);
        // (The tagged parsers' block end takes the characters where they lie.)
        if constexpr (!Calls::kSymbolAsText) AddPendingText<Calls>();
        Calls::ParseBlockEnd(self, type);
        // A stray closing bracket has no block to close.
        if constexpr (Calls::kOwnBlockStack) {
            if (!fOwnBlocks.empty()) fOwnBlocks.pop_back();
        } else if (fBlockStack.GetCount() > 0) {
            fBlockStack.DeleteLast();
        }
    }
}

template <class Calls>
[[gnu::always_inline]] inline bool TSymbolParser::IsSeparatorWith(typename Calls::Parser& self, char c) {
    return symbol_parser_classes::Has(c, symbol_parser_classes::kSeparator) || Calls::IsBlockStart(self, c) ||
           Calls::IsBlockEnd(self, c);
}

template <class Calls>
[[gnu::always_inline]] inline void TSymbolParser::NewSymbolParsedWith(typename Calls::Parser& self) {
    // The symbol, whole, becomes the newest of the recent symbols, in the
    // oldest one's place once all are taken; the Java parser is handed the
    // symbol to deliver as its characters.
    if constexpr (Calls::kRecentSymbolsAside) {
        TRecentSymbol* newest = nullptr;
        if (fHistorySize > 0) {
            if (fRecentSymbols.size() < size_t(fHistorySize)) {
                newest = &fRecentSymbols.emplace_back();
            } else {
                newest = &fRecentSymbols[fRecentNext];
                fRecentNext = fRecentNext + 1 == fRecentSymbols.size() ? 0 : fRecentNext + 1;
            }
            StoreRecent(*newest);
        }
        if constexpr (Calls::kDeliversRecentSymbol) {
            const int count = RecentSymbolCount();
            if (count > fLookahead && fSymbolDelivery) {
                const int index = GetCurrentBufferIndex();
                std::string_view symbol;
                if (index >= 0 && index < count) {
                    symbol = RecentSymbol(index);
                } else if (newest != nullptr) {
                    symbol = newest->Text();
                } else {
                    StoreRecent(fDeliveredSymbol);
                    symbol = fDeliveredSymbol.Text();
                }
                Calls::ParseSymbolText(self, symbol.data(), symbol.size());
            }
        }
        fPendingText.clear();
        fPendingViewLength = 0;
        Calls::ClearNewSymbol(self);
        return;
    }
    // A symbol delivered at once and kept in no history goes to a parser
    // taking words as characters as the characters gathered, without becoming the new symbol
    // first: the symbol they see is the same, and it is empty afterwards
    // either way.
    if constexpr (Calls::kSymbolAsText) {
        if (fHistorySize <= 0 && fSymbolHistory.GetCount() == 0 && fLookahead < 0 && fSymbolDelivery &&
            fNewSymbol.IsEmpty()) {
            // Characters still in the line are handed over where they lie.
            if (fPendingText.empty() && fPendingViewLength > 0) {
                Calls::ParseSymbolText(self, fPendingView, fPendingViewLength);
            } else {
                CopyPendingView();
                Calls::ParseSymbolText(self, fPendingText.data(), fPendingText.size());
            }
            fPendingText.clear();
            fPendingViewLength = 0;
            Calls::ClearNewSymbol(self);
            return;
        }
    }
    // Inside a tag of such a parser the symbol is neither delivered nor
    // kept: its characters stay where they lie until the tag's end takes
    // them (CollectedSymbol).
    if constexpr (Calls::kSymbolAsText) {
        if (!fSymbolDelivery && fHistorySize <= 0 && fSymbolHistory.GetCount() == 0 && fLookahead < 0) {
            Calls::ClearNewSymbol(self);
            return;
        }
    }
    int count = fSymbolHistory.GetCount();
    const bool recycle = count > 0 && count == fHistorySize;
    // Gathered characters that make the whole symbol go straight into the
    // history entry when the symbol itself is not delivered.
    const bool straight = Calls::kGathersSymbol && recycle && fLookahead >= 0 && fNewSymbol.IsEmpty();
    if (!straight) AddPendingText<Calls>();
    void** entries = nullptr;
    if (recycle) {
        // A full history: the oldest entry moves to the end and takes the new
        // symbol, which keeps its storage instead of freeing and allocating.
        // (Swapped down one by one: a history is a few entries long, too short
        // for the memmove a copying loop becomes.)
        entries = static_cast<void**>(fSymbolHistory.GetItems());
        for (int i = 0; i + 1 < count; ++i) std::swap(entries[i], entries[i + 1]);
        TString& oldest = *static_cast<TString*>(entries[count - 1]);
        if (straight) {
            TakePending(oldest, true);
        } else {
            oldest = fNewSymbol;
        }
    } else {
        if (count > 0 && count > fHistorySize) fSymbolHistory.DeleteFirst();
        if (fHistorySize > 0) fSymbolHistory.Add(fNewSymbol);
    }
    count = fSymbolHistory.GetCount();
    if (count > fLookahead && fSymbolDelivery) {
        const int index = GetCurrentBufferIndex();
        if (index >= 0 && index < count) {
            if (entries == nullptr) entries = static_cast<void**>(fSymbolHistory.GetItems());
            Calls::ParseSymbol(self, *static_cast<TString*>(entries[index]));
        } else {
            Calls::ParseSymbol(self, fNewSymbol);
        }
    }
    Calls::ClearNewSymbol(self);
}
