// The compiler's state for one compilation: sources being read, open blocks, constants and units.
#pragma once

#include <initializer_list>

#include "Container.h"
#include "String.h"
#include "StringContainer.h"
#include "ValueContainers.h"

// Block kinds, shared with the interpreter's control frames. ORDER: stored in frames.
enum TBlockKind {
    bkProgram = 1,
    bkBlock = 2,
    bkIf = 3,
    bkWhile = 4,
    bkFunc = 5,
    bkRepeat = 6,
    bkLoop = 7,
    bkSwitch = 8,
    bkFor = 9,
    bkForeach = 10,
};

class TCompileStackItem : public TContainerItem {
public:
    int kind = bkProgram;
    int variableCount = 0;  // variables declared in this block so far
    int tokenIndex = -1;    // the opening token
    int defaultIndex = -1;  // switch: the default branch
};

// The open blocks. Popping deletes the block's variables from the end of Variables.
class TCompileStack : public TContainer {
public:
    ~TCompileStack() override;
    TCompileStackItem* Push(int kind, int tokenIndex);
    // Deletes the top block's variables, then the block; nothing when empty.
    void Pop();
    // Null when empty.
    TCompileStackItem* Top() const;
    TCompileStackItem* At(int i) const;
    // Whether a block of one of the kinds lies above the program item.
    bool Encloses(std::initializer_list<int> kinds) const;
    // Deletes the top block's variables and restarts its count.
    void DropTopVariables();
    void FreeItem(void* item) override;
};

// A unit that a host hands over instead of a file: its name and lines.
class TUnitSubsInfo : public TContainerItem {
public:
    void Assign(const TContainerItem& source) override;
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    TString name;
    TStringContainer lines;
};

class TUnitSubsList : public TContainer {
public:
    TUnitSubsList() = default;
    TUnitSubsList(const TUnitSubsList& other);
    ~TUnitSubsList() override;
    // Null outside 0..count-1 (First, Mid and Last null for an empty list).
    TUnitSubsInfo* operator[](int i) const;
    TUnitSubsInfo* NewItem();
    TUnitSubsInfo* First() const { return (*this)[0]; }
    TUnitSubsInfo* Mid() const { return (*this)[GetCount() / 2]; }
    TUnitSubsInfo* Last() const { return (*this)[GetCount() - 1]; }
    TUnitSubsList& operator+=(const TUnitSubsInfo& unit);
    // The first unit of exactly that name, or null.
    TUnitSubsInfo* Find(const TString& name) const;
    // Appends a unit of that name with the lines of the named resource of
    // this library's module; false (nothing appended) when it is missing.
    bool NewUnitFromResource(const TString& name, const TString& resourceName);
    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
};

class TStringContainerList : public TContainer {
public:
    ~TStringContainerList() override;
    TStringContainer* operator[](int i) const;
    // Appends a copy.
    void AddStrings(const TStringContainer& lines);
    TStringContainer* Last() const { return (*this)[GetCount() - 1]; }
    void FreeItem(void* item) override;
};

class TCompileState {
public:
    TCompileState(const TStringContainer& source, const TStringContainer& directories, const TUnitSubsList& unitList);

    // The next logical line: the comment cut, trailing white space trimmed,
    // continuation lines joined. The end of an imported unit gives one
    // empty line. False when the main text has no more lines.
    bool ReadLine(TString& line);
    // Opens a unit whose lines are read next, under that name.
    void PushUnit(const TStringContainer& lines, const TString& name);
    // Whether a unit of that name is being read: begun and not ended (imports must not cycle).
    bool IsUnitOpen(const TString& name) const;
    int CurrentLine() const;
    TString CurrentUnitName() const;

    TStringContainerList sources;
    TStringContainer unitDirectories;
    TStringContainer unitNames;
    TIntContainer lineCounters;
    int functionCount = 0;
    int errorCode = 0;
    TCompileStack stack;
    TStringContainer constantNames;
    TStringContainer constantValues;
    TUnitSubsList units;

private:
    bool ReadRawLine(TString& line);
};
