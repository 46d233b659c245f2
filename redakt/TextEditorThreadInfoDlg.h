// TTextEditorThreadInfoDlg: the dialog that shows the editor's
// multithreading settings (on or off, the thread count, the chunk size),
// made from its stored form for each showing.
#pragma once

#include "Form.h"

class TButton;
class TLabel;

class TTextEditorThreadInfoDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorThreadInfoDlg, TForm)

public:
    // Made hidden from its stored form: "Off", "0" and "10000". It has no
    // handlers of its own.
    explicit TTextEditorThreadInfoDlg(TComponent* owner);

    TLabel* lbMT = nullptr;
    TLabel* lbThreadCount = nullptr;
    TLabel* lbChunkSize = nullptr;
    TButton* btnOk = nullptr;
};
