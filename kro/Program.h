// The compiled script program: tokens, script functions, globals, events, resources, and its saved form.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "Container.h"
#include "DecodedProgram.h"
#include "MemBuffer.h"
#include "String.h"
#include "Token.h"
#include "ValueContainers.h"
#include "Variables.h"

class TTokenList : public TContainer {
public:
    ~TTokenList() override;
    // Null outside 0..count-1.
    TToken* operator[](int i) const;
    // Appends a token of that type with an empty payload and returns it.
    TToken* AddToken(int type);
    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
};

// Variables kept between calls for the next ones, owned here while they lie
// outside every list; a copy starts empty.
class TSpareVariables {
public:
    TSpareVariables() = default;
    TSpareVariables(const TSpareVariables&) {}
    TSpareVariables& operator=(const TSpareVariables&) { return *this; }
    ~TSpareVariables();
    bool Empty() const { return spare.empty(); }
    // The last one given (the list must not be empty).
    TVariable* Take() {
        TVariable* v = spare.back();
        spare.pop_back();
        return v;
    }
    void Give(TVariable* v) { spare.push_back(v); }

private:
    std::vector<TVariable*> spare;
};

// One parameter of a script function.
class TFunctionParam : public TContainerItem {
public:
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    TString name;
    uint8_t kind = 0;          // scalar: Eval stack type 1, 3, 18, 21, 22; 16 1-D, 17 2-D array
    uint8_t variableType = 0;  // 2..6, the item type for arrays
    uint8_t byReference = 0;
    // The scalar variables this parameter had in finished calls (not stored).
    TSpareVariables spare;
};

// A script function: its parameters, entry token, result stack type and name.
class TFunction : public TContainer {
public:
    TFunction();
    ~TFunction() override;
    TFunctionParam* Param(int i) const;
    TFunctionParam* AddParam();
    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
    // The parameter container, then i32 entry, u8 result type, the name.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    int32_t entry = -1;
    uint8_t resultType = 0;
    TString name;
};

class TFunctionList : public TContainer {
public:
    ~TFunctionList() override;
    TFunction* operator[](int i) const {
        return i >= 0 && i < GetCount() ? static_cast<TFunction*>(PointerItems()[i]) : nullptr;
    }
    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
};

// A variable declared at top level.
class TGlobalVar : public TContainerItem {
public:
    TGlobalVar() = default;
    TGlobalVar(const TString& name, uint8_t type, uint8_t itemType) : name(name), type(type), itemType(itemType) {}
    TGlobalVar(const TGlobalVar& other) : TContainerItem(), name(other.name), type(other.type), itemType(other.itemType) {}
    TGlobalVar& operator=(const TGlobalVar& other);
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    TString name;
    uint8_t type = 0;      // 2..8
    uint8_t itemType = 0;  // arrays
};

class TGlobalVarList : public TContainer {
public:
    ~TGlobalVarList() override;
    TGlobalVar* operator[](int i) const;
    TGlobalVar* NewItem();
    // First, Mid and Last are null for an empty list.
    TGlobalVar* First() const { return (*this)[0]; }
    TGlobalVar* Mid() const { return (*this)[GetCount() / 2]; }
    TGlobalVar* Last() const { return (*this)[GetCount() - 1]; }
    TGlobalVarList& operator+=(const TGlobalVar& v);
    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
};

struct EVENT_INFO {
    int32_t code;
    int32_t function;
};

// Event bindings, stored as two i32 each.
class TEventInfoContainer : public TValueContainer<EVENT_INFO> {
public:
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};

class TProgram {
public:
    TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
    virtual ~TProgram();

    // Empties tokens, functions, globals and events; variableBase 0. The
    // resource-token list and the variable list stay. A running program's
    // statements are looked at against its tokens again before they run.
    void Clear();
    // Creates each global in Variables once (again only after FreeGlobals).
    void CreateGlobals();
    // Without a prior CreateGlobals does nothing; else deletes from the end of
    // Variables as many variables as there are globals (those CreateGlobals made).
    void FreeGlobals();

    // Saved form: tokens, functions, globals and events in container form,
    // then i32 variableBase; both media carry the same bytes. Loading checks
    // every field against what remains and the jump indices against the
    // token count; on failure the program is left empty and false returned.
    // The resource-token list is rebuilt from the resource tokens.
    void WriteToMemBuffer(TMemBuffer& buffer) const;
    bool ReadFromMemBuffer(TMemBuffer& buffer);
    void SaveToStream(FILE* file) const;
    bool LoadFromStream(FILE* file);

    bool globalsCreated = false;
    TTokenList tokens;
    TFunctionList functions;
    TGlobalVarList globals;
    TIntContainer resourceTokens;
    TEventInfoContainer events;
    TVariableList variables;
    int32_t variableBase = 0;
    // Variables that runs without keep left at the end of Variables, oldest
    // first; KRO_ReleaseApplicationGlobals deletes those still there.
    std::vector<const TVariable*> leftInVariables;

    // The tokens as the interpreter runs them, decoded at the first run and
    // again when the tokens no longer match (Decode after a change); earlier
    // decodings are kept until Clear, since a run may still be in one.
    TDecodedProgram& Decoded(uint8_t (*operationOf)(int type)) {
        if (decodings.empty() || decodings.back()->Count() != tokens.GetCount()) return Decode(operationOf);
        return *decodings.back();
    }
    TDecodedProgram& Decode(uint8_t (*operationOf)(int type));
    // Activations of the interpreter running in the program now; while any
    // runs, Clear keeps the decodings (one of them may be in use).
    int runningActivations = 0;

    // Whether runs of the program take the fast forms: a statement runs at
    // once once it was looked at against its token in an epoch, a for
    // loop's end runs its next pass itself (a counted pass where it fits),
    // a body that only returns runs without an activation, and Eval's fast
    // forms serve its expressions. On for a new program (not stored). Off,
    // or with Eval's switch off for the process or for Variables, every
    // statement is looked at against its token before it runs and every
    // expression runs Eval's general loop, which give the same results.
    // A change of this switch counts from the next statement on; one of
    // Eval's, for the statements, from the next run or host call.
    bool FastForms() const { return fastForms; }
    void SetFastForms(bool on);

private:
    bool ReadMembers(TMemBuffer& buffer);
    bool IsSound() const;
    void MakeEmpty();

    std::vector<std::unique_ptr<TDecodedProgram>> decodings;
    bool fastForms = true;
};
