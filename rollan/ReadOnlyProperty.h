// A published property of the scrolling views that is read but never set or
// stored (ClientWidth, Selection, SelectLeft...): setting it throws EPropertyError.
#pragma once

#include <string>

#include "Exceptions.h"
#include "PropertyTable.h"

[[noreturn]] inline void ThrowReadOnlyProperty(const char* name) {
    throw EPropertyError(std::string("Property ") + name + " is read-only");
}

// Type is an ordinal TPropertyType (Integer, Boolean); Class::Get##Name reads it.
#define ROLLAN_READONLY_PROPERTY(Class, Name, Type)                                                               \
    NotStored(TPropertyInfo{#Name, Type, nullptr, 0, nullptr, false, nullptr,                                     \
                            [](const TPersistent* object) -> int64_t {                                            \
                                return static_cast<int64_t>(static_cast<const Class*>(object)->Get##Name());      \
                            },                                                                                    \
                            [](TPersistent*, int64_t) { ThrowReadOnlyProperty(#Name); }, nullptr, nullptr, nullptr, \
                            nullptr, nullptr})
