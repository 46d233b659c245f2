// Matching names against shell-style wildcard patterns.
#pragma once

#include <string>
#include <vector>

// The whole name against the whole pattern, with case: '?' is any one
// character, '*' any run (consecutive stars act as one), "[...]" a set ('!' or
// '^' first negates it, a ']' first is a member, a-b is a range by character
// code, '\' makes the next character a member; a '[' without its ']' is
// ordinary), '\' makes the next character ordinary and a '\' at the end
// matches a backslash. '/' and a leading '.' are ordinary. A pattern with 20
// or more stars between other elements never matches. Null arguments never
// match. Time is at most proportional to pattern length times name length.
bool FnMatch(const char* pattern, const char* name);
bool FnMatch(const std::string& pattern, const std::string& name);

// True when FnMatch holds for some pattern, both lower-cased (ASCII) first
// when `ignoreCase`; false for an empty list.
bool FilterMatch(const std::string& name, const std::vector<std::string>& patterns, bool ignoreCase);

// The text with A-Z turned into a-z.
std::string LowerCaseAscii(std::string text);

// The package's older, naive matcher, kept as it always behaved although
// nothing calls it: '?' takes any character, and a '*' accepts the rest of the
// name whatever follows it in the pattern; other characters must be equal. At
// the end of the name the whole pattern must be used, so "abc*" does not match
// "abc". Use FnMatch instead.
bool FileNameMatch(const std::string& pattern, const std::string& name);
