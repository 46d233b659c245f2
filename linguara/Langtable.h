// TLangTable: user-interface texts in several languages keyed by text id, read
// from table files, line lists or RCDATA resources; form translation through
// component tags; and the language entries of a window's system menu.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class TComponent;

// Collects the lines of a resource, one copy per call.
class TStringCollector {
public:
    TStringCollector() = default;
    // A null line is collected as an empty one.
    void operator()(const char* line) { lines.emplace_back(line ? line : ""); }

    std::vector<std::string> lines;
};

// Table text: line 1 lists the language ids ("0|1"); every further line is
// "id|text|text..." with one text per language in that order. "||" is a
// literal bar inside a field; a field without a decimal number keeps the id
// read before it. Reading never reports failure: an unreadable file or a
// missing resource leaves the table as it was.
class TLangTable {
public:
    TLangTable() = default;
    // Reads a table file; a missing file gives an empty table.
    explicit TLangTable(const std::string& path);

    // Reads a table file of lines of any length (a CR before a line feed is
    // dropped). With clear the texts go first, even when the file cannot be
    // opened; the language list and current language stay.
    void Init(const std::string& path, bool clear);
    // Adds the lines' texts, replacing texts of the same key. No lines: nothing
    // changes; otherwise line 1 replaces the language list.
    void Init(const std::vector<std::string>& lines);

    // Backslash sequences in place: \n line feed, \t tab, \0 ends the text;
    // any other character after a backslash keeps both. The test looks at the
    // character before the current one in the unchanged text, so "\\n" gives
    // a backslash and a line feed.
    static void TransformBackslashes(std::string& text);

    // Merges: texts whose key is missing here are copied; the rest, the
    // language list and the current language stay.
    void Add(const TLangTable& other);
    void Add(const std::string& path);

    void SetLang(int language) { language_ = language; }
    // -1 until SetLang is called.
    int GetLang() const { return language_; }

    // The text of id in the current language, else def. Before SetLang the
    // current language is -1, which takes the lowest language that has a text.
    std::string GetText(int id, const std::string& def) const;
    // The text of (language, id), else def; language -1 takes the text of the
    // lowest language id that has one.
    std::string GetText(int language, int id, const std::string& def) const;
    // The text of id in the current language, else in the lowest language id
    // that has one, else def.
    std::string GetAnyText(int id, const std::string& def) const;

    // out becomes the language list, in column order.
    void GetLangIDs(std::vector<int>& out) const { out = languages_; }
    // out is emptied and receives every text id present.
    void GetTextIDs(std::set<int>& out) const;

    // Builds from (or merges) the RCDATA resource name of module; a null
    // module searches the program, then every loaded library. A missing
    // resource changes nothing.
    void InitFromResource(void* module, const std::string& name);
    void InitFromResource(const std::string& name) { InitFromResource(nullptr, name); }
    void AddFromResource(void* module, const std::string& name);
    void AddFromResource(const std::string& name) { AddFromResource(nullptr, name); }

    // Translates component and, recursively, what it owns: every component
    // whose Tag is not 0 takes its texts from the ids its Tag starts. A
    // right-aligned label keeps its right edge and its owned components are
    // not visited. Null is ignored.
    void SetText(TComponent* component);

    // Splits a table line into its fields ("||" is one literal bar); an empty
    // line gives none, a trailing single bar an empty last field.
    static std::vector<std::string> SplitLine(const std::string& line);
    // The lines of resource bytes: CRs dropped, each LF ends a line (empty
    // ones too), characters after the last LF form one more line.
    static std::vector<std::string> SplitResourceText(const char* bytes, size_t size);

private:
    using TKey = std::pair<int, int>;  // language id, text id
    const std::string* FindText(int language, int id) const;
    const std::string* FindLowestLanguageText(int id) const;

    std::map<TKey, std::string> texts_;
    int language_ = -1;
    std::vector<int> languages_;
};

// Appends a separator, then count string entries (texts[i] with command
// ids[i]) to menu (an HMENU); returns count. A bad menu makes the appends
// fail without notice. Null arrays with a positive count append nothing and
// give 0; a count below 1 appends the separator only and gives 0.
int LangAppendSystemMenu(void* menu, char** texts, unsigned* ids, int count);
// The same with "English" 20, "Magyar" 21 and "Deutsch" 22.
void LangAppendSystemMenuDefs(void* menu);
