// Statements that a host registers: custom commands, their list and lookup by code.
#pragma once

#include "Container.h"
#include "String.h"

class TToken;

// Handler operations. ORDER: hosts' handlers switch on the numbers.
enum TCustomCommandOperation {
    ccFree = 1,         // free the token's custom payload
    ccSaveFile = 2,     // save it to token->file
    ccLoadFile = 3,     // load it from token->file
    ccWriteBuffer = 4,  // write it to token->buffer
    ccReadBuffer = 5,   // read it from token->buffer (set token->ioFailed on damage)
    ccExecute = 7,      // run it
};

// Compiles the rest of a command's line (white space removed); returns a new
// token owned by the caller, or null when the line does not compile.
typedef TToken* (*TCustomCompileFunction)(int code, TString rest);
typedef void (*TCustomCommandHandler)(int type, int operation, TToken* token, void* context);

class TCustomCommand : public TContainerItem {
public:
    TCustomCommand(int code, const TString& name, TCustomCompileFunction compile, TCustomCommandHandler handler)
        : code(code), name(name), compile(compile), handler(handler) {}

    int code;  // the token type it produces
    TString name;  // the word that starts its line
    TCustomCompileFunction compile;
    TCustomCommandHandler handler;
};

class TCustomCommandList : public TContainer {
public:
    ~TCustomCommandList() override;
    // Creates a command and appends it; returns it.
    TCustomCommand* NewCommand(int code, const TString& name, TCustomCompileFunction compile,
                               TCustomCommandHandler handler);
    // Null outside 0..count-1.
    TCustomCommand* operator[](int i) const;
    // The first command of that name, or null.
    TCustomCommand* FindName(const TString& name) const;
    void FreeItem(void* item) override;
};

// The process-wide list, alive while the library is loaded.
TCustomCommandList& CustomCommands();
// The first command with that code, or null.
TCustomCommand* GetCustomCommand(int code);

void CreateCustomCommands();
void DestroyCustomCommands();
