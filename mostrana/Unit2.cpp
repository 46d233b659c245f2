// TForm2: the "Scrollers and splitters" form, made from its stored layout; its
// handlers are bound by name, and it fills its panel and picture scroller from
// the program's resources.
#include "Unit2.h"

#include "Buttons.h"
#include "Events.h"
#include "FormSplitter.h"
#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "MemBuffer.h"
#include "Resource.h"
#include "ScrollControl.h"
#include "TextEditor.h"
#include "Unit1.h"
#include "VGMPanel.h"
#include "VGTScroller.h"

TForm2* Form2 = nullptr;

namespace {

const THandlerEntry kForm2Handlers[] = {
    CLASSLIB_HANDLER(TForm2, FormCreate),
    CLASSLIB_HANDLER(TForm2, FormClose),
    CLASSLIB_HANDLER(TForm2, FormResize),
    CLASSLIB_HANDLER(TForm2, FormSplitter1Move),
    CLASSLIB_HANDLER(TForm2, FormSplitter1OmitControl),
    CLASSLIB_HANDLER(TForm2, Button1Click),
    CLASSLIB_HANDLER(TForm2, Button2Click),
};

// The space between the panel and the buttons above it, and between the right
// and bottom edges of the form and its controls.
constexpr int kMargin = 8;

// The middle of the gap between two controls along one axis, rounded toward zero.
int GapMiddle(int firstStart, int firstExtent, int secondStart) { return (firstStart + firstExtent + secondStart) / 2; }

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner) {}

TForm2::~TForm2() {
    // Members go before the base form destroys the components, and the panel,
    // its scrollers and its forms hold the archive to their end: so the
    // components go first. Handing the panel a null archive instead would
    // reload every topic and report each as missing.
    DestroyComponents();
    archive_.reset();
}

std::any TForm2::FindHandler(const std::string& name) { return BindHandler(kForm2Handlers, this, name.c_str()); }

void TForm2::Loaded() {
    TForm::Loaded();
    ScrollControl1 = dynamic_cast<TScrollControl*>(FindComponent("ScrollControl1"));
    VGMPanel1 = dynamic_cast<TVGMPanel*>(FindComponent("VGMPanel1"));
    MemBitmapScroller1 = dynamic_cast<TMemBitmapScroller*>(FindComponent("MemBitmapScroller1"));
    TextEditor1 = dynamic_cast<TTextEditor*>(FindComponent("TextEditor1"));
    FormSplitter1 = dynamic_cast<TFormSplitter*>(FindComponent("FormSplitter1"));
    FormSplitter2 = dynamic_cast<TFormSplitter*>(FindComponent("FormSplitter2"));
    Button1 = dynamic_cast<TButton*>(FindComponent("Button1"));
    Button2 = dynamic_cast<TButton*>(FindComponent("Button2"));
}

void TForm2::FormCreate(TObject*) {
    VGMPanel1->SetBounds(TextEditor1->GetLeft(), Button1->GetTop() + Button1->GetHeight() + kMargin,
                         TextEditor1->GetWidth(), ScrollControl1->GetHeight() - Button1->GetHeight() - kMargin);
    VGMPanel1->Resize();
    PlaceSplitters();
    LoadPicture();
    // Nothing is shown yet, so neither this nor the Back below finds a step.
    VGMPanel1->RegisterHistory();
    LoadArchive();
    VGMPanel1->Back();
    VGMPanel1->SetSource(TString("index.vgt"));
    created_ = true;
}

// Each line's position is set before it has controls, so that placing it moves none.
void TForm2::PlaceSplitters() {
    FormSplitter1->SetPosition(
        GapMiddle(ScrollControl1->GetLeft(), ScrollControl1->GetWidth(), VGMPanel1->GetLeft()));
    FormSplitter1->AddLowerObject(ScrollControl1);
    FormSplitter1->AddLowerObject(MemBitmapScroller1);
    FormSplitter1->AddUpperObject(VGMPanel1);
    FormSplitter1->AddUpperObject(TextEditor1);
    FormSplitter1->AddMovingObject(Button1);
    FormSplitter1->AddMovingObject(Button2);

    FormSplitter2->SetPosition(
        GapMiddle(ScrollControl1->GetTop(), ScrollControl1->GetHeight(), MemBitmapScroller1->GetTop()));
    FormSplitter2->AddLowerObject(ScrollControl1);
    FormSplitter2->AddLowerObject(VGMPanel1);
    FormSplitter2->AddUpperObject(MemBitmapScroller1);
    FormSplitter2->AddUpperObject(TextEditor1);
}

// A missing or unreadable picture leaves the bitmap invalid, and the scroller shows nothing.
void TForm2::LoadPicture() {
    TMemBitmap picture;
    picture.LoadFromJPEGResource(TString("testimage"), GetModuleHandleA(nullptr));
    MemBitmapScroller1->SetImage(picture);
}

// A missing archive resource leaves the buffer, and so the archive, empty.
void TForm2::LoadArchive() {
    TMemBuffer block;
    block.LoadFromResource(GetModuleHandleA(nullptr), "orvex_help_en");
    archive_ = std::make_unique<TMemResource>();
    archive_->ReadFromMemBuffer(block);
    VGMPanel1->SetResource(archive_.get());
}

void TForm2::FormClose(TObject*, TCloseAction&) {
    if (Form1) Form1->Close();
}

void TForm2::FormResize(TObject*) {
    if (!created_) return;
    const RECT client = GetClientRect();
    MemBitmapScroller1->SetHeight(client.bottom - MemBitmapScroller1->GetTop() - kMargin);
    TextEditor1->SetHeight(client.bottom - TextEditor1->GetTop() - kMargin);
    VGMPanel1->SetWidth(client.right - VGMPanel1->GetLeft() - kMargin);
    VGMPanel1->Resize();
    TextEditor1->SetWidth(client.right - TextEditor1->GetLeft() - kMargin);
}

void TForm2::FormSplitter1Move(TObject*) { VGMPanel1->Resize(); }

bool TForm2::FormSplitter1OmitControl(TObject*, TControl* control) {
    return dynamic_cast<TVGTScroller*>(control) != nullptr;
}

void TForm2::Button1Click(TObject*) { VGMPanel1->SelectTopic(); }

void TForm2::Button2Click(TObject*) { VGMPanel1->Back(); }
