// Value lists typed by users ("a,b,c", "1-9/2", "x-c", "perm(abc)*2",
// "rand(1-6)*3"), turned into the values they stand for; the same notation
// for sets of numbers and characters; and small string tests.
//
// Fields are separated by commas (runs count as one); a field's bounds by a
// dash; double quotes protect commas and dashes. No call produces more than
// ValueListMaximumValues values: a list, range or count that would is refused.
#pragma once

#include <set>
#include <string>
#include <vector>

const long long ValueListMaximumValues = 1000000;

// One element of a value list: a text, or a range of numbers (both ends included).
struct TExtractedValue {
    bool isRange;
    std::string text;
    int from;
    int to;
    explicit TExtractedValue(const std::string& value) : isRange(false), text(value), from(0), to(0) {}
    TExtractedValue(int rangeFrom, int rangeTo) : isRange(true), from(rangeFrom), to(rangeTo) {}
};

// Appends the values s denotes. A list walks numeric ranges with a step (its
// magnitude; 0 counts as 1) in the direction from the first bound to the
// second, and character ranges with a step, wrapping inside a-z, A-Z or 0-9
// when the range runs against the step; with `keepRanges` a number range of
// step 1 stays one range value, without it "10-22" stays a text. A generator
// "perm(text)[*N]" gives the permutations of text in lexicographic order,
// "rand(lo-hi)[*N]" random numbers (without N each number once), "rand(list)[*N]"
// random fields (weighted when every field is "name:N%"). False, with nothing
// appended, for a count that is not a number, a random pick from no fields, or
// more than ValueListMaximumValues values; true otherwise.
bool ExtractValues(const std::string& s, std::vector<TExtractedValue>& values, bool keepRanges);

// Appends one text per value (a range as its numbers, none when to < from).
// False, with nothing appended, when that would exceed ValueListMaximumValues.
bool UnfoldExtractedValues(std::vector<TExtractedValue>& values, std::vector<std::string>& texts);

// Adds numbers and ranges a-b (none when b < a); negative numbers cannot be
// given. False when a range would exceed ValueListMaximumValues (the fields
// before it are added).
bool ExtractNumbers(const std::string& s, std::set<int>& numbers);
// Clears the vector, then appends the fields that are single numbers.
void ExtractNumbers(const std::string& s, std::vector<int>& numbers);

// Characters, ranges c1-c2 (none when c2 < c1) and the classes digit, upper,
// lower, alpha, alnum, xdigit and space (bare or as ":name:"); "-" alone gives
// '-'. The set keeps each character once, the vector appends in order.
void ExtractChars(const std::string& s, std::set<char>& chars);
void ExtractChars(const std::string& s, std::vector<char>& chars);

// Appends the fields; with `expandRanges` a field a-b of two numbers appends
// a to b. False when a range would exceed ValueListMaximumValues.
bool ExtractStrings(const std::string& s, std::vector<std::string>& texts, bool expandRanges);

// Every non-overlapping occurrence of `from`, left to right, replaced by `to`;
// an empty `from` leaves s as it is.
std::string StringReplace(const std::string& s, const std::string& from, const std::string& to);

// An optional leading '-' followed by decimal digits only; also true for ""
// and "-".
bool IsNumber(const std::string& s);
// Decided by the first ASCII letter: true when it is upper-case (lower-case
// for IsLowerCase); true when s holds no letter.
bool IsUpperCase(const std::string& s);
bool IsLowerCase(const std::string& s);
