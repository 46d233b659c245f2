// Compiled statements: payload records, their release and their stored forms.
#include "Token.h"

#include "CustomCommands.h"
#include "ExpressionStorage.h"

namespace {

// Frees e and leaves it not compiled.
void Release(EXPRESSION& e) {
    FreeExpression(e);
    e = EXPRESSION();
}

bool ReadInt32(TMemBuffer& buffer, int32_t& value) {
    int v = 0;
    if (!buffer.ReadInt(v)) return false;
    value = v;
    return true;
}

// A stored count that the remaining bytes can hold, at least itemBytes each.
bool ReadCount(TMemBuffer& buffer, int32_t& n, int itemBytes) {
    return ReadInt32(buffer, n) && n >= 0 && n <= buffer.GetRemaining() / itemBytes;
}

}  // namespace

TTokenRecord::~TTokenRecord() = default;

void WriteVarInfo(TMemBuffer& buffer, const KRO_VARINFO& v) {
    buffer.AddInt(v.index);
    const uint8_t bytes[4] = {v.absolute, 0, 0, 0};
    buffer.Add(bytes, 4);
}

bool ReadVarInfo(TMemBuffer& buffer, KRO_VARINFO& v) {
    uint8_t bytes[4];
    if (!ReadInt32(buffer, v.index) || !buffer.Read(bytes, 4)) return false;
    v.absolute = bytes[0] != 0 ? 1 : 0;
    return true;
}

bool ReadStoredExpression(TMemBuffer& buffer, EXPRESSION& e) {
    if (!ReadExpression(e, buffer)) return false;
    if (e.count >= 0) return true;
    e = EXPRESSION();
    return false;
}

// ---- TExpressionArray

TExpressionArray::~TExpressionArray() { Clear(); }

void TExpressionArray::Clear() {
    for (EXPRESSION& e : items) FreeExpression(e);
    items.clear();
}

void TExpressionArray::Write(TMemBuffer& buffer) const {
    buffer.AddInt(Count());
    for (const EXPRESSION& e : items) WriteExpression(buffer, e);
}

bool TExpressionArray::Read(TMemBuffer& buffer) {
    Clear();
    int32_t n = 0;
    if (!ReadCount(buffer, n, 4)) return false;
    for (int32_t i = 0; i < n; ++i) {
        EXPRESSION e;
        if (!ReadStoredExpression(buffer, e)) return false;
        Add(e);
    }
    return true;
}

// ---- VARDEF

VARDEF::~VARDEF() {
    FreeExpression(size);
    FreeExpression(lines);
    FreeExpression(columns);
}

void VARDEF::Write(TMemBuffer& buffer) const {
    buffer.AddByte(variableType);
    buffer.AddByte(itemType);
    buffer.AddByte(hasInitialisers);
    name.WriteToMemBuffer(buffer);
    if (variableType == vtArray) WriteExpression(buffer, size);
    if (variableType == vtArray2) {
        WriteExpression(buffer, lines);
        WriteExpression(buffer, columns);
    }
    if (hasInitialisers != 0) initialisers.Write(buffer);
}

bool VARDEF::Read(TMemBuffer& buffer) {
    if (!buffer.ReadByte(variableType) || !buffer.ReadByte(itemType) || !buffer.ReadByte(hasInitialisers))
        return false;
    if (variableType < vtInt || variableType > vtArray2 || hasInitialisers > 1) return false;
    const bool array = variableType == vtArray || variableType == vtArray2;
    if (array && (itemType < vtInt || itemType > vtString)) return false;
    if (!name.ReadFromMemBuffer(buffer) || name.Length() == 0) return false;
    if (variableType == vtArray && !ReadStoredExpression(buffer, size)) return false;
    if (variableType == vtArray2 && (!ReadStoredExpression(buffer, lines) || !ReadStoredExpression(buffer, columns)))
        return false;
    return hasInitialisers == 0 || initialisers.Read(buffer);
}

// ---- COND_INFO, WHILE_INFO, FOR_INFO

