// TPersistent's assignment fall-back.
#include "Object.h"

#include "Exceptions.h"

void TPersistent::Assign(const TPersistent* source) {
    const std::string from = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}
