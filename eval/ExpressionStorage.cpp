// Writing and reading the stored form of compiled expressions, with the checks that make a loaded expression safe to run.
#include "ExpressionStorage.h"

#include <climits>
#include <cstring>
#include <vector>

#include "ExtensionHooks.h"
#include "FunctionTable.h"

namespace {

constexpr int kImageSize = 48;
constexpr int kValueOffset = 8;
constexpr int kRefOffset = 24;
constexpr int kListCountOffset = 40;
// The least an item takes in a stream: its image and its list count.
constexpr int kSmallestItem = kImageSize + 4;
// Placeholder pairs of one list; far beyond what any text produces.
constexpr int kMaxListCount = 1 << 20;
// Commas of one call; calls never take this many arguments.
constexpr int kMaxCommas = 1 << 16;
// Magnitude of a stored variable reference; lists never hold this many
// variables, and the bound keeps every position computed from it in range.
constexpr int32_t kMaxStoredReference = 1 << 28;

// ------------------------------------------------------------------ little-endian fields of an image

void PutInt32(unsigned char* at, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k) at[k] = static_cast<unsigned char>(bits >> (8 * k));
}

void PutInt64(unsigned char* at, int64_t value) {
    const uint64_t bits = static_cast<uint64_t>(value);
    for (int k = 0; k < 8; ++k) at[k] = static_cast<unsigned char>(bits >> (8 * k));
}

int32_t GetInt32(const unsigned char* at) {
    uint32_t bits = 0;
    for (int k = 0; k < 4; ++k) bits |= static_cast<uint32_t>(at[k]) << (8 * k);
    return static_cast<int32_t>(bits);
}

int64_t GetInt64(const unsigned char* at) {
    uint64_t bits = 0;
    for (int k = 0; k < 8; ++k) bits |= static_cast<uint64_t>(at[k]) << (8 * k);
    return static_cast<int64_t>(bits);
}

