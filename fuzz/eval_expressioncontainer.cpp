// Fuzz target: stored expression objects and expression containers (memory buffers, FILE streams).
#include <cstdint>

#include "Expression.h"
#include "ExpressionContainer.h"
#include "FuzzSupport.h"
#include "MemBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 4);
    if (reader < 0) return -1;
    TVariableList list;
    TMemBuffer buffer;
    fuzz::FillBuffer(buffer, data, size);
    if (reader == 0) {
        TExpression expression(&list);
        expression.ReadFromMemBuffer(buffer);
    } else if (reader == 1) {
        TExpressions expressions;
        expressions.ReadFromMemBuffer(buffer);
    } else {
        TExpressionContainer container(&list);
        if (reader == 2) {
            container.ReadFromMemBuffer(buffer);
        } else {
            FILE* file = fuzz::OpenStream(data, size);
            container.LoadFromStream(file);
            std::fclose(file);
        }
        // Stored expressions are never run here: by position they may name
        // any built-in, files and the shell included.
    }
    return 0;
}
