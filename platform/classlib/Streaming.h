// Loading components from form texts (resources of type "FORM" named after
// the class) and writing them back as text.
//
// The text: nested objects with their stored properties, e.g.
//   object MainForm: TMainForm
//     Left = 200
//     Caption = 'Main'
//     Font.Style = [fsBold]
//     OnCreate = FormCreate
//     object Button1: TButton
//       Left = 8
//     end
//   end
// "inherited Name: TClass" names an object an earlier (base class's) text
// made, whose properties it overrides; "object" makes a new one. Strings in
// single quotes ('' for a quote; #nn adds a character by code, 'a'#13'b'),
// numbers (decimal, $hex, negative, no plus sign; real numbers as 1.5, .5,
// -2.5e-3, 1e+300), identifiers, sets [a, b]; one value to a property, with
// nothing but a further property after it on its line. A value that cannot
// be read is an EReadError naming its property and the line. Texts are code
// page 1250 bytes. Events name a handler of the root (TComponent::FindHandler).
#pragma once

#include <string>

#include "Object.h"

class TComponent;

// Loads the form resources of instance's class chain into instance, from the
// class just below stopAt (exclusive; null: from TObject) down to the most
// derived class; a class without a "FORM" resource is skipped. Children are
// made by registered class name with the root as owner and the enclosing
// control as parent; properties go through the property tables; events are
// bound to the root's handlers by name. The root and every new component are
// csLoading during the load and get Loaded afterwards. The root takes the
// name the most derived text gives it (a base class's text names its own
// form). An object that another component of the root makes as its own part
// (TComponent::MakesPart; an older text stored it) is not made, nor what it
// holds. Returns true when at least one resource was read. Damaged text,
// unknown classes, properties or handlers throw EReadError (EClassNotFound
// for an unregistered class); the components made before the error stay
// owned by the root.
bool InitInheritedComponent(TComponent* instance, const TClassInfo* stopAt);

// Reads one form text into root, as InitInheritedComponent does for one
// resource (with csLoading and Loaded around it).
void ReadComponentText(TComponent* root, const std::string& text);

// The form text of root and the components it owns: properties that are
// stored and differ from their defaults, controls nested in their parents and
// other owned components at the top level. An event is written with the name
// of the handler it was bound by (from a form text, BindHandler or
// SetPropertyEvent with a name); an event bound in code to a function without
// a name (a lambda, MakeEvent) is not written, and reading the text back
// leaves it unbound. Real numbers are written with a decimal point, as the
// shortest text that reads back to the same value. Components without a
// name are left out, and so are those that another component makes as its
// own part (TComponent::MakesPart).
std::string WriteComponentText(TComponent* root);