int64_t RealBits(double value) {
    int64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double RealOfBits(int64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool IsVariableKind(TExpressionItemType kind) {
    return kind == ekVariable || kind == ekArray || kind == ekArray2 || kind == ekElement || kind == ekElement2;
}

bool IsCallKind(TExpressionItemType kind) {
    return kind == ekSimpleFunction || kind == ekExternalFunction || kind == ekCustomFunction;
}

// ------------------------------------------------------------------ writing

// A list without integers counts as none.
int ListCountOf(const EXPRESSION_ITEM& item) { return item.list != nullptr && item.listCount > 0 ? item.listCount : 0; }

// The value area of an item, value position p at v[p].
void EncodeValue(const EXPRESSION_ITEM& item, unsigned char* v) {
    const TItemValue& value = item.value;
    if (item.kind == ekInteger) {
        PutInt64(v, value.integer);
    } else if (item.kind == ekReal) {
        PutInt64(v, RealBits(value.real));
    } else if (IsVariableKind(item.kind)) {
        PutInt32(v, value.variable.reference);
        v[4] = value.variable.absolute ? 1 : 0;
        if (item.kind == ekElement2) PutInt32(v + 8, value.variable.commas);
        if (item.kind == ekVariable) v[12] = value.variable.byReference ? 1 : 0;
    } else if (item.kind == ekBinaryOperator) {
        PutInt32(v, value.code.index);
        v[4] = static_cast<unsigned char>(value.code.character);
    } else if (item.kind == ekFieldSelector) {
        PutInt32(v, value.field);
    } else if (item.kind == ekUnaryOperator || item.kind == ekBuiltinFunction || item.kind == ekCustomOperator) {
        PutInt32(v, value.code.index);
    } else if (IsCallKind(item.kind) || item.kind == ekListFunction) {
        PutInt32(v, value.code.index);
        PutInt32(v + 4, value.code.commas);
    }
}

void EncodeImage(const EXPRESSION_ITEM& item, unsigned char* image) {
    std::memset(image, 0, kImageSize);
    image[0] = item.kind;
    EncodeValue(item, image + kValueOffset);
    PutInt32(image + kRefOffset, item.ref.index);
    PutInt32(image + kRefOffset + 4, item.ref.index1);
    PutInt32(image + kRefOffset + 8, item.ref.index2);
    PutInt32(image + kRefOffset + 12, item.ref.field);
    PutInt32(image + kListCountOffset, ListCountOf(item));
}

void WriteItems(TMemBuffer& buffer, const EXPRESSION& e);

void WriteItem(TMemBuffer& buffer, const EXPRESSION_ITEM& item) {
    unsigned char image[kImageSize];
    EncodeImage(item, image);
    buffer.Add(image, kImageSize);
    if (item.kind == ekOwnedText) {
        const TString empty;
        (item.value.text.text != nullptr ? *item.value.text.text : empty).WriteToMemBuffer(buffer);
    } else if (item.kind == ekSubExpression) {
        const EXPRESSION none;
        WriteItems(buffer, item.value.expression != nullptr ? *item.value.expression : none);
    }
    const int n = ListCountOf(item);
    buffer.AddInt(n);
    for (int k = 0; k < n; ++k) buffer.AddInt(item.list[k]);
}

void WriteItems(TMemBuffer& buffer, const EXPRESSION& e) {
    const bool compiled = e.count >= 0 && (e.count == 0 || e.items != nullptr);
    buffer.AddInt(compiled ? e.count : -1);
    if (!compiled) return;
    for (int i = 0; i < e.count; ++i) WriteItem(buffer, e.items[i]);
}

// ------------------------------------------------------------------ reading

// Where the bytes come from; both media carry the same bytes.
class TBufferSource {
public:
    explicit TBufferSource(TMemBuffer& buffer) : buffer(buffer) {}
    bool Read(void* target, int n) { return buffer.Read(target, n); }
    bool ReadText(TString& text) { return text.ReadFromMemBuffer(buffer); }
    // Items that can still follow at most.
    int64_t ItemRoom() const { return buffer.GetRemaining() / kSmallestItem; }

private:
    TMemBuffer& buffer;
};

class TFileSource {
public:
    explicit TFileSource(FILE* file) : file(file) {}
    bool Read(void* target, int n) {
        return n >= 0 && std::fread(target, 1, static_cast<size_t>(n), file) == static_cast<size_t>(n);
    }
    bool ReadText(TString& text) { return text.LoadFromStream(file); }
    // Unknown ahead; items are read one by one, so a false count ends at the file's end.
    int64_t ItemRoom() const { return INT_MAX; }

private:
    FILE* file;
};

// Operands an item takes off the stack: least and most (the most differs
// only for a call whose function is not registered now and whose comma
// count cannot tell no argument from one).
struct TOperandCount {
    int least;
    int most;
};

// Releases what items read so far own.
void FreeItems(std::vector<EXPRESSION_ITEM>& items) {
    EXPRESSION partial;
    partial.count = static_cast<int>(items.size());
    partial.items = new EXPRESSION_ITEM[items.size() + 1];
    std::copy(items.begin(), items.end(), partial.items);
    FreeExpression(partial);
    items.clear();
}

bool IsFlag(unsigned char byte) { return byte <= 1; }

bool IsBinaryOperatorIndex(int op) {
    if (op >= kOperatorCount) return op <= 36;
    const TOperatorInfo* info = GetOperatorInfo(op);
    return info != nullptr && info->operands == 2;
}

bool IsUnaryOperatorIndex(int op) {
    const TOperatorInfo* info = GetOperatorInfo(op);
    return info != nullptr && info->operands == 1;
}

// Arguments of a call whose function may not be registered: its declared
// parameters when it is, else the comma count says commas + 1, or 0 or 1.
TOperandCount CallOperands(const TExtFunction* function, int commas) {
    if (function != nullptr) return {function->GetCount(), function->GetCount()};
    return commas > 0 ? TOperandCount{commas + 1, commas + 1} : TOperandCount{0, 1};
}

// Decodes the value area into item and checks it; false for a value no
// compiler produces. Sets operands to what the item takes off the stack.
bool DecodeValue(EXPRESSION_ITEM& item, const unsigned char* v, TOperandCount& operands) {
    TItemValue& value = item.value;
    operands = {0, 0};
    switch (item.kind) {
        case ekInteger: value.integer = GetInt64(v); return true;
        case ekReal: value.real = RealOfBits(GetInt64(v)); return true;
        case ekOwnedText: return true;
        case ekSubExpression: return true;
        case ekVariable:
        case ekArray:
        case ekArray2:
        case ekElement:
        case ekElement2: {
            value.variable.reference = GetInt32(v);
            value.variable.absolute = v[4] != 0;
            value.variable.commas = item.kind == ekElement2 ? GetInt32(v + 8) : 0;
            value.variable.byReference = item.kind == ekVariable && v[12] != 0;
            if (item.kind == ekElement) operands = {1, 1};
            if (item.kind == ekElement2) operands = {2, 2};
            const bool flagsSound = IsFlag(v[4]) && (item.kind != ekVariable || IsFlag(v[12]));
            const bool commasSound = value.variable.commas == 0 || value.variable.commas == 1;
            // The reference designates a variable only against the list of
            // the evaluation, which resolves it with a range test.
            const bool referenceSound = value.variable.reference >= -kMaxStoredReference &&
                                        value.variable.reference <= kMaxStoredReference;
            return flagsSound && commasSound && referenceSound;
        }
        case ekBinaryOperator:
            value.code.index = GetInt32(v);
            value.code.character = static_cast<char>(v[4]);
            operands = {2, 2};
            return IsBinaryOperatorIndex(value.code.index);
        case ekUnaryOperator:
            value.code.index = GetInt32(v);
            operands = {1, 1};
            return IsUnaryOperatorIndex(value.code.index);
        case ekFieldSelector:
            value.field = GetInt32(v);
            operands = {1, 1};
            return value.field >= kFieldX && value.field <= kFieldIm;
        case ekCustomOperator:
            value.code.index = GetInt32(v);
            operands = {2, 2};
            return true;
        case ekSimpleFunction: {
            value.code.index = GetInt32(v);
            value.code.commas = GetInt32(v + 4);
            const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(value.code.index);
            if (info == nullptr) return false;
            operands = {info->operands, info->operands};
            return value.code.commas == info->operands - 1;
        }
        case ekBuiltinFunction: {
            value.code.index = GetInt32(v);
            const TMultiFunction* function = MultiFunctions()[value.code.index];
            if (function == nullptr) return false;
            operands = {function->GetCount(), function->GetCount()};
            return true;
        }
        case ekListFunction:
            value.code.index = GetInt32(v);
            value.code.argumentCount = GetInt32(v + 4);
            operands = {value.code.argumentCount, value.code.argumentCount};
            return VarFunctions()[value.code.index] != nullptr && value.code.argumentCount >= 1 &&
                   value.code.argumentCount <= kMaxCommas;
        case ekExternalFunction:
        case ekCustomFunction: {
            value.code.index = GetInt32(v);
            value.code.commas = GetInt32(v + 4);
            if (value.code.commas < 0 || value.code.commas > kMaxCommas) return false;
            if (item.kind == ekExternalFunction && value.code.index < 0) return false;
            const TExtFunction* function = item.kind == ekExternalFunction
                                               ? static_cast<const TExtFunction*>(ExtFunctions()[value.code.index])
                                               : FindCustomFunction(value.code.index);
            operands = CallOperands(function, value.code.commas);
            return true;
        }
        default: return false;
    }
}

// A list is the placeholder pairs (position, number) of a list-function
// item: an even count, nothing negative, positions in increasing order.
bool ListIsSound(const EXPRESSION_ITEM& item) {
    if (item.listCount == 0) return true;
    if (item.kind != ekListFunction || item.listCount % 2 != 0) return false;
    for (int k = 0; k < item.listCount; k += 2) {
        if (item.list[k] < 0 || item.list[k + 1] < 0) return false;
        if (k > 0 && item.list[k] < item.list[k - 2]) return false;
    }
    return true;
}

// Runs the items on a stack of counts only: every item must find its
// operands and the expression must leave exactly one value. An unregistered
// call may take one operand fewer, so the depth is a range; an expression is
// refused when no choice of those counts runs it.
bool StackDepthIsSound(const std::vector<EXPRESSION_ITEM>& items, const std::vector<TOperandCount>& operands) {
    if (items.empty()) return true;
    int64_t least = 0;
    int64_t most = 0;
    for (const TOperandCount& taken : operands) {
        if (most < taken.least) return false;
        least = (least - taken.most > 0 ? least - taken.most : 0) + 1;
        most = most - taken.least + 1;
    }
    return least <= 1 && most >= 1;
}

template <class Source>
bool ReadItems(Source& source, std::vector<EXPRESSION_ITEM>& items, int& count, int nesting);

template <class Source>
bool ReadNested(Source& source, EXPRESSION_ITEM& item, int nesting) {
    if (nesting >= kMaxStoredNesting) return false;
    std::vector<EXPRESSION_ITEM> nestedItems;
    int nestedCount = -1;
    if (!ReadItems(source, nestedItems, nestedCount, nesting + 1) || nestedCount < 1) {
        FreeItems(nestedItems);
        return false;
    }
    EXPRESSION* nested = new EXPRESSION;
    nested->items = new EXPRESSION_ITEM[nestedItems.size() + 1];
    std::copy(nestedItems.begin(), nestedItems.end(), nested->items);
    nested->count = nestedCount;
    item.value.expression = nested;
    return true;
}

template <class Source>
bool ReadList(Source& source, EXPRESSION_ITEM& item, int imageCount) {
    int32_t n = 0;
    unsigned char field[4];
    if (!source.Read(field, 4)) return false;
    n = GetInt32(field);
    if (n != imageCount || n < 0 || n > kMaxListCount) return false;
    if (n == 0) return true;
    std::vector<unsigned char> bytes(static_cast<size_t>(n) * 4);
    if (!source.Read(bytes.data(), n * 4)) return false;
    item.list = new int32_t[static_cast<size_t>(n)];
    item.listCount = n;
    for (int k = 0; k < n; ++k) item.list[k] = GetInt32(&bytes[static_cast<size_t>(k) * 4]);
    return true;
}

// Reads one item into the back of items (so that a failure frees what it
// already owns) and reports the operands it takes.
template <class Source>
bool ReadOneItem(Source& source, std::vector<EXPRESSION_ITEM>& items, TOperandCount& operands, int nesting) {
    unsigned char image[kImageSize];
    if (!source.Read(image, kImageSize)) return false;
    items.push_back(MakeItem(image[0]));
    EXPRESSION_ITEM& item = items.back();
    if (!DecodeValue(item, image + kValueOffset, operands)) return false;
    item.ref = VARINFO{GetInt32(image + kRefOffset), GetInt32(image + kRefOffset + 4),
                       GetInt32(image + kRefOffset + 8), GetInt32(image + kRefOffset + 12)};
    if (item.kind == ekOwnedText) {
        item.value.text.text = new TString;
        if (!source.ReadText(*item.value.text.text)) return false;
    } else if (item.kind == ekSubExpression) {
        if (!ReadNested(source, item, nesting)) return false;
    }
    return ReadList(source, item, GetInt32(image + kListCountOffset)) && ListIsSound(item);
}

template <class Source>
bool ReadItems(Source& source, std::vector<EXPRESSION_ITEM>& items, int& count, int nesting) {
    unsigned char field[4];
    if (!source.Read(field, 4)) return false;
    count = GetInt32(field);
    if (count == -1) return true;
    if (count < 0 || count > source.ItemRoom()) return false;
    std::vector<TOperandCount> operands;
    for (int i = 0; i < count; ++i) {
        operands.push_back({0, 0});
        if (!ReadOneItem(source, items, operands.back(), nesting)) return false;
    }
    return StackDepthIsSound(items, operands);
}

template <class Source>
bool ReadStream(Source& source, EXPRESSION& e) {
    std::vector<EXPRESSION_ITEM> items;
    int count = -1;
    e = EXPRESSION();
    if (!ReadItems(source, items, count, 0)) {
        FreeItems(items);
        return false;
    }
    if (count < 0) return true;
    e.items = new EXPRESSION_ITEM[items.size() + 1];
    std::copy(items.begin(), items.end(), e.items);
    e.count = count;
    return true;
}

}  // namespace

void WriteExpression(TMemBuffer& buffer, const EXPRESSION& e) { WriteItems(buffer, e); }

void SaveExpression(FILE* file, const EXPRESSION& e) {
    TMemBuffer form;
    WriteItems(form, e);
    if (form.GetSize() > 0) std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), file);
}

bool ReadExpression(EXPRESSION& e, TMemBuffer& buffer) {
    const int start = buffer.GetReadPosition();
    TBufferSource source(buffer);
    if (ReadStream(source, e)) return true;
    buffer.SeekRead(start);
    return false;
}

bool LoadExpression(EXPRESSION& e, FILE* file) {
    TFileSource source(file);
    return ReadStream(source, e);
}

EXPRESSION ReadExpression(TMemBuffer& buffer) {
    EXPRESSION e;
    ReadExpression(e, buffer);
    return e;
}

EXPRESSION LoadExpression(FILE* file) {
    EXPRESSION e;
    LoadExpression(e, file);
    return e;
}
