// The compiled script program: its lists, globals and saved form.
#include "Program.h"

#include "ContainerItem.h"
#include "DecodedProgram.h"
#include "ExpressionModel.h"
#include "Interpreter.h"

// ---- TTokenList

TTokenList::~TTokenList() { DeleteAll(true); }

TToken* TTokenList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TToken*>(GetItem(i)) : nullptr;
}

TToken* TTokenList::AddToken(int type) {
    TToken* token = new TToken(type);
    Add(token);
    return token;
}

void* TTokenList::CreateItem(int) { return new TToken; }
void TTokenList::FreeItem(void* item) { delete static_cast<TToken*>(item); }

// ---- functions

TSpareVariables::~TSpareVariables() {
    for (TVariable* v : spare) delete v;
}

void TFunctionParam::WriteToMemBuffer(TMemBuffer& buffer) const {
    name.WriteToMemBuffer(buffer);
    buffer.AddByte(kind);
    buffer.AddByte(variableType);
    buffer.AddByte(byReference);
}

namespace {
// Eval stack types of scalars: the results of script functions.
bool IsScalarKind(uint8_t kind) {
    return kind == ekInteger || kind == ekReal || kind == ekOwnedText || kind == ekPoint || kind == ekComplex;
}
// Scalars and the two array kinds.
bool IsParameterKind(uint8_t kind) { return IsScalarKind(kind) || kind == ekArray || kind == ekArray2; }
}  // namespace

bool TFunctionParam::ReadFromMemBuffer(TMemBuffer& buffer) {
    return name.ReadFromMemBuffer(buffer) && buffer.ReadByte(kind) && buffer.ReadByte(variableType) &&
           buffer.ReadByte(byReference) && byReference <= 1 && variableType >= vtInt && variableType <= vtString &&
           IsParameterKind(kind);
}

TFunction::TFunction() { Init(); }
TFunction::~TFunction() { DeleteAll(true); }

TFunctionParam* TFunction::Param(int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TFunctionParam*>(GetItem(i)) : nullptr;
}

TFunctionParam* TFunction::AddParam() {
    TFunctionParam* param = new TFunctionParam;
    Add(param);
    return param;
}

void* TFunction::CreateItem(int) { return new TFunctionParam; }
void TFunction::FreeItem(void* item) { delete static_cast<TFunctionParam*>(item); }

void TFunction::WriteToMemBuffer(TMemBuffer& buffer) const {
    TContainer::WriteToMemBuffer(buffer);
    buffer.AddInt(entry);
    buffer.AddByte(resultType);
    name.WriteToMemBuffer(buffer);
}

bool TFunction::ReadFromMemBuffer(TMemBuffer& buffer) {
    if (!TContainer::ReadFromMemBuffer(buffer)) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Param(i) == nullptr) return false;
    int value = 0;
    if (!buffer.ReadInt(value) || !buffer.ReadByte(resultType) || !IsScalarKind(resultType)) return false;
    entry = value;
    return name.ReadFromMemBuffer(buffer);
}

TFunctionList::~TFunctionList() { DeleteAll(true); }

void* TFunctionList::CreateItem(int) { return new TFunction; }
void TFunctionList::FreeItem(void* item) { delete static_cast<TFunction*>(item); }

// ---- globals and events

TGlobalVar& TGlobalVar::operator=(const TGlobalVar& other) {
    name = other.name;
    type = other.type;
    itemType = other.itemType;
    return *this;
}

void TGlobalVar::WriteToMemBuffer(TMemBuffer& buffer) const {
    name.WriteToMemBuffer(buffer);
    buffer.AddByte(type);
    buffer.AddByte(itemType);
}

bool TGlobalVar::ReadFromMemBuffer(TMemBuffer& buffer) {
    if (!name.ReadFromMemBuffer(buffer) || !buffer.ReadByte(type) || !buffer.ReadByte(itemType)) return false;
    if (type < vtInt || type > vtArray2) return false;
    return type < vtArray || (itemType >= vtInt && itemType <= vtString);
}

