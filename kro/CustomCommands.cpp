// Statements that a host registers: the list and its lookups.
#include "CustomCommands.h"

namespace {
TCustomCommandList* commands = nullptr;
}

TCustomCommandList::~TCustomCommandList() { DeleteAll(true); }

TCustomCommand* TCustomCommandList::NewCommand(int code, const TString& name, TCustomCompileFunction compile,
                                               TCustomCommandHandler handler) {
    TCustomCommand* command = new TCustomCommand(code, name, compile, handler);
    Add(command);
    return command;
}

TCustomCommand* TCustomCommandList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TCustomCommand*>(GetItem(i)) : nullptr;
}

TCustomCommand* TCustomCommandList::FindName(const TString& name) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->name == name) return (*this)[i];
    return nullptr;
}

void TCustomCommandList::FreeItem(void* item) { delete static_cast<TCustomCommand*>(item); }

TCustomCommandList& CustomCommands() { return *commands; }

TCustomCommand* GetCustomCommand(int code) {
    if (commands == nullptr) return nullptr;
    for (int i = 0; i < commands->GetCount(); ++i)
        if ((*commands)[i]->code == code) return (*commands)[i];
    return nullptr;
}

void CreateCustomCommands() {
    if (commands == nullptr) commands = new TCustomCommandList;
}

void DestroyCustomCommands() {
    delete commands;
    commands = nullptr;
}
