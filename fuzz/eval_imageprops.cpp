// Fuzz target: the stored look of formula pictures (font, size, ratios,
// colours) from a memory buffer, then a few formulas typeset with it.
#include <cstdint>
#include <cstdlib>

#include "ExpressionCompiler.h"
#include "ExpressionImage.h"
#include "ExpressionImageProps.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"
#include "ImageBuffer.h"
#include "MemBuffer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The generated character tables, unless the run names others.
    setenv("CHDIR", FUZZ_CHR_DIR, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemBuffer buffer;
    fuzz::FillBuffer(buffer, data, size);
    TExpressionImageProps props;
    if (!props.ReadFromMemBuffer(buffer)) return 0;
    TVariableList list;
    list.NewDouble("x", false, 0.5);
    list.NewDouble("y", false, 2);
    // Exponents and root degrees take the stored ratios; fractions, brackets
    // and function names the stored size.
    for (const char* text : {"x^2/(y+1)", "root(x,3)+sin(x)^y", "(x-1)*(y+x^(1/2))"}) {
        EXPRESSION e = CreateExpression(list, text);
        TENode* tree = e.count >= 0 ? CreateExpressionTree(e) : nullptr;
        if (tree != nullptr) {
            TImageBuffer image;
            CreateNodeImage(list, tree, image, props);
            if (image.Data != nullptr) fuzz::TouchBytes(image.Data, static_cast<size_t>(image.GetCapacity()));
            delete tree;
        }
        FreeExpression(e);
    }
    return 0;
}