TGlobalVarList::~TGlobalVarList() { DeleteAll(true); }

TGlobalVar* TGlobalVarList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TGlobalVar*>(GetItem(i)) : nullptr;
}

TGlobalVar* TGlobalVarList::NewItem() { return static_cast<TGlobalVar*>(AddNew()); }

TGlobalVarList& TGlobalVarList::operator+=(const TGlobalVar& v) {
    Add(new TGlobalVar(v));
    return *this;
}

void* TGlobalVarList::CreateItem(int) { return new TGlobalVar; }
void TGlobalVarList::FreeItem(void* item) { delete static_cast<TGlobalVar*>(item); }

void TEventInfoContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    const EVENT_INFO* event = static_cast<const EVENT_INFO*>(item);
    buffer.AddInt(event->code);
    buffer.AddInt(event->function);
}

bool TEventInfoContainer::ReadItem(TMemBuffer& buffer, void* item) {
    EVENT_INFO* event = static_cast<EVENT_INFO*>(item);
    int code = 0, function = 0;
    if (!buffer.ReadInt(code) || !buffer.ReadInt(function)) return false;
    event->code = code;
    event->function = function;
    return true;
}

// ---- TProgram

TProgram::TProgram() = default;

TProgram::~TProgram() { Clear(); }

void TProgram::Clear() {
    if (runningActivations == 0) decodings.clear();
    NewStatementEpoch();
    tokens.Clear();
    functions.Clear();
    globals.Clear();
    events.Clear();
    variableBase = 0;
}

void TProgram::SetFastForms(bool on) {
    fastForms = on;
    // Statements marked as looked at would still run at once.
    NewStatementEpoch();
}

TDecodedProgram& TProgram::Decode(uint8_t (*operationOf)(int type)) {
    decodings.emplace_back(new TDecodedProgram(*this, operationOf));
    return *decodings.back();
}

void TProgram::CreateGlobals() {
    if (globalsCreated) return;
    globalsCreated = true;
    for (int i = 0; i < globals.GetCount(); ++i) {
        const TGlobalVar* global = globals[i];
        if (global->type == vtArray)
            NewArray(global->name, global->itemType, true);
        else if (global->type == vtArray2)
            NewArray2(global->name, global->itemType, true);
        else
            NewVar(global->name, global->type, true);
    }
}

void TProgram::FreeGlobals() {
    if (!globalsCreated) return;
    globalsCreated = false;
    // The variables that CreateGlobals appended to Variables; the program's
    // own list keeps the application globals.
    for (int i = 0; i < globals.GetCount() && Variables.GetCount() > 0; ++i)
        Variables.Delete(Variables.GetCount() - 1, true);
}

void TProgram::WriteToMemBuffer(TMemBuffer& buffer) const {
    tokens.WriteToMemBuffer(buffer);
    functions.WriteToMemBuffer(buffer);
    globals.WriteToMemBuffer(buffer);
    events.WriteToMemBuffer(buffer);
    buffer.AddInt(variableBase);
}

void TProgram::SaveToStream(FILE* file) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), file);
}

bool TProgram::ReadMembers(TMemBuffer& buffer) {
    int base = 0;
    if (!tokens.ReadFromMemBuffer(buffer) || !functions.ReadFromMemBuffer(buffer) ||
        !globals.ReadFromMemBuffer(buffer) || !events.ReadFromMemBuffer(buffer) || !buffer.ReadInt(base) || base < 0)
        return false;
    variableBase = base;
    if (!IsSound()) return false;
    resourceTokens.Clear();
    for (int i = 0; i < tokens.GetCount(); ++i)
        if (tokens[i]->type == ttResource) resourceTokens.Add(i);
    return true;
}

void TProgram::MakeEmpty() {
    Clear();
    resourceTokens.Clear();
}

bool TProgram::ReadFromMemBuffer(TMemBuffer& buffer) {
    MakeEmpty();
    if (ReadMembers(buffer)) return true;
    MakeEmpty();
    return false;
}