COND_INFO::~COND_INFO() { FreeExpression(condition); }

void COND_INFO::Write(TMemBuffer& buffer) const {
    buffer.AddInt(start);
    buffer.AddInt(end);
    buffer.AddInt(elseIndex);
    WriteExpression(buffer, condition);
}

bool COND_INFO::Read(TMemBuffer& buffer) {
    return ReadInt32(buffer, start) && ReadInt32(buffer, end) && ReadInt32(buffer, elseIndex) &&
           ReadStoredExpression(buffer, condition);
}

WHILE_INFO::~WHILE_INFO() { FreeExpression(condition); }

void WHILE_INFO::Write(TMemBuffer& buffer) const {
    buffer.AddInt(start);
    buffer.AddInt(end);
    WriteExpression(buffer, condition);
    further.Write(buffer);
}

bool WHILE_INFO::Read(TMemBuffer& buffer) {
    return ReadInt32(buffer, start) && ReadInt32(buffer, end) && ReadStoredExpression(buffer, condition) &&
           further.Read(buffer);
}

void FOR_INFO::Write(TMemBuffer& buffer) const {
    conditions.Write(buffer);
    steps.Write(buffer);
    buffer.AddInt(end);
}

bool FOR_INFO::Read(TMemBuffer& buffer) {
    return conditions.Read(buffer) && steps.Read(buffer) && ReadInt32(buffer, end);
}

// ---- foreach family

FOREACH_INFO::~FOREACH_INFO() { FreeExpression(step); }

void FOREACH_INFO::Write(TMemBuffer& buffer) const {
    buffer.AddInt(arrayIndex);
    buffer.AddInt(itemIndex);
    buffer.AddInt(end);
    buffer.AddInt(levels);
    buffer.AddByte(arrayAbsolute);
    buffer.AddByte(itemAbsolute);
    WriteExpression(buffer, step);
}

bool FOREACH_INFO::Read(TMemBuffer& buffer) {
    Release(step);
    if (!ReadInt32(buffer, arrayIndex) || !ReadInt32(buffer, itemIndex) || !ReadInt32(buffer, end) ||
        !ReadInt32(buffer, levels) || !buffer.ReadByte(arrayAbsolute) || !buffer.ReadByte(itemAbsolute))
        return false;
    arrayAbsolute = arrayAbsolute != 0 ? 1 : 0;
    itemAbsolute = itemAbsolute != 0 ? 1 : 0;
    return levels >= 0 && ReadStoredExpression(buffer, step);
}

// ---- switch

TCaseInfo::~TCaseInfo() { FreeExpression(label); }

void TCaseInfo::WriteToMemBuffer(TMemBuffer& buffer) const {
    buffer.AddByte(IsDefault() ? 1 : 0);
    if (!IsDefault()) WriteExpression(buffer, label);
    buffer.AddInt(branch);
}

bool TCaseInfo::ReadFromMemBuffer(TMemBuffer& buffer) {
    Release(label);
    uint8_t isDefault = 0;
    if (!buffer.ReadByte(isDefault) || isDefault > 1) return false;
    if (isDefault == 1) {
        label.count = 0;
    } else if (!ReadStoredExpression(buffer, label) || label.count == 0) {
        return false;
    }
    return ReadInt32(buffer, branch);
}

TSwitchInfo::TSwitchInfo() { Init(); }

TSwitchInfo::~TSwitchInfo() {
    DeleteAll(true);
    FreeExpression(selector);
}

void* TSwitchInfo::CreateItem(int) { return new TCaseInfo; }
void TSwitchInfo::FreeItem(void* item) { delete static_cast<TCaseInfo*>(item); }

void TSwitchInfo::Write(TMemBuffer& buffer) const {
    TContainer::WriteToMemBuffer(buffer);
    WriteExpression(buffer, selector);
    buffer.AddInt(end);
    buffer.AddInt(defaultIndex);
}

bool TSwitchInfo::Read(TMemBuffer& buffer) {
    if (!TContainer::ReadFromMemBuffer(buffer)) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Case(i) == nullptr) return false;
    return ReadStoredExpression(buffer, selector) && ReadInt32(buffer, end) && ReadInt32(buffer, defaultIndex);
}

