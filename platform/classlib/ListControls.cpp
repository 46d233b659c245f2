// Registration of the list, tab, list-view and menu controls and the file dialogs.
#include "ListControls.h"

#include "FileDialogs.h"
#include "Menus.h"

void RegisterListControls() {
    RegisterListBoxProperties();
    RegisterComboBoxProperties();
    RegisterTabControlProperties();
    RegisterListViewProperties();
    RegisterMenuProperties();
    RegisterFileDialogProperties();
}