bool TProgram::LoadFromStream(FILE* file) {
    MakeEmpty();
    // The four containers' end offsets count from the program's first byte,
    // so the stream is read container by container into one buffer that
    // starts there, then parsed as the memory-buffer form.
    TMemBuffer form;
    for (int part = 0; part < 4; ++part) {
        const int start = form.GetSize();
        if (!ReadStreamBlock(file, 4, form)) return false;
        form.SeekRead(start);
        uint32_t end = 0;
        if (!form.ReadUInt32(end) || end < static_cast<uint32_t>(start) + 4) return false;
        if (!ReadStreamBlock(file, end - static_cast<uint32_t>(form.GetSize()), form)) return false;
    }
    if (!ReadStreamBlock(file, 4, form)) return false;
    form.SeekRead(0);
    if (ReadMembers(form)) return true;
    MakeEmpty();
    return false;
}

namespace {

bool IsEndToken(const TTokenList& tokens, int from, int end) {
    return end > from && end < tokens.GetCount() && tokens[end]->type == ttEnd;
}

bool IsTokenOfType(const TTokenList& tokens, int index, int type) {
    return index >= 0 && index < tokens.GetCount() && tokens[index]->type == type;
}

// The jump targets of token i lie where the interpreter may go.
bool TokenJumpsAreSound(const TTokenList& tokens, int i) {
    const TToken* token = tokens[i];
    switch (token->type) {
        case ttIf: {
            const COND_INFO* info = token->Record<COND_INFO>();
            return info != nullptr && info->start == i && IsEndToken(tokens, i, info->end) &&
                   (info->elseIndex == -1 ||
                    (info->elseIndex > i && info->elseIndex < info->end && IsTokenOfType(tokens, info->elseIndex, ttElse)));
        }
        case ttLoop: {
            const COND_INFO* info = token->Record<COND_INFO>();
            return info != nullptr && IsEndToken(tokens, i, info->end);
        }
        case ttUntil: {
            const COND_INFO* info = token->Record<COND_INFO>();
            return info != nullptr && info->start < i && IsTokenOfType(tokens, info->start, ttRepeat) &&
                   tokens[info->start]->value == i;
        }
        case ttRepeat: return IsTokenOfType(tokens, token->value, ttUntil) && token->value > i;
        case ttFunc: return IsEndToken(tokens, i, token->value);
        case ttWhile: {
            const WHILE_INFO* info = token->Record<WHILE_INFO>();
            return info != nullptr && info->start == i && IsEndToken(tokens, i, info->end);
        }
        case ttFor: {
            const FOR_INFO* info = token->Record<FOR_INFO>();
            return info != nullptr && IsEndToken(tokens, i, info->end);
        }
        case ttForeach: {
            const FOREACH_INFO* info = token->Record<FOREACH_INFO>();
            return info != nullptr && IsEndToken(tokens, i, info->end);
        }
        case ttSwitch: {
            const TSwitchInfo* info = token->Record<TSwitchInfo>();
            if (info == nullptr || !IsEndToken(tokens, i, info->end)) return false;
            if (info->defaultIndex != -1 && (info->defaultIndex <= i || info->defaultIndex > info->end)) return false;
            for (int k = 0; k < info->GetCount(); ++k)
                if (info->Case(k)->branch <= i || info->Case(k)->branch > info->end) return false;
            return true;
        }
        default: return true;
    }
}

}  // namespace

bool TProgram::IsSound() const {
    for (int i = 0; i < tokens.GetCount(); ++i)
        if (tokens[i] == nullptr || !TokenJumpsAreSound(tokens, i)) return false;
    for (int i = 0; i < functions.GetCount(); ++i)
        if (functions[i] == nullptr || !IsTokenOfType(tokens, functions[i]->entry, ttFunc)) return false;
    for (int i = 0; i < globals.GetCount(); ++i)
        if (globals[i] == nullptr) return false;
    for (int i = 0; i < events.GetCount(); ++i)
        if (events[i].function < 0 || events[i].function >= functions.GetCount()) return false;
    return true;
}
