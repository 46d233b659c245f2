// Compiled statements: token types, the payload records they own, and their stored forms.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "Container.h"
#include "ExpressionModel.h"
#include "MemBuffer.h"
#include "String.h"
#include "StringContainer.h"

// Token types. ORDER: the numbers are stored in saved programs and shared
// with the interpreter; a custom command picks a number that none uses.
enum TTokenType : int32_t {
    ttExpression = 1,
    ttDeclaration = 2,
    ttBlock = 3,
    ttIf = 4,
    ttWhile = 5,
    ttEnd = 6,
    ttElse = 7,
    ttBreak = 8,
    ttContinue = 9,
    ttFunc = 10,
    ttReturn = 11,
    ttRepeat = 12,
    ttUntil = 13,
    ttLoop = 14,
    ttSwitch = 15,
    ttEndcase = 16,
    ttDim = 17,
    ttDim2 = 18,
    ttArrayFilter = 19,
    ttArrayAdd = 20,
    ttArrayInsert = 21,
    ttArrayDelete = 22,
    ttArrayReverse = 23,
    ttArrayFill = 24,
    ttArraySort = 25,
    ttArrayGetItems = 26,
    ttArrayGetLine = 27,
    ttArrayGetColumn = 28,
    ttArrayExchange = 29,
    ttArrayAssign = 30,
    ttMessage = 31,
    ttFor = 32,
    ttForeach = 33,
    ttForeachGetCount = 34,
    ttForeachSetCount = 35,
    ttDrawFirst = 100,
    ttLine = 101,
    ttPolyline = 102,
    ttPolygon = 103,
    ttText = 104,
    ttRect = 105,
    ttFillRect = 106,
    ttCircle = 107,
    ttFillCircle = 108,
    ttEllipse = 109,
    ttFillEllipse = 110,
    ttArc = 111,
    ttPie = 112,
    ttChord = 113,
    ttSetPenColor = 114,
    ttSetBrushColor = 115,
    ttSetFont = 116,
    ttDrawLast = 116,
    ttResource = 180,
};

// A variable as a statement refers to it: V_Index of its position in
// Variables and its absolute flag. Stored as 8 bytes (i32, u8, three zeros).
struct KRO_VARINFO {
    int32_t index = -1;
    uint8_t absolute = 0;
};

// Base of the payload records that a token owns. Readers check every count
// and size against what remains and return false on damaged data.
class TTokenRecord {
public:
    virtual ~TTokenRecord();
    virtual void Write(TMemBuffer& buffer) const = 0;
    virtual bool Read(TMemBuffer& buffer) = 0;
};

// An owned list of compiled expressions, freed with the list.
class TExpressionArray {
public:
    TExpressionArray() = default;
    TExpressionArray(const TExpressionArray&) = delete;
    TExpressionArray& operator=(const TExpressionArray&) = delete;
    ~TExpressionArray();
    // Takes e over.
    void Add(const EXPRESSION& e) { items.push_back(e); }
    int Count() const { return static_cast<int>(items.size()); }
    EXPRESSION& operator[](int i) { return items[static_cast<size_t>(i)]; }
    void Clear();
    // i32 count, then the expressions.
    void Write(TMemBuffer& buffer) const;
    bool Read(TMemBuffer& buffer);

    std::vector<EXPRESSION> items;
};

// Declaration (type 2).
class VARDEF : public TTokenRecord {
public:
    ~VARDEF() override;
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    uint8_t variableType = 0;  // 2..8
    uint8_t itemType = 0;      // arrays only
    uint8_t hasInitialisers = 0;
    TExpressionArray initialisers;
    TString name;
    EXPRESSION size;  // type 7; count 0 when unsized
    EXPRESSION lines;  // type 8
    EXPRESSION columns;  // type 8
};

// if (4), until (13), loop (14): the three integers mean what the type says.
class COND_INFO : public TTokenRecord {
public:
    ~COND_INFO() override;
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    EXPRESSION condition;
    int32_t start = -1;      // if: own index; until: its repeat; loop: unused
    int32_t end = -1;        // if, loop: the closing end
    int32_t elseIndex = -1;  // if: the else token, -1 when none
};

// while (5).
class WHILE_INFO : public TTokenRecord {
public:
    ~WHILE_INFO() override;
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    int32_t start = -1;
    int32_t end = -1;
    EXPRESSION condition;
    TExpressionArray further;
};

