// The twenty dialog functions that scripts call inside expressions, registered with Eval as custom functions.
#pragma once

// Makes the registry of script windows and adds the dialog functions (ids
// 100..110, 130..135, 150..152) to Eval's custom functions; a second call does
// nothing. Destroying takes the functions out again and destroys the registry
// (windows still registered are left alone: the registry does not own them).
void CreateScriptDialogs();
void DestroyScriptDialogs();
