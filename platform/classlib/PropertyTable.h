// Published properties: one table per class (name, type, accessors, default,
// stored or not), found through the class chain, and access by name as text.
//
// A class publishes its properties by registering a table of rows:
//   static const TPropertyInfo kButtonProperties[] = {
//       CLASSLIB_BOOLEAN_PROPERTY(TButton, Default, false),
//       CLASSLIB_EVENT_PROPERTY(TButton, OnClick, TNotifyEvent),
//   };
//   RegisterPropertyTable(TButton::StaticClassInfo(), kButtonProperties);
// The rows of a class come before (and hide) the rows of the same name of its
// bases; a class without a table of its own shows its nearest base's rows.
// Tables of TComponent, TControl, TWinControl, TFont, TPen and TBrush are built in.
//
// Values as text: integers in decimal or $hex (or a name from the row's
// identifier list, e.g. clRed, crHourGlass); booleans True/False; enumeration
// values by name (fsBold); sets as [fsBold, fsItalic]; strings as they are;
// real numbers (float, double) with a decimal point whatever the process
// locale, written as the shortest text that reads back to the same value
// (1.5, 0.1, 1e-300) and read in fixed or exponent form (1.5, 1.5e-3).
// A sub-object property (Font, Brush) holds a TPersistent whose own table
// gives the rest of a dotted path: "Font.Name", "BkBrush.Color".
#pragma once

#include <any>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "EnumSet.h"
#include "Events.h"
#include "Object.h"

enum class TPropertyType { Integer, Boolean, String, Enumeration, Set, Object, Event, Float, Double };

// A name for an ordinal value: an enumeration value, a colour or cursor name.
struct TIdentifier {
    const char* name;
    int64_t value;
};

struct TIdentifierList {
    const TIdentifier* items;
    std::size_t count;
};

// The built-in lists: colours (clBlack ... clDefault) and cursors (crDefault ... crSizeAll).
extern const TIdentifierList ColorIdentifiers;
extern const TIdentifierList CursorIdentifiers;

// One published property. Ordinal types (Integer, Boolean, Enumeration, Set:
// a bit per element, bit n for the element of value n) use getOrdinal and
// setOrdinal; String uses getString and setString; Object uses getObject;
// Float and Double use getReal and setReal (a float travels as a double,
// exactly); Event uses setEvent, which stores a bound handler (a std::any
// holding the event type, or a TNamedHandler around one) and throws
// EPropertyError for a handler of another type, and eventHandlerName, which
// gives the name the bound handler was bound by ("" for none).
struct TPropertyInfo {
    const char* name;
    TPropertyType type;
    const TIdentifierList* identifiers;  // element names (Enumeration, Set); optional names for Integer
    int64_t defaultOrdinal;
    const char* defaultString;
    bool hasDefault;                          // false: always written when stored
    bool (*stored)(const TPersistent* object);  // null: always stored
    int64_t (*getOrdinal)(const TPersistent* object);
    void (*setOrdinal)(TPersistent* object, int64_t value);
    std::string (*getString)(const TPersistent* object);
    void (*setString)(TPersistent* object, const std::string& value);
    TPersistent* (*getObject)(TPersistent* object);
    void (*setEvent)(TPersistent* object, const std::any& handler);
    bool (*eventAssigned)(const TPersistent* object);
    std::string (*eventHandlerName)(const TPersistent* object) = nullptr;
    double defaultReal = 0;
    double (*getReal)(const TPersistent* object) = nullptr;
    void (*setReal)(TPersistent* object, double value) = nullptr;
    bool nonFiniteAllowed = false;  // Float, Double: NaN and infinities are values
};

// Row modifiers: NoDefault(row) always writes the value; NotStored(row) never
// does; StoredWhen(row, test) writes it only when test(object) is true.
constexpr TPropertyInfo NoDefault(TPropertyInfo row) {
    row.hasDefault = false;
    return row;
}
inline bool PropertyNeverStored(const TPersistent*) { return false; }
constexpr TPropertyInfo NotStored(TPropertyInfo row) {
    row.stored = &PropertyNeverStored;
    return row;
}
constexpr TPropertyInfo StoredWhen(TPropertyInfo row, bool (*test)(const TPersistent*)) {
    row.stored = test;
    return row;
}
// NonFiniteAllowed(row): a real-number property that can hold NaN and the
// infinities (written nan, inf, -inf); without it they are refused.
constexpr TPropertyInfo NonFiniteAllowed(TPropertyInfo row) {
    row.nonFiniteAllowed = true;
    return row;
}

// Registers (or replaces) the table of a class. The rows must outlive the
// program's use of them (static arrays). A null class is ignored.
void RegisterPropertyTable(const TClassInfo* classInfo, const TPropertyInfo* rows, std::size_t count);
template <std::size_t Count>
void RegisterPropertyTable(const TClassInfo* classInfo, const TPropertyInfo (&rows)[Count]) {
    RegisterPropertyTable(classInfo, rows, Count);
}

