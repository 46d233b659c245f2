// TApplication and TScreen, and the two globals.
#include "Application.h"

#include <algorithm>

#include "ClassThread.h"
#include "Form.h"
#include "Responder.h"
#include "Strings.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() { Destroying(); }

void TApplication::Initialize() {
    terminated_ = false;
    quitPosted_ = false;
}

void TApplication::AdoptForm(TForm* form) {
    if (form && !mainForm_) mainForm_ = form;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (!mainForm_) return;
    terminated_ = false;
    if (showMainForm_) {
        try {
            mainForm_->Show();
        } catch (const Exception& error) {
            HandleException(error);
        }
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    if (quitPosted_) return;
    quitPosted_ = true;
    PostQuitMessage(0);
}

void TApplication::DispatchGuarded(MSG& message) {
    try {
        if (TForm::IsDialogKeyMessage(message)) return;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    } catch (const Exception& error) {
        HandleException(error);
    } catch (const std::exception& error) {
        HandleException(Exception(error.what()));
    } catch (...) {
        HandleException(Exception(""));
    }
}

bool TApplication::ProcessMessage(MSG& message) {
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    DispatchGuarded(message);
    return true;
}

void TApplication::ProcessMessages() {
    CheckSynchronize();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!ProcessMessage(message)) break;
        CheckSynchronize();
    }
}

void TApplication::HandleMessage() {
    CheckSynchronize();
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        terminated_ = true;
        return;
    }
    if (got > 0) ProcessMessage(message);
    CheckSynchronize();
}

bool TApplication::HandleModalMessage() {
    CheckSynchronize();
    MSG message;
    if (win32::IsHeadlessDisplay() && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return false;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (got < 0) return false;
    DispatchGuarded(message);
    CheckSynchronize();
    return true;
}

void TApplication::HandleException(const Exception& error) {
    if (OnException) {
        OnException(this, error);
        return;
    }
    ShowException(error);
}

void TApplication::ShowException(const Exception& error) {
    std::string text = error.Message();
    if (text.empty()) return;
    if (text.back() != '.') text += '.';
    MessageBox(text, "", MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->GetHandle() : nullptr;
    const std::string& shown = caption.empty() ? title_ : caption;
    return MessageBoxA(owner, text.c_str(), shown.c_str(), flags);
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() = default;

int TScreen::GetWidth() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::GetHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (cursor == crDefault) {
        ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return;
    }
    if (HCURSOR shape = GetCursors(cursor)) ::SetCursor(shape);
}

HCURSOR TScreen::GetCursors(TCursor index) const {
    auto found = cursors_.find(index);
    if (found != cursors_.end()) return found->second;
    return CursorShape(index);
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
    if (cursor)
        cursors_[index] = cursor;
    else
        cursors_.erase(index);
}

TForm* TScreen::GetForm(int index) const {
    if (index < 0 || index >= GetFormCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return forms_[index];
}

void TScreen::AddForm(TForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TForm* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }

namespace {

int CALLBACK AddFontFamily(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD, LPARAM list) {
    reinterpret_cast<TStringList*>(list)->Add(logFont->lfFaceName);
    return 1;
}

std::unique_ptr<TStringList> NewFontList() {
    auto list = std::make_unique<TStringList>();
    list->SetSorted(true);
    list->SetDuplicates(dupIgnore);
    return list;
}

}  // namespace

TStrings* TScreen::GetFonts() {
    if (!fonts_) {
        fonts_ = NewFontList();
        LOGFONTA wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(nullptr, &wanted, &AddFontFamily, reinterpret_cast<LPARAM>(fonts_.get()), 0);
    }
    return fonts_.get();
}

void TScreen::ReplaceFonts(const TStrings* names) {
    if (names == nullptr) {
        fonts_.reset();
        return;
    }
    std::unique_ptr<TStringList> list = NewFontList();
    for (int i = 0; i < names->GetCount(); ++i) list->Add(names->GetStrings(i));
    fonts_ = std::move(list);
}
