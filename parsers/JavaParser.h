// TJavaParser and its records: lists the top-level classes of Java source and
// the methods of each, with the line and parameter types of every method.
#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "CommentFilter.h"
#include "ContainerItem.h"
#include "ObjectContainer.h"
#include "String.h"
#include "StringContainer.h"

// One method: the line of its opening parenthesis (from 0), its name and the
// type of each parameter.
class TJavaMethodData : public TContainerItem {
public:
    TJavaMethodData();
    TJavaMethodData(const TJavaMethodData& source);
    TJavaMethodData& operator=(const TJavaMethodData& source);

    void Assign(const TContainerItem& source) override;
    bool Compatible(const TContainerItem& source) const override;
    // name + "(" + parameter types joined by ", " + ")".
    TString AsString() const;

    int line = 0;
    TString name;
    TStringContainer params;
};

// One class: its name and its methods in the order found.
class TJavaClassData : public TObjectContainer<TJavaMethodData> {
public:
    TJavaClassData() = default;
    explicit TJavaClassData(const TString& className) : name(className) {}

    // Copies the name and the methods of another class record.
    void Assign(const TContainerItem& source) override;

    // Method i; null when i is negative or not below GetCount().
    TJavaMethodData* operator[](int i) const;

    TString name;
};

// A record the outline does not use; its text is empty.
class TJavaParserMethodData : public TContainerItem {
public:
    TString AsString() const { return TString(); }
};

// Symbols arrive one symbol late so that the name after "class" is at hand.
// Depth 0 is outside classes, 1 a class body, 2 a member's parameter list.
// Nested classes are not listed; brackets inside comments still count.
class TJavaParser : public TCommentFilter, public TObjectContainer<TJavaClassData> {
public:
    TJavaParser();
    ~TJavaParser() override;

    // Replaces the class list with the classes of lines. Never reports an
    // error: unexpected text gives fewer or odd entries.
    bool Parse(TStringContainer& lines) override;
    // Class i; null when i is negative or not below GetCount().
    TJavaClassData* operator[](int i) const;

    // (Defined here so that the character loop inlines it.)
    void ParseChar(char c) override {
        TCommentFilter::ParseChar(c);
        if ((c != ';' && c != '=') || !InClassBodyCode()) return;
        fAfterAssignment = c == '=';
    }
    void ParseSeparator(char c) override {
        if (c == ',' && GetBlockDepth() == 2 && !fAfterAssignment) NewParam();
    }
    void ParseBlockStart(int type) override;
    void ParseBlockEnd(int type) override;
    // (Defined here, like ParseChar, so that the character loop inlines the
    // tests made for every symbol.)
    void ParseSymbol(const TString& symbol) override { ParseSymbolText(symbol.c_str(), size_t(symbol.Length())); }
    // ParseSymbol's work on the symbol's characters; the run of a parser of
    // exactly this class hands the symbol over this way.
    void ParseSymbolText(const char* symbol, size_t length) {
        if (GetBlockDepth() == 0 && fCommentState == csNone && length == 5 && std::memcmp(symbol, "class", 5) == 0)
            NewClass();
        if (GetBlockDepth() == 2 && GetCurrentBlockType() == btParenthesis && !fAfterAssignment &&
            fCommentState == csNone)
            fParamPending = true;
    }

    // A parenthesis pair directly in a class body, not after an equals sign
    // and not in a comment.
    bool IsParamBlock(int type) const;
    // Takes the symbol before the newest one as a parameter type; nothing
    // when fewer than two symbols have been seen.
    void NewParam();

protected:
    TJavaMethodData fMethod;
    TJavaClassData* fCurrentClass = nullptr;
    bool fAfterAssignment = false;
    bool fParamPending = false;

private:
    // A class named after the symbol that follows "class" becomes the current one.
    void NewClass();
    // The records of the last run, taken apart at the start of the next one
    // instead of freed (each record only when its settings are still those it
    // was made with), and handed out again in the order they were made: a
    // run over text like the last one then allocates no record.
    void KeepRecords();
    TJavaClassData* MakeClass(const TString& name);
    // A record of the method collected in fMethod.
    TJavaMethodData* MakeMethod();
    std::vector<std::unique_ptr<TJavaClassData>> fSpareClasses;
    std::vector<std::unique_ptr<TJavaMethodData>> fSpareMethods;
    size_t fSpareClassesTaken = 0;
    size_t fSpareMethodsTaken = 0;
    bool InClassBodyCode() const {
        return GetBlockDepth() == 1 && GetCurrentBlockType() == btCurly && !fInQuote && fCommentState == csNone;
    }
};