// The row called name (without case, no dots) for the object's class chain;
// null when there is none or object is null.
const TPropertyInfo* FindPropertyInfo(const TPersistent* object, const std::string& name);
// The row at the end of a (dotted) path and the object it applies to (through
// sub-object properties); a null row when any part is unknown or not an object.
struct TPropertyTarget {
    TPersistent* object;
    const TPropertyInfo* row;
};
TPropertyTarget FindPropertyPath(TPersistent* object, const std::string& path);
// Every published row of the object's class, bases' rows first, each name once
// (a derived row replaces its base's in the base's place).
std::vector<const TPropertyInfo*> PublishedProperties(const TPersistent* object);

// Sets the property at a (dotted) path from text through its setter. Throws
// EPropertyError for an unknown property, a path through a non-object or an
// event, and EConvertError for text that is no value of the property's type
// (for a real number: not a number, out of the type's range, or NaN or an
// infinity where the row does not allow them).
void SetPropertyText(TPersistent* object, const std::string& path, const std::string& text);
// The property's value as text (integers with identifier names by name,
// others in decimal; sets as [a, b]); throws EPropertyError as above.
std::string GetPropertyText(TPersistent* object, const std::string& path);
// True when the property holds its default (always false for a row without
// one, true for an unassigned event); throws EPropertyError as above.
bool IsPropertyDefault(TPersistent* object, const std::string& path);
// Stores a bound handler in the event property at path; EPropertyError for an
// unknown or non-event property or a handler of the wrong type. With a
// handler name (an identifier, else EPropertyError) the event remembers it,
// so that the form writer writes the binding back.
void SetPropertyEvent(TPersistent* object, const std::string& path, const std::any& handler,
                      const std::string& handlerName = "");
// The name the event at path was bound by; "" when it is unassigned or bound
// in code to a function without a name. EPropertyError as above.
std::string GetPropertyEventName(TPersistent* object, const std::string& path);

// True when two names are equal without regard to ASCII case.
bool SameIdentifier(const std::string& a, const std::string& b);

// Conversions used by the accessors and the form reader; EConvertError on bad text.
int64_t TextToOrdinal(const TPropertyInfo& row, const std::string& text);
std::string OrdinalToText(const TPropertyInfo& row, int64_t value);
// Real numbers of a Float or Double row: the text is read as that type (a
// float directly, never through a double, so it is rounded once).
double TextToReal(const TPropertyInfo& row, const std::string& text);
std::string RealToText(const TPropertyInfo& row, double value);

// Bit mask of a TEnumSet over the elements of a list, and the way back.
template <class Enum>
int64_t EnumSetToBits(const TEnumSet<Enum>& set, const TIdentifierList& elements) {
    int64_t bits = 0;
    for (std::size_t i = 0; i < elements.count; ++i)
        if (set.Contains(static_cast<Enum>(elements.items[i].value))) bits |= int64_t{1} << elements.items[i].value;
    return bits;
}
template <class Enum>
TEnumSet<Enum> BitsToEnumSet(int64_t bits, const TIdentifierList& elements) {
    TEnumSet<Enum> set;
    for (std::size_t i = 0; i < elements.count; ++i)
        if (bits & (int64_t{1} << elements.items[i].value)) set << static_cast<Enum>(elements.items[i].value);
    return set;
}

