// TForm3: the "Statistical" form, made from its stored layout; its handlers are bound by name.
#include "Unit3.h"

#include "Events.h"
#include "Unit1.h"

TForm3* Form3 = nullptr;

namespace {

const THandlerEntry kForm3Handlers[] = {
    CLASSLIB_HANDLER(TForm3, FormClose),
};

}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner) {}

TForm3::~TForm3() = default;

std::any TForm3::FindHandler(const std::string& name) { return BindHandler(kForm3Handlers, this, name.c_str()); }

void TForm3::FormClose(TObject*, TCloseAction&) {
    if (Form1) Form1->Close();
}
