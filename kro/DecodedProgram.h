// TDecodedProgram: a compiled program's tokens made ready for the interpreter: each token's handler and its record's class found once, the jump targets at hand.
#pragma once

#include <cstdint>
#include <vector>

#include "Token.h"

class TProgram;

// One token as the interpreter runs it: its handler (an index into the
// interpreter's table, -1 for a type it has none for) and its record as the
// class the handler reads, or null where the token holds no such record
// (what TToken::Record gives).
struct TDecodedStatement {
    const TToken* token = nullptr;
    int32_t type = 0;
    const TTokenRecord* record = nullptr;
    int handler = -1;
    void* info = nullptr;
    template <class T>
    T* Info() const {
        return static_cast<T*>(info);
    }
};

// Made from a program's tokens once; a statement is used only while its
// token is the same object of the same type with the same record, so a
// program changed since (recompiled, reloaded, edited by a host) is decoded
// again before it runs.
class TDecodedProgram {
public:
    // handlerOf gives the interpreter's handler index of a token type.
    TDecodedProgram(const TProgram& program, int (*handlerOf)(int type));

    int Count() const { return static_cast<int>(statements.size()); }
    // Statement i when it still stands for token; null otherwise (also
    // outside 0..Count()-1).
    const TDecodedStatement* At(int i, const TToken* token) const {
        if (token == nullptr || i < 0 || i >= Count()) return nullptr;
        const TDecodedStatement& statement = statements[static_cast<size_t>(i)];
        if (statement.token != token || token->type != statement.type || token->record.get() != statement.record)
            return nullptr;
        return &statement;
    }

private:
    std::vector<TDecodedStatement> statements;
};
