// The form text's parser: nested objects with their stored property values.
#pragma once

#include <string>
#include <vector>

// One value as written: a string (bytes after decoding quotes and #nn), a
// number (its text, e.g. "-4", "$FF" or "1.5e-3"), an identifier, or a set (normalised
// text "[a, b]").
enum class TFormValueKind { String, Number, Identifier, Set };

struct TFormProperty {
    std::string name;  // may be a dotted path, e.g. Font.Name
    TFormValueKind kind;
    std::string value;
    int line;
};

struct TFormObject {
    bool inherited = false;  // "inherited" rather than "object"
    std::string name;
    std::string className;
    int line = 0;
    std::vector<TFormProperty> properties;
    std::vector<TFormObject> children;
};

// Parses a whole text holding one root object. Throws EReadError naming the
// line for anything malformed: a missing "end", an unterminated string, a bad
// character code, nesting deeper than 64 levels, text after the root's end;
// a malformed value (a bad string or set, anything but a further property
// after it on its line) names its property too. Numbers are taken whole up
// to a blank or a symbol, for the property to judge.
TFormObject ParseFormText(const std::string& text);
