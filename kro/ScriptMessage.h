// The message statement's box.
#pragma once

#include "String.h"

// Shows text in a modal message box owned by the application's main form
// (no owner when it has none), captioned "üzenet", with an OK button only;
// returns when the box has closed.
void ShowScriptMessage(const TString& text);
