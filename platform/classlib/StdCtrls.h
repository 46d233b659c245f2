// The standard controls in one include.
#pragma once

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "GroupControls.h"
#include "Label.h"
#include "ListBox.h"
#include "ScrollBarControl.h"

// Publishes the property tables of the label, edit, button, group and scroll
// bar classes and registers those classes for form resources (once).
void RegisterStandardControls();
