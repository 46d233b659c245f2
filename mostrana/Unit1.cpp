// TForm1: the main form, made from its stored layout; its handlers are bound by name.
#include "Unit1.h"

#include "ArrowScroller.h"
#include "Events.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "ProcessBar.h"

TForm1* Form1 = nullptr;

namespace {

const THandlerEntry kForm1Handlers[] = {
    CLASSLIB_HANDLER(TForm1, ArrowScroller1Change),
    CLASSLIB_HANDLER(TForm1, ArrowScroller2Change),
    CLASSLIB_HANDLER(TForm1, FormShow),
};

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {}

TForm1::~TForm1() = default;

std::any TForm1::FindHandler(const std::string& name) { return BindHandler(kForm1Handlers, this, name.c_str()); }

void TForm1::Loaded() {
    TForm::Loaded();
    Label4 = dynamic_cast<TLabel*>(FindComponent("Label4"));
    ProcessBar1 = dynamic_cast<TProcessBar*>(FindComponent("ProcessBar1"));
    ArrowScroller1 = dynamic_cast<TArrowScroller*>(FindComponent("ArrowScroller1"));
    Label5 = dynamic_cast<TLabel*>(FindComponent("Label5"));
    ArrowScroller2 = dynamic_cast<TArrowScroller*>(FindComponent("ArrowScroller2"));
    GraphObjectComboBox1 = dynamic_cast<TGraphObjectComboBox*>(FindComponent("GraphObjectComboBox1"));
    Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
    Label2 = dynamic_cast<TLabel*>(FindComponent("Label2"));
    GraphObjectComboBox2 = dynamic_cast<TGraphObjectComboBox*>(FindComponent("GraphObjectComboBox2"));
    GraphObjectComboBox3 = dynamic_cast<TGraphObjectComboBox*>(FindComponent("GraphObjectComboBox3"));
    Label3 = dynamic_cast<TLabel*>(FindComponent("Label3"));
}

void TForm1::ArrowScroller1Change(TObject*) { ProcessBar1->SetPos(ArrowScroller1->GetPosition()); }

void TForm1::ArrowScroller2Change(TObject*) { ProcessBar1->SetPos(ArrowScroller2->GetPosition()); }

void TForm1::FormShow(TObject*) {}
