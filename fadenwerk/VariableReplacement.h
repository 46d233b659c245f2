// Expanding $(name) references and %name% platform references inside strings,
// with widths, fill characters, repeat counts and random picks.
//
// A reference is '$', optional spaces, then a parenthesised text whose
// parentheses nest: "$(name)", "$(name:W)", "$(name:W@c)", "$(name*N)". A
// positive width pads at the end, a negative one at the start, and a longer
// value is cut to |W| characters. "$(RAND(list))" picks from a list of texts
// or number ranges. A reference whose name is not found, or that is malformed,
// stays as written (references nested inside it are still replaced).
#pragma once

#include <map>
#include <string>
#include <vector>

typedef std::map<std::string, std::string> TStringMap;

// A lookup sets `found` and returns the value of `name`.
typedef std::string (*TReplaceVarsLookup)(const std::string& name, void* context, bool& found);

// The largest number of characters one reference may produce (width or value
// times repeat count), and all the references of one call together (the
// result is at most this much longer than the input); a reference that would
// produce more stays as written.
const size_t ReplaceVarsMaximumExpansion = 16u << 20;

std::string ReplaceVars(const std::string& s, TReplaceVarsLookup lookup, void* context);
// Names looked up in the map.
std::string ReplaceVars(const std::string& s, const TStringMap& vars);
// Names looked up in the maps in the order given; the first that holds one wins.
std::string ReplaceVars(const std::string& s, const TStringMap& a, const TStringMap& b);
std::string ReplaceVars(const std::string& s, const TStringMap& a, const TStringMap& b, const TStringMap& c);
// Names looked up in the maps in vector order; null entries are skipped.
std::string ReplaceVars(const std::string& s, const std::vector<TStringMap*>& maps);
// Names looked up in the process environment.
std::string ReplaceEnvVars(const std::string& s);
// Names looked up in the environment first, then in the map.
std::string ReplaceEnvVars(const std::string& s, const TStringMap& vars);

// Replaces %name% by the map's value; a name not in the map keeps both marks
// ("%%" stays), and a '%' that is never closed stays with the text after it.
std::string ReplacePlatformVars(const std::string& s, const TStringMap& vars);
// The same with the environment's variables.
std::string ReplacePlatformEnvVars(const std::string& s);

// Sets one entry per environment entry: the text before its first '=' is the
// name, the rest the value.
void GetEnvVars(TStringMap& vars);
