// Shift states, mouse buttons, the event types of components and controls,
// and the tables of handlers that events are bound to by name.
// An event is a bound method: a std::function that holds the object and the
// member function (made with MakeEvent), or any callable. A class that offers
// handlers to a form loader lists them in a handler table
// (CLASSLIB_HANDLER rows); the loader finds a handler by name with
// BindHandler and stores the event it gets (std::any_cast to the event type).
// An event bound by name remembers the name (EventHandlerName), so a form
// writer can write the binding back; an event bound in code to a lambda or
// MakeEvent has no name, and assigning one over a named event drops the name.
#pragma once

#include <any>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "EnumSet.h"
#include "Object.h"
#include "Win32.h"

class TControl;

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

// A set of shift-state flags: shift.Contains(ssCtrl), shift << ssDouble.
using TShiftState = TEnumSet<TShiftStateFlag>;

// The shift state of a mouse message's MK_ key flags; Alt from the key state.
TShiftState KeysToShiftState(WORD keys);
// The shift state while a key message is handled: Shift and Ctrl from the key
// state, Alt from bit 29 of the key data.
TShiftState KeyDataToShiftState(LPARAM keyData);

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// Binds a member function to its object: MakeEvent(form, &TMyForm::ButtonClick).
// A null object gives an empty event.
template <class Owner, class Result, class... Arguments>
std::function<Result(Arguments...)> MakeEvent(Owner* object, Result (Owner::*method)(Arguments...)) {
    if (!object || !method) return {};
    return [object, method](Arguments... arguments) -> Result {
        return (object->*method)(std::forward<Arguments>(arguments)...);
    };
}

// What an event bound by name holds: the name and the event it calls.
template <class Signature>
struct TNamedEventCall;
template <class Result, class... Arguments>
struct TNamedEventCall<Result(Arguments...)> {
    std::string name;
    std::function<Result(Arguments...)> event;
    Result operator()(Arguments... arguments) const { return event(std::forward<Arguments>(arguments)...); }
};

// The event with a handler name attached; an empty event or name gives the
// event unchanged, and an event already named so is not wrapped again.
template <class Result, class... Arguments>
std::function<Result(Arguments...)> NamedEvent(std::function<Result(Arguments...)> event, const std::string& name) {
    using Call = TNamedEventCall<Result(Arguments...)>;
    if (!event || name.empty()) return event;
    if (const Call* named = event.template target<Call>(); named && named->name == name) return event;
    return Call{name, std::move(event)};
}

// The name the event was bound by; "" when it has none (or is empty).
template <class Result, class... Arguments>
std::string EventHandlerName(const std::function<Result(Arguments...)>& event) {
    const auto* named = event.template target<TNamedEventCall<Result(Arguments...)>>();
    return named ? named->name : std::string();
}

// A handler found by name, on its way to an event property (AnyToEvent
// unpacks it): the bound handler, as a handler table gives it, and its name.
struct TNamedHandler {
    std::any handler;
    std::string name;
};

// One row of a handler table: the handler's name and how to bind it to an
// object (bind gets the row's name, which the event remembers).
struct THandlerEntry {
    const char* name;
    std::any (*bind)(TObject* object, const char* name);
};

// Makes the event of Method bound to object and named name; empty when
// object is not an Owner.
template <class Owner, auto Method>
std::any BindHandlerOf(TObject* object, const char* name) {
    auto* owner = dynamic_cast<Owner*>(object);
    if (!owner) return {};
    return std::any(NamedEvent(MakeEvent(owner, Method), name ? name : ""));
}

// A row for a handler table: CLASSLIB_HANDLER(TMainForm, ButtonClick).
#define CLASSLIB_HANDLER(Owner, Method) \
    THandlerEntry { #Method, &BindHandlerOf<Owner, &Owner::Method> }

// The event of the handler called name (compared exactly), bound to object;
// an empty std::any when the table has no such handler or object is of
// another class. The caller any_casts it to the event type it expects, which
// throws std::bad_any_cast for a handler of another signature.
template <std::size_t Count>
std::any BindHandler(const THandlerEntry (&table)[Count], TObject* object, const char* name) {
    for (const THandlerEntry& entry : table)
        if (name && std::strcmp(entry.name, name) == 0) return entry.bind(object, entry.name);
    return {};
}
