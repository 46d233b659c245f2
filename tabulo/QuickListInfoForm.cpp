// TQuickListInfoForm: the drag information form made from its stored form.
#include "QuickListInfoForm.h"

#include "Label.h"

TQuickListInfoForm::TQuickListInfoForm(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbInfo = dynamic_cast<TLabel*>(FindComponent("lbInfo"));
}

void TQuickListInfoForm::SetInfo(const std::string& text, POINT screen) {
    lbInfo->SetCaption(text);
    SetBounds(screen.x, screen.y, GetWidth(), GetHeight());
    SetClientWidth(2 * lbInfo->GetLeft() + lbInfo->GetWidth());
    SetClientHeight(2 * lbInfo->GetTop() + lbInfo->GetHeight());
}

void TQuickListInfoForm::ShowInfo() {
    if (!InfoShown()) ShowWindow(GetHandle(), SW_SHOWNOACTIVATE);
}

void TQuickListInfoForm::HideInfo() {
    if (HandleAllocated()) ShowWindow(GetHandle(), SW_HIDE);
}

bool TQuickListInfoForm::InfoShown() const {
    return HandleAllocated() && IsWindowVisible(const_cast<TQuickListInfoForm*>(this)->GetHandle());
}
