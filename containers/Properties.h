// TProperties: a store of sections holding key = value texts, with typed
// access and a text file form.
#pragma once

#include <cstdint>
#include <vector>

#include "ContainerItem.h"
#include "String.h"

class TStringContainer;

// Sections and keys keep the order in which they were added and are matched
// by their exact bytes. Writes and reads go to the active section; before any
// section is made active they go to the section with the empty name.
class TProperties : public TContainerItem {
public:
    TProperties();

    // Adds the section unless it exists; with makeActive it becomes active.
    void AddSection(const TString& name, bool makeActive = true);
    // Makes an existing section active; false (active section unchanged) when missing.
    bool SetSection(const TString& name);
    const TString& GetSection() const { return fActive; }
    bool SectionExists(const TString& name) const;
    bool KeyExists(const TString& key) const;
    // Removes a section or a key of the active section; false when missing.
    bool DeleteSection(const TString& name);
    bool DeleteKey(const TString& key);
    void Clear();

    // Set a key of the active section, replacing its value. Doubles are stored
    // in fixed notation that reads back exactly.
    void AddEntry(const TString& key, const TString& value);
    void AddInt(const TString& key, int value);
    void AddInt(const TString& key, int64_t value);
    void AddDouble(const TString& key, double value);
    void AddBool(const TString& key, bool value);

    // Typed reads of the active section; a missing key, or a value that does
    // not read as the type, gives the default.
    TString GetString(const TString& key, const TString& defaultValue = TString()) const;
    int GetInt(const TString& key, int defaultValue = 0) const;
    int64_t GetInt64(const TString& key, int64_t defaultValue = 0) const;
    double GetDouble(const TString& key, double defaultValue = 0) const;
    bool GetBool(const TString& key, bool defaultValue = false) const;

    // Appends the keys of the active section (or the section names) to list; returns how many.
    int GetSectionKeys(TStringContainer& list) const;
    int GetSections(TStringContainer& list) const;

    // Text form: "[section]" lines followed by "key=value" lines; a backslash,
    // CR and LF in names and values are written as \\, \r and \n. Reading
    // replaces the content; lines that are neither are ignored.
    void WriteToFile(const TString& fileName) const override;
    void ReadFromFile(const TString& fileName) override;
    TString GetText() const;
    void SetText(const TString& text);

    // Memory-buffer form: u32 section count, then per section its name
    // (TString form), u32 key count and per key the key and value (TString forms).
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    void Assign(const TContainerItem& source) override;

private:
    struct Entry {
        TString key;
        TString value;
    };
    struct Section {
        TString name;
        std::vector<Entry> entries;
    };

    Section* FindSection(const TString& name);
    const Section* FindSection(const TString& name) const;
    Section& ActiveSection();
    const Entry* FindEntry(const TString& key) const;

    std::vector<Section> fSections;
    TString fActive;
};