// ---- array and drawing statements

namespace {

// Field order of each statement's stored form: V a KRO_VARINFO, E an
// expression, N a counted list of KRO_VARINFOs, L a counted list of
// expressions, B the flag byte.
struct TArgsLayout {
    int type;
    const char* fields;
};

// ORDER: the layouts are part of the saved form.
const TArgsLayout kArgsLayouts[] = {
    {ttDim, "VE"},           {ttDim2, "VEE"},          {ttArrayFilter, "V"},     {ttArrayAdd, "VE"},
    {ttArrayInsert, "VEE"},  {ttArrayDelete, "VE"},    {ttArrayReverse, "N"},    {ttArrayFill, "VE"},
    {ttArraySort, "VB"},     {ttArrayGetItems, "VVEE"}, {ttArrayGetLine, "VVE"}, {ttArrayGetColumn, "VVE"},
    {ttArrayExchange, "VEE"}, {ttArrayAssign, "VL"},   {ttPolyline, "V"},        {ttPolygon, "V"},
};

const char* FindLayout(int type) {
    for (const TArgsLayout& layout : kArgsLayouts)
        if (layout.type == type) return layout.fields;
    if (type >= ttDrawFirst && type <= ttDrawLast) return "L";
    return nullptr;
}

}  // namespace

TStatementArgs::~TStatementArgs() = default;

bool TStatementArgs::HasLayout(int type) { return FindLayout(type) != nullptr; }

void TStatementArgs::Write(TMemBuffer& buffer) const {
    const char* fields = FindLayout(type);
    size_t variable = 0, expression = 0;
    for (const char* f = fields != nullptr ? fields : ""; *f != '\0'; ++f) {
        switch (*f) {
            case 'V': WriteVarInfo(buffer, variable < variables.size() ? variables[variable++] : KRO_VARINFO()); break;
            case 'E':
                WriteExpression(buffer, expression < expressions.items.size() ? expressions.items[expression++]
                                                                                : EXPRESSION());
                break;
            case 'N':
                buffer.AddInt(static_cast<int>(variables.size()));
                for (const KRO_VARINFO& v : variables) WriteVarInfo(buffer, v);
                break;
            case 'L': expressions.Write(buffer); break;
            case 'B': buffer.AddByte(flag); break;
        }
    }
}

bool TStatementArgs::Read(TMemBuffer& buffer) {
    const char* fields = FindLayout(type);
    if (fields == nullptr) return false;
    variables.clear();
    expressions.Clear();
    for (const char* f = fields; *f != '\0'; ++f) {
        KRO_VARINFO v;
        EXPRESSION e;
        int32_t n = 0;
        switch (*f) {
            case 'V':
                if (!ReadVarInfo(buffer, v)) return false;
                variables.push_back(v);
                break;
            case 'E':
                if (!ReadStoredExpression(buffer, e)) return false;
                expressions.Add(e);
                break;
            case 'N':
                if (!ReadCount(buffer, n, 8)) return false;
                for (int32_t i = 0; i < n; ++i) {
                    if (!ReadVarInfo(buffer, v)) return false;
                    variables.push_back(v);
                }
                break;
            case 'L':
                if (!expressions.Read(buffer)) return false;
                break;
            case 'B':
                if (!buffer.ReadByte(flag)) return false;
                break;
        }
    }
    return true;
}

// ---- resource

void RESOURCE_INFO::Write(TMemBuffer& buffer) const {
    buffer.AddInt(kind);
    name.WriteToMemBuffer(buffer);
    if (kind == 0) {
        buffer.AddInt(format);
        buffer.AddInt(static_cast<int>(image.size()));
        if (!image.empty()) buffer.Add(image.data(), static_cast<int>(image.size()));
    } else {
        lines.WriteToMemBuffer(buffer);
    }
}

