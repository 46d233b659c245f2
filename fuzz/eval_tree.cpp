// Fuzz target: expression trees of compiled texts: simplification, derivation, infix text and MathML.
#include <cstdint>

#include "Derivation.h"
#include "EvaluationGuard.h"
#include "ExpressionTree.h"
#include "TreeOutput.h"
#include "TreeSimplification.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TVariableList list;
    EXPRESSION e;
    if (!fuzz::CompileGuardedExpression(data, size, list, e)) return -1;
    TENode* tree = e.count >= 0 ? CreateExpressionTree(e) : nullptr;
    if (tree != nullptr) {
        TStringContainer lines;
        CreateMathMLExpression(list, tree, lines);
        CreateInfixExpression(list, tree);
        if (IsDerivable(tree)) {
            TENode* derived = DeriveExpressionTree(list, tree, list.GetVarIndex("x"));
            OptimizeExpressionTree(&derived, true);
            CreateInfixExpression(list, derived);
            delete derived;
        }
        OptimizeExpressionTree(&tree, true);
        EXPRESSION back = CreatePostfixExpression(tree);
        FreeExpression(back);
        delete tree;
    }
    FreeExpression(e);
    return 0;
}
