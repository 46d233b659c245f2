// The class library's exceptions. They reach the application's exception
// dialog when nothing else catches them.
#pragma once

#include <stdexcept>
#include <string>

#include "Object.h"

class Exception : public TObject, public std::runtime_error {
    CLASSLIB_CLASS(Exception, TObject)

public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Declares an exception class that adds nothing but its name.
#define CLASSLIB_EXCEPTION(Name, Base)                               \
    class Name : public Base {                                       \
        CLASSLIB_CLASS(Name, Base)                                   \
                                                                     \
    public:                                                          \
        explicit Name(const std::string& message) : Base(message) {} \
    }

CLASSLIB_EXCEPTION(EConvertError, Exception);
CLASSLIB_EXCEPTION(EListError, Exception);
CLASSLIB_EXCEPTION(EStringListError, Exception);
CLASSLIB_EXCEPTION(EComponentError, Exception);
CLASSLIB_EXCEPTION(EInvalidOperation, Exception);
CLASSLIB_EXCEPTION(EInvalidGraphic, Exception);
CLASSLIB_EXCEPTION(EInvalidGraphicOperation, Exception);
CLASSLIB_EXCEPTION(EOutOfResources, Exception);
CLASSLIB_EXCEPTION(EPrinter, Exception);
CLASSLIB_EXCEPTION(EPropertyError, Exception);
CLASSLIB_EXCEPTION(EReadError, Exception);
CLASSLIB_EXCEPTION(EClassNotFound, Exception);