// Row makers. They call Class::GetName / Class::SetName (Name is the property's
// name); events are public fields named after the property.
#define CLASSLIB_PROPERTY_ORDINAL_(Class, Name, Type, Identifiers, Default, Cast)                              \
    TPropertyInfo {                                                                                          \
        #Name, Type, Identifiers, static_cast<int64_t>(Default), nullptr, true, nullptr,                     \
            [](const TPersistent* object) -> int64_t {                                                       \
                return static_cast<int64_t>(static_cast<const Class*>(object)->Get##Name());                 \
            },                                                                                               \
            [](TPersistent* object, int64_t value) { static_cast<Class*>(object)->Set##Name(Cast(value)); }, \
            nullptr, nullptr, nullptr, nullptr, nullptr                                                      \
    }

#define CLASSLIB_INTEGER_PROPERTY(Class, Name, Default) \
    CLASSLIB_PROPERTY_ORDINAL_(Class, Name, TPropertyType::Integer, nullptr, Default, )
// An integer with names for some values: CLASSLIB_NAMED_INTEGER_PROPERTY(TControl, Color, clBtnFace, &ColorIdentifiers).
#define CLASSLIB_NAMED_INTEGER_PROPERTY(Class, Name, Default, Identifiers) \
    CLASSLIB_PROPERTY_ORDINAL_(Class, Name, TPropertyType::Integer, Identifiers, Default, )
#define CLASSLIB_BOOLEAN_PROPERTY(Class, Name, Default) \
    CLASSLIB_PROPERTY_ORDINAL_(Class, Name, TPropertyType::Boolean, nullptr, Default, static_cast<bool>)
#define CLASSLIB_ENUM_PROPERTY(Class, Name, EnumType, Default, Identifiers) \
    CLASSLIB_PROPERTY_ORDINAL_(Class, Name, TPropertyType::Enumeration, Identifiers, Default, static_cast<EnumType>)

// A TEnumSet<EnumType> property; Default is a bit mask (0: empty set).
#define CLASSLIB_SET_PROPERTY(Class, Name, EnumType, Default, Identifiers)                                  \
    TPropertyInfo {                                                                                        \
        #Name, TPropertyType::Set, Identifiers, static_cast<int64_t>(Default), nullptr, true, nullptr,     \
            [](const TPersistent* object) -> int64_t {                                                     \
                return EnumSetToBits<EnumType>(static_cast<const Class*>(object)->Get##Name(), *Identifiers); \
            },                                                                                             \
            [](TPersistent* object, int64_t value) {                                                       \
                static_cast<Class*>(object)->Set##Name(BitsToEnumSet<EnumType>(value, *Identifiers));      \
            },                                                                                             \
            nullptr, nullptr, nullptr, nullptr, nullptr                                                    \
    }

#define CLASSLIB_STRING_PROPERTY(Class, Name, Default)                                                            \
    TPropertyInfo {                                                                                             \
        #Name, TPropertyType::String, nullptr, 0, Default, true, nullptr, nullptr, nullptr,                     \
            [](const TPersistent* object) -> std::string { return static_cast<const Class*>(object)->Get##Name(); }, \
            [](TPersistent* object, const std::string& value) { static_cast<Class*>(object)->Set##Name(value); },   \
            nullptr, nullptr, nullptr                                                                           \
    }

// A real number: Class::Get##Name() returns, and Set##Name takes, RealType
// (float or double); Default is given in that type.
#define CLASSLIB_PROPERTY_REAL_(Class, Name, Type, RealType, Default)                                          \
    TPropertyInfo {                                                                                          \
        #Name, Type, nullptr, 0, nullptr, true, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,   \
            nullptr, nullptr, static_cast<double>(static_cast<RealType>(Default)),                           \
            [](const TPersistent* object) -> double {                                                        \
                return static_cast<double>(static_cast<const Class*>(object)->Get##Name());                  \
            },                                                                                               \
            [](TPersistent* object, double value) {                                                          \
                static_cast<Class*>(object)->Set##Name(static_cast<RealType>(value));                        \
            },                                                                                               \
            false                                                                                            \
    }
#define CLASSLIB_FLOAT_PROPERTY(Class, Name, Default) \
    CLASSLIB_PROPERTY_REAL_(Class, Name, TPropertyType::Float, float, Default)
#define CLASSLIB_DOUBLE_PROPERTY(Class, Name, Default) \
    CLASSLIB_PROPERTY_REAL_(Class, Name, TPropertyType::Double, double, Default)

// A sub-object: Class::Get##Name() returns a pointer to a TPersistent.
#define CLASSLIB_OBJECT_PROPERTY(Class, Name)                                                          \
    TPropertyInfo {                                                                                  \
        #Name, TPropertyType::Object, nullptr, 0, nullptr, true, nullptr, nullptr, nullptr, nullptr, \
            nullptr, [](TPersistent* object) -> TPersistent* { return static_cast<Class*>(object)->Get##Name(); }, \
            nullptr, nullptr                                                                         \
    }

// An event: the public field Class::Name of type EventType (a std::function).
#define CLASSLIB_EVENT_PROPERTY(Class, Name, EventType)                                                        \
    TPropertyInfo {                                                                                          \
        #Name, TPropertyType::Event, nullptr, 0, nullptr, true, nullptr, nullptr, nullptr, nullptr, nullptr, \
            nullptr,                                                                                         \
            [](TPersistent* object, const std::any& handler) {                                               \
                static_cast<Class*>(object)->Name = AnyToEvent<EventType>(handler, #Name);                   \
            },                                                                                               \
            [](const TPersistent* object) -> bool { return static_cast<bool>(static_cast<const Class*>(object)->Name); }, \
            [](const TPersistent* object) -> std::string { return EventHandlerName(static_cast<const Class*>(object)->Name); } \
    }

// The event in handler; an empty handler gives an empty event. A
// TNamedHandler gives its event with the name attached (NamedEvent). A
// handler of another type throws EPropertyError naming the event.
[[noreturn]] void ThrowEventTypeMismatch(const char* eventName);
template <class EventType>
EventType AnyToEvent(const std::any& handler, const char* eventName) {
    if (!handler.has_value()) return EventType();
    if (const EventType* event = std::any_cast<EventType>(&handler)) return *event;
    if (const TNamedHandler* named = std::any_cast<TNamedHandler>(&handler))
        return NamedEvent(AnyToEvent<EventType>(named->handler, eventName), named->name);
    ThrowEventTypeMismatch(eventName);
}
