// TDecodedProgram: the statements of a program's tokens, each with its operation, its record cast once, its expression and, for a counting loop, its counted pass.
#include "DecodedProgram.h"

#include "Program.h"

namespace {

// The record of a token as the class its type's handler reads.
void* InfoOf(const TToken& token) {
    switch (token.type) {
        case ttIf:
        case ttUntil:
        case ttLoop: return token.Record<COND_INFO>();
        case ttWhile: return token.Record<WHILE_INFO>();
        case ttFor: return token.Record<FOR_INFO>();
        case ttForeach:
        case ttForeachGetCount:
        case ttForeachSetCount: return token.Record<FOREACH_INFO>();
        case ttSwitch: return token.Record<TSwitchInfo>();
        case ttDeclaration: return token.Record<VARDEF>();
        default: return nullptr;
    }
}

}  // namespace

TDecodedProgram::TDecodedProgram(const TProgram& program, uint8_t (*operationOf)(int type)) {
    statements.resize(static_cast<size_t>(program.tokens.GetCount()));
    for (int i = 0; i < program.tokens.GetCount(); ++i) {
        TToken* token = program.tokens[i];
        if (token == nullptr) continue;
        TDecodedStatement& statement = statements[static_cast<size_t>(i)];
        statement.operation = operationOf(token->type);
        statement.token = token;
        statement.type = token->type;
        statement.record = token->record.get();
        statement.info = InfoOf(*token);
        statement.expression = &token->expression;
        const FOR_INFO* loop = token->type == ttFor ? static_cast<const FOR_INFO*>(statement.info) : nullptr;
        if (loop != nullptr && loop->steps.Count() == 1 && loop->conditions.Count() == 1 &&
            TCountingPass::Fits(loop->steps.items[0], loop->conditions.items[0])) {
            countingPasses.emplace_back(new TCountingPass);
            statement.counting = countingPasses.back().get();
        }
    }
}
