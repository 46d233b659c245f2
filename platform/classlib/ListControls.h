// The list, tab, list-view and menu controls and the file dialogs in one
// include, and their registration for form resources.
#pragma once

#include "ComboBox.h"
#include "ListBox.h"
#include "ListView.h"
#include "TabControls.h"

// Publishes the property tables of these classes and registers them by name
// (called once by the library's start-up).
void RegisterListControls();
