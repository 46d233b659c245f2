// The windows and controls behind the script dialog functions, reached by their registry ids.
#pragma once

#include <string>
#include <vector>

class TForm;

// ORDER: kept in step with the creating rows of the dialog-function table.
enum TScriptControlKind {
    sckLabel,
    sckEdit,
    sckMemo,
    sckButton,
    sckCheckBox,
    sckRadioButton,
    sckListBox,
    sckComboBox,
    sckScrollBar,
    sckProcessBar,
};

// What a creating function passes: the bounds (labels, check boxes and radio
// buttons use only left and top), the caption, and the kind's option (a
// button's modal result; a combo box's list-only flag; a scroll bar's
// vertical flag).
struct TScriptControlRequest {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string caption;
    int option = 0;
};

// A window without owner, in the dialog border style, with those bounds and
// caption, registered with a free id, which is returned; -1 without a registry.
int NewScriptDialog(int left, int top, int width, int height, const std::string& caption);
// The registered component of that id when it is of class TForm, else null.
TForm* FindScriptDialog(int id);
// A control owned by and placed on window parent, registered with a free id,
// which is returned; 0 and nothing made when parent names no window. A check
// box is sized to its caption: text width + 16 by text height + 2.
int NewScriptControl(int parent, TScriptControlKind kind, const TScriptControlRequest& request);

// An edit's text; false (nothing set) for anything else.
bool SetScriptControlText(int id, const std::string& text);
// An edit's text, a memo's lines (each ended by CR LF), a list box's selected
// item, a list-only combo box's selected item or an editable one's text; the
// empty string for no selection and for anything else.
std::string GetScriptControlText(int id);
// Replaces a memo's lines or a list or combo box's items; false for anything else.
bool SetScriptControlLines(int id, const std::vector<std::string>& lines);
// The same lines; false (lines untouched) for anything else.
bool GetScriptControlLines(int id, std::vector<std::string>& lines);
// A list or combo box's ItemIndex (values outside the items select nothing);
// anything else is left alone, or reads as 0.
void SetScriptControlInt(int id, int value);
int GetScriptControlInt(int id);
// Shows a window modally and returns its modal result; -1 for an id that names
// no window, or a window that is already visible or modal.
int ShowScriptDialog(int id);
// Unregisters the window and every component it owns, then destroys it; false
// for an id that names no window, or a window being shown modally (destroying
// it would pull the modal loop's form from under it).
bool ReleaseScriptDialog(int id);
