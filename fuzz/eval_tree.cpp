// Fuzz target: expression trees of compiled texts: simplification, derivation, infix text and MathML.
#include <cstdint>
#include <string>

#include "Derivation.h"
#include "EvaluationGuard.h"
#include "ExpressionCompiler.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"
#include "TreeOutput.h"
#include "TreeSimplification.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterEmptyFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::AsString(data, size);
    if (!fuzz::AcceptsEvaluatedText(text)) return -1;
    TVariableList list;
    fuzz::AddTargetVariables(list);
    EXPRESSION e = CreateExpression(list, TString(text.data(), static_cast<int>(text.size())));
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