bool RESOURCE_INFO::Read(TMemBuffer& buffer) {
    if (!ReadInt32(buffer, kind) || kind < 0 || kind > 2 || !name.ReadFromMemBuffer(buffer)) return false;
    if (kind != 0) return lines.ReadFromMemBuffer(buffer);
    int32_t size = 0;
    if (!ReadInt32(buffer, format) || format < 0 || format > 2 || !ReadCount(buffer, size, 1)) return false;
    image.resize(static_cast<size_t>(size));
    return size == 0 || buffer.Read(image.data(), size);
}

// ---- TToken

bool TokenHoldsExpression(int type) { return type == ttExpression || type == ttReturn || type == ttMessage; }
bool TokenHoldsValue(int type) { return type == ttFunc || type == ttRepeat; }

TToken::TToken(int type) : type(type) {}

TToken::~TToken() { FreePayload(); }

void TToken::FreePayload() {
    Release(expression);
    value = 0;
    record.reset();
    if (custom == nullptr) return;
    TCustomCommand* command = GetCustomCommand(type);
    if (command != nullptr && command->handler != nullptr) command->handler(type, ccFree, this, nullptr);
    custom = nullptr;
}

namespace {

// A new, empty record for the types that keep one; null for the others.
std::unique_ptr<TTokenRecord> NewRecord(int type) {
    switch (type) {
        case ttDeclaration: return std::make_unique<VARDEF>();
        case ttIf:
        case ttUntil:
        case ttLoop: return std::make_unique<COND_INFO>();
        case ttWhile: return std::make_unique<WHILE_INFO>();
        case ttSwitch: return std::make_unique<TSwitchInfo>();
        case ttFor: return std::make_unique<FOR_INFO>();
        case ttForeach:
        case ttForeachGetCount:
        case ttForeachSetCount: return std::make_unique<FOREACH_INFO>();
        case ttResource: return std::make_unique<RESOURCE_INFO>();
        default: break;
    }
    if (TStatementArgs::HasLayout(type)) return std::make_unique<TStatementArgs>(type);
    return nullptr;
}

}  // namespace

void TToken::WriteToMemBuffer(TMemBuffer& target) const {
    target.AddInt(type);
    if (TokenHoldsExpression(type)) {
        WriteExpression(target, expression);
    } else if (TokenHoldsValue(type)) {
        target.AddInt(value);
    } else if (record != nullptr) {
        record->Write(target);
    } else if (TCustomCommand* command = GetCustomCommand(type); command != nullptr && command->handler != nullptr) {
        TToken* self = const_cast<TToken*>(this);
        self->buffer = &target;
        command->handler(type, ccWriteBuffer, self, nullptr);
        self->buffer = nullptr;
    }
}

bool TToken::ReadPayload(TMemBuffer& source) {
    if (TokenHoldsExpression(type)) return ReadStoredExpression(source, expression);
    if (TokenHoldsValue(type)) return ReadInt32(source, value);
    record = NewRecord(type);
    if (record != nullptr) return record->Read(source);
    TCustomCommand* command = GetCustomCommand(type);
    if (command == nullptr || command->handler == nullptr) return true;
    buffer = &source;
    ioFailed = false;
    command->handler(type, ccReadBuffer, this, nullptr);
    buffer = nullptr;
    return !ioFailed && !source.GetReadFailed();
}

bool TToken::ReadFromMemBuffer(TMemBuffer& source) {
    FreePayload();
    if (!ReadInt32(source, type) || type <= 0) return false;
    if (ReadPayload(source)) return true;
    FreePayload();
    return false;
}

void TToken::SaveToStream(FILE* target) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    if (form.GetSize() > 0) std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), target);
}

bool TToken::LoadFromStream(FILE* source) {
    // A token's extent is known only by reading it: take the rest of the stream.
    TMemBuffer form;
    const long start = std::ftell(source);
    if (start < 0 || form.AddFile(source) < 0) return false;
    form.SeekRead(0);
    const bool read = ReadFromMemBuffer(form);
    std::fseek(source, start + (read ? form.GetReadPosition() : 0), SEEK_SET);
    return read;
}
