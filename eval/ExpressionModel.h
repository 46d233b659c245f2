// The compiled expression model: item records, their kinds, compiled expressions, results, the operator and simple-function tables.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "Container.h"
#include "String.h"
#include "Variables.h"

// Kind code of an item, one unsigned byte. C = compiled, O = compiler's
// operator stack, T = token only, E = evaluation stack.
// ORDER: the codes are stored in compiled-expression files.
typedef uint8_t TExpressionItemType;
constexpr TExpressionItemType ekNone = 0;
constexpr TExpressionItemType ekInteger = 1;         // C, E
constexpr TExpressionItemType ekBlank = 2;           // T
constexpr TExpressionItemType ekReal = 3;            // C, E
constexpr TExpressionItemType ekVariable = 4;        // C
constexpr TExpressionItemType ekBinaryOperator = 5;  // C, O
constexpr TExpressionItemType ekUnaryOperator = 6;   // C, O
constexpr TExpressionItemType ekSimpleFunction = 7;  // C, O
constexpr TExpressionItemType ekLeftParenthesis = 8;
constexpr TExpressionItemType ekRightParenthesis = 9;
constexpr TExpressionItemType ekLeftBracket = 10;
constexpr TExpressionItemType ekRightBracket = 11;
constexpr TExpressionItemType ekFieldSelector = 12;  // C
constexpr TExpressionItemType ekComma = 13;
constexpr TExpressionItemType ekBuiltinFunction = 14;  // C, O
constexpr TExpressionItemType ekListFunction = 15;     // C, O
constexpr TExpressionItemType ekArray = 16;            // C, O, E
constexpr TExpressionItemType ekArray2 = 17;           // C, O, E
constexpr TExpressionItemType ekOwnedText = 18;        // C, E
constexpr TExpressionItemType ekBorrowedText = 19;     // E
constexpr TExpressionItemType ekBufferedText = 20;     // E
constexpr TExpressionItemType ekPoint = 21;            // E
constexpr TExpressionItemType ekComplex = 22;          // E
constexpr TExpressionItemType ekElement = 23;          // C, O
constexpr TExpressionItemType ekElement2 = 24;         // C, O
constexpr TExpressionItemType ekExternalFunction = 25;  // C, O
constexpr TExpressionItemType ekCustomFunction = 26;    // C, O
constexpr TExpressionItemType ekCustomOperator = 27;    // C, O
constexpr TExpressionItemType ekSubExpression = 28;     // C, E
constexpr TExpressionItemType ekError = 255;            // E

// Field numbers of the field selector and of VARINFO::field.
constexpr int kFieldX = 0;
constexpr int kFieldY = 1;
constexpr int kFieldRe = 2;
constexpr int kFieldIm = 3;

struct EXPRESSION;

// Variable and array items (kinds 4, 16, 17, 23, 24).
struct TVariableValue {
    int32_t reference;  // stored reference, read through V_Index(reference, absolute)
    bool absolute;
    int32_t commas;     // kind 24: commas seen inside the brackets (0 or 1)
    bool byReference;   // kind 4: push the item itself instead of the variable's value
};

// Operators and functions (kinds 5, 6, 7, 14, 15, 25, 26, 27).
struct TCodeValue {
    int32_t index;  // operator, function, table or id number
    union {
        int32_t commas;          // kinds 7, 25, 26: commas seen so far
        int32_t argumentCount;  // kind 15
        char character;         // kind 5, operator 34: the compared character
    };
};

// Text items (kinds 18, 19, 20).
struct TTextValue {
    TString* text;
    int32_t slot;  // kind 20: the string heap slot that lent text
};

// The 16-byte value area; which member holds depends on the kind.
union TItemValue {
    int64_t integer;
    double real;
    VPOINT point;
    VCOMPLEX complex;
    TTextValue text;
    TVariableValue variable;
    TCodeValue code;
    int32_t field;           // kind 12
    EXPRESSION* expression;  // kind 28
};

// One record serves as compiled item, operator-stack entry and stack value.
// Constructing it sets only listCount and list; set the rest before use.
struct EXPRESSION_ITEM {
    TExpressionItemType kind;
    TItemValue value;
    VARINFO ref;  // on the stack: the variable the value came from, index -1 if none
    int listCount = 0;
    int32_t* list = nullptr;
};

// A bare number, kind 1 or 3: what the pre-decoded form of an expression
// computes on.
struct TPlainNumber {
    TExpressionItemType kind;
    union {
        int64_t integer;
        double real;
    } value;
};

// Items are copied byte for byte on the stack and in stored images.
static_assert(std::is_trivially_copyable<EXPRESSION_ITEM>::value, "items stay trivially copyable");

// A compiled expression: count items (-1 = not compiled) in an owned array
// of count + 1 records. The spare record behind the last is no item: the
// evaluator keeps there what it learns about the expression for later
// evaluations (see TEvaluationCache), so every producer must allocate it.
struct EXPRESSION {
    int count = -1;
    EXPRESSION_ITEM* items = nullptr;
};

