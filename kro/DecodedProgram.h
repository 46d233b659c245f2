// TDecodedProgram: a compiled program's tokens made ready for the interpreter: a flat array of statements, each with its operation, its record as the class the operation reads, its expression at hand and, for a counting loop, its counted pass.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "CountingPass.h"
#include "Token.h"

class TProgram;

// One token as the interpreter runs it: its operation (what the
// interpreter's operation table makes of its type; 0 for a missing token), its record as the class
// that operation reads (null where the token holds no such record, as
// TToken::Record gives), and the token's own expression.
struct TDecodedStatement {
    const TToken* token = nullptr;
    int32_t type = 0;
    uint8_t operation = 0;
    const TTokenRecord* record = nullptr;
    void* info = nullptr;
    EXPRESSION* expression = nullptr;
    // A for loop of one step and one test in the shape a counting pass
    // runs: its pass (null for every other statement).
    TCountingPass* counting = nullptr;
    // The interpreter's check mark: the epoch at which the statement was
    // last found to stand for its token (0: never).
    uint64_t checked = 0;
    template <class T>
    T* Info() const {
        return static_cast<T*>(info);
    }
    // Whether the statement still stands for token: the same object, of the
    // same type, with the same record.
    bool StandsFor(const TToken* other) const {
        if (other != token) return false;
        return other == nullptr || (other->type == type && other->record.get() == record);
    }
};

// Made from a program's tokens once; a statement is used only while it
// stands for its token, so a program changed since (recompiled, reloaded,
// edited by a host) is decoded again before it runs.
class TDecodedProgram {
public:
    // operationOf gives the interpreter's operation of a token type.
    TDecodedProgram(const TProgram& program, uint8_t (*operationOf)(int type));

    int Count() const { return static_cast<int>(statements.size()); }
    // The statements, Count() of them.
    TDecodedStatement* Statements() { return statements.data(); }

private:
    std::vector<TDecodedStatement> statements;
    std::vector<std::unique_ptr<TCountingPass>> countingPasses;
};