// for (32); its init expressions are tokens of type 1 before it.
class FOR_INFO : public TTokenRecord {
public:
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    TExpressionArray conditions;
    TExpressionArray steps;
    int32_t end = -1;
};

// foreach (33), foreach_getcount (34), foreach_setcount (35). 33: the array,
// the item variable, the closing end and an optional step; 34: the target
// variable in the item fields and the levels down to its foreach; 35: the
// levels and the new position in step.
class FOREACH_INFO : public TTokenRecord {
public:
    ~FOREACH_INFO() override;
    // i32 array, i32 item, i32 end, i32 levels, u8 array flag, u8 item flag, the expression.
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    int32_t arrayIndex = -1;
    int32_t itemIndex = -1;
    int32_t end = -1;
    int32_t levels = 0;
    uint8_t arrayAbsolute = 0;
    uint8_t itemAbsolute = 0;
    EXPRESSION step{0, nullptr};  // count 0 when none
};

// One label of a switch: its value (count 0 for default) and where its branch begins.
class TCaseInfo : public TContainerItem {
public:
    ~TCaseInfo() override;
    bool IsDefault() const { return label.count == 0; }
    // u8 is-default, the label unless default, i32 branch index.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    EXPRESSION label;
    int32_t branch = -1;
};

// switch (15): the case labels in order, the selector, the closing end, the default branch.
class TSwitchInfo : public TContainer, public TTokenRecord {
public:
    TSwitchInfo();
    ~TSwitchInfo() override;
    TCaseInfo* Case(int i) const { return static_cast<TCaseInfo*>(GetItem(i)); }
    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    EXPRESSION selector;
    int32_t end = -1;
    int32_t defaultIndex = -1;
};

// Array and drawing statements (17..30, 100..116): variables, expressions and
// a flag byte, stored in the order that the type's layout row gives.
class TStatementArgs : public TTokenRecord {
public:
    explicit TStatementArgs(int type) : type(type) {}
    ~TStatementArgs() override;
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;
    // Whether a type has a layout row.
    static bool HasLayout(int type);

    int type;
    std::vector<KRO_VARINFO> variables;
    TExpressionArray expressions;
    uint8_t flag = 0;
};

// resource (180): an image file's bytes, or a text or dialog file's lines.
class RESOURCE_INFO : public TTokenRecord {
public:
    void Write(TMemBuffer& buffer) const override;
    bool Read(TMemBuffer& buffer) override;

    int32_t kind = 0;    // 0 image, 1 text, 2 dialog
    int32_t format = 0;  // 0 BMP, 1 JPEG, 2 GIF
    TString name;
    std::vector<uint8_t> image;
    TStringContainer lines;
};

// One compiled statement. The payload lives, by type, in expression (1, 11,
// 31), value (10, 12), record (the rest that this package knows) or custom
// (a custom command's own, freed, stored and read by its handler).
class TToken : public TContainerItem {
public:
    explicit TToken(int type = 0);
    TToken(const TToken&) = delete;
    TToken& operator=(const TToken&) = delete;
    ~TToken() override;

    // The record of that class, or null when the token holds another.
    template <class T>
    T* Record() const {
        return dynamic_cast<T*>(record.get());
    }
    // Frees the payload; the type stays.
    void FreePayload();

    // i32 type, then the payload by type. A type that neither this package
    // nor a custom command knows is read back without payload. A reader
    // returns false on damaged data, leaving the token without payload.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
    // The same bytes as the memory-buffer form.
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;

    int32_t type;
    EXPRESSION expression;
    int32_t value = 0;
    std::unique_ptr<TTokenRecord> record;
    void* custom = nullptr;
    // Handed to a custom command's handler for its store operations; a
    // handler that finds damaged data on reading sets ioFailed.
    FILE* file = nullptr;
    TMemBuffer* buffer = nullptr;
    bool ioFailed = false;

private:
    bool ReadPayload(TMemBuffer& source);
};

// Whether a type keeps its payload as an inline expression / an inline integer.
bool TokenHoldsExpression(int type);
bool TokenHoldsValue(int type);

// Stored-form helpers shared by the records.
void WriteVarInfo(TMemBuffer& buffer, const KRO_VARINFO& v);
bool ReadVarInfo(TMemBuffer& buffer, KRO_VARINFO& v);
// A stored expression; false on damage or a not-compiled expression.
bool ReadStoredExpression(TMemBuffer& buffer, EXPRESSION& e);
