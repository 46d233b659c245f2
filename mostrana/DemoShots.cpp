// TDemoShots: a one-off timer that pictures the three windows and ends the program.
#include "DemoShots.h"

#include <cstdio>

#include "ArrowScroller.h"
#include "Files.h"
#include "TimerComponent.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "display/WindowPicture.h"

namespace {

// Time for the windows to repaint after the scroller moved.
constexpr DWORD kPaintTime = 300;

}  // namespace

TDemoShots::TDemoShots(const std::string& folder) : folder_(folder), timer_(std::make_unique<TTimer>(nullptr)) {
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
    timer_->SetInterval(Delay);
    timer_->SetOnTimer(MakeEvent(this, &TDemoShots::TakePictures));
}

TDemoShots::~TDemoShots() = default;

bool TDemoShots::IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void TDemoShots::TakePictures(TObject*) {
    timer_->SetEnabled(false);
    if (!Form1 || !Form2 || !Form3) return;
    Form1->ArrowScroller1->SetPosition(PicturedPosition);
    win32::PumpMessagesFor(kPaintTime);
    Save(Form1, "Form1.bmp");
    Save(Form2, "Form2.bmp");
    Save(Form3, "Form3.bmp");
    Form1->Close();
}

void TDemoShots::Save(TForm* form, const char* name) {
    const std::string path = folder_ + name;
    if (form->HandleAllocated() && win32::SaveWindowPicture(form->GetHandle(), path.c_str())) return;
    std::fprintf(stderr, "mostrana: could not save the picture %s\n", path.c_str());
    failed_ = true;
}
