// Splitting strings into fields, resolving escape sequences, and matching a
// string against a pattern of literal text and $(name) variables.
#pragma once

#include <map>
#include <string>
#include <vector>

// One element of a parsed pattern: a variable (its name) or literal text.
struct TStringVarsItem {
    bool isVariable;
    std::string text;
    TStringVarsItem(bool variable, const std::string& itemText) : isVariable(variable), text(itemText) {}
};

// The text without spaces (only ' ') at both ends.
std::string TrimSpaces(const std::string& text);

// Appends the fields of s, which ends at its first zero character; an empty s
// adds nothing. With `skipEmpty` each maximal run of non-separators is a field;
// without it n separators give n + 1 fields, empty ones included. With `trim`
// spaces (only ' ') are removed at both ends of each field.
void Tokenize(const std::string& s, std::vector<std::string>& fields, char separator, bool skipEmpty,
              bool trim);

// Appends the fields of s honouring quotes: an unescaped quote toggles quoting
// and is dropped, a backslash before a quote gives a literal quote, separators
// inside quotes are kept. With `merge` runs of separators count as one and
// leading ones are skipped; without it every separator ends a field (a final
// separator adds an empty field) and a backslash before a separator is
// replaced by that separator. A non-empty last field is appended.
void QMTokenize(const std::string& s, std::vector<std::string>& fields, char separator, bool merge,
                char quote);

// Backslash sequences \t \n \r \b \v become their control characters; a
// doubled backslash counts as one that still waits for its letter; a backslash
// before any other character stays with it; one left at the end is dropped.
std::string ResolveEscapeChars(const std::string& s);

// Splits a pattern into literal items and $(name) variable items (appended to
// `items`). A backslash outside a variable is dropped and, when two or more
// characters follow it, makes the next one literal. False for an empty or
// unfinished variable, and for two variables without literal text between them;
// `items` may then hold a part.
bool GetStringVars(const std::string& pattern, std::vector<TStringVarsItem>& items);

// Matches s against the items: a variable captures up to the first character
// equal to the first character of the literal after it (to the end when none
// follows); literals match character by character, and with `repeats` a '*'
// after a literal character means one or more of it. Captures are appended to
// vars[name]. True for empty items; false for an empty s, a mismatch, text left
// over after the last item, s ending inside a literal, or when `vars` does not
// end with one entry per variable (pass an empty map and distinct names).
bool ExtractStringVars(const std::string& s, const std::vector<TStringVarsItem>& items,
                       std::map<std::string, std::string>& vars, bool repeats);
