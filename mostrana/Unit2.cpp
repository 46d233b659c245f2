// TForm2: the "Scrollers and splitters" form, made from its stored layout; its handlers are bound by name.
#include "Unit2.h"

#include "Events.h"
#include "Unit1.h"

TForm2* Form2 = nullptr;

namespace {

const THandlerEntry kForm2Handlers[] = {
    CLASSLIB_HANDLER(TForm2, FormClose),
};

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner) {}

TForm2::~TForm2() = default;

std::any TForm2::FindHandler(const std::string& name) { return BindHandler(kForm2Handlers, this, name.c_str()); }

void TForm2::FormClose(TObject*, TCloseAction&) {
    if (Form1) Form1->Close();
}
