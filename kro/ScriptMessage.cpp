// The message statement's box, shown through the class library's application.
#include "ScriptMessage.h"

#include "Application.h"

void ShowScriptMessage(const TString& text) {
    // "üzenet" in code page 1250.
    Application->MessageBox(text.str(), "\xFCzenet", MB_OK);
}
