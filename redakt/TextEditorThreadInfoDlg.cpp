// TTextEditorThreadInfoDlg: the thread-information dialog made from its
// stored form.
#include "TextEditorThreadInfoDlg.h"

#include "Buttons.h"
#include "Label.h"

TTextEditorThreadInfoDlg::TTextEditorThreadInfoDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbMT = dynamic_cast<TLabel*>(FindComponent("lbMT"));
    lbThreadCount = dynamic_cast<TLabel*>(FindComponent("lbThreadCount"));
    lbChunkSize = dynamic_cast<TLabel*>(FindComponent("lbChunkSize"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
}