// What evaluation keeps with a compiled expression between evaluations (the
// decoded form): held by the spare record, deleted by FreeExpression, never
// copied by AssignExpression and never stored. A fresh spare record holds
// none (its list pointer is null, as every constructed item's is).
class TEvaluationCache {
public:
    virtual ~TEvaluationCache() = default;
};

// The spare record's own states, kept in its listCount: fresh, evaluated
// once (the decoded form is made at the second evaluation, so that an
// expression evaluated once costs nothing more), or holding a cache.
constexpr int kSpareFresh = 0;
constexpr int kSpareEvaluatedOnce = 0x5EED0001;
constexpr int kSpareHoldsCache = 0x5EED0002;
// The cache the spare record of e holds, or null (also for count < 0).
inline TEvaluationCache* EvaluationCacheOf(const EXPRESSION& e) {
    if (e.count < 0 || e.items == nullptr) return nullptr;
    const EXPRESSION_ITEM& spare = e.items[e.count];
    int32_t* held = __atomic_load_n(&spare.list, __ATOMIC_ACQUIRE);
    if (held == nullptr || __atomic_load_n(&spare.listCount, __ATOMIC_RELAXED) != kSpareHoldsCache) return nullptr;
    return reinterpret_cast<TEvaluationCache*>(held);
}
// Hands cache to e's spare record unless one is there already; false (cache
// not taken) when another got there first. Safe from several threads.
bool PublishEvaluationCache(EXPRESSION& e, TEvaluationCache* cache);

// Result of an evaluation: kind 1, 3, 18, 21, 22 or 255 (19 or 20 for a
// string after check mode), the value, the text of a string, the origin.
struct EXPRVALUE {
    TExpressionItemType kind = ekInteger;
    TItemValue value{};
    TString text;
    VARINFO ref{-1, -1, -1, -1};
};

// An item of a kind with a zero value and no variable reference.
inline EXPRESSION_ITEM MakeItem(TExpressionItemType kind) {
    EXPRESSION_ITEM item;
    item.kind = kind;
    std::memset(&item.value, 0, sizeof item.value);
    item.ref = VARINFO{-1, -1, -1, -1};
    return item;
}
inline EXPRESSION_ITEM MakeIntegerItem(int64_t value) {
    EXPRESSION_ITEM item = MakeItem(ekInteger);
    item.value.integer = value;
    return item;
}
inline EXPRESSION_ITEM MakeRealItem(double value) {
    EXPRESSION_ITEM item = MakeItem(ekReal);
    item.value.real = value;
    return item;
}

// Frees what e owns (texts of kind 18, nested expressions, lists, the item
// array when count >= 0, since count 0 still owns its one-record array).
// e's fields stay as they were; count -1 frees nothing.
void FreeExpression(EXPRESSION& e);
// dst becomes a deep copy of src; dst's old content is not freed. A source
// with count < 0 gives count -1 and no items.
void AssignExpression(EXPRESSION& dst, const EXPRESSION& src);
EXPRESSION DuplicateExpression(const EXPRESSION& src);

// The 34 operators of the table (indices 0..33); 34..36 have no row.
constexpr int kOperatorCount = 34;
constexpr int kSimpleFunctionCount = 31;

struct TOperatorInfo {
    const char* symbol;
    const char* mathML;  // null: no tag
    int level;           // higher binds tighter
    int operands;
    bool right;          // equal operators in a row group from the right
};

struct TSimpleFunctionInfo {
    const char* name;
    int operands;
    const char* mathML;  // null: no tag
};

// Rows of the tables; null outside 0..33 and 0..30.
const TOperatorInfo* GetOperatorInfo(int i);
const TSimpleFunctionInfo* GetSimpleFunctionInfo(int i);

// Symbol of operator i for 0..33, else "".
TString GetOperatorString(int i);
// Level of operator i for 0..33, else 10 (also the level of 34..36).
int GetOperatorLevel(int i);
// Symbol of operator i; "" outside 0..33.
const char* GetOperatorName(int i);
// Name of simple function i for 0..30, else "".
TString GetFunctionString(int i);
const char* GetFunctionName(int i);

// The compiler's output sequence and operator stack: owned, separately
// allocated item records. Deleting a record frees the record only, never the
// text, nested expression or list it points to.
class TExpressionItemList : public TContainer {
public:
    TExpressionItemList();
    ~TExpressionItemList() override;
    void Init() override;
    void FreeItem(void* item) override;

    // Null outside 0..count-1.
    EXPRESSION_ITEM* ItemAt(int i) const;
    // Null when the list is empty.
    EXPRESSION_ITEM* LastItem() const;
    // Null when fewer than two records.
    EXPRESSION_ITEM* SecondToLast() const;
    // A copy of the last record, which is deleted; an empty list gives kind 0.
    EXPRESSION_ITEM PopItem();
    // Appends a copy; kind 18 gets its own text copy, kind 28 its own
    // duplicate expression; the list pointer is copied unchanged.
    EXPRESSION_ITEM* PushCopy(const EXPRESSION_ITEM& item);
    // Appends a new record of that kind (kind 18 with a new empty text).
    EXPRESSION_ITEM* PushNew(TExpressionItemType kind);
};
