// TApplication (the global Application: forms, the message loop, the
// exception dialog) and TScreen (the global Screen: size, cursors, forms).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Component.h"
#include "Control.h"
#include "Events.h"
#include "Exceptions.h"

class TForm;
class TStringList;
class TStrings;

using TExceptionEvent = std::function<void(TObject* sender, const Exception& error)>;

class TApplication : public TComponent {
    CLASSLIB_CLASS(TApplication, TComponent)

public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Prepares a run: clears a previous Terminate.
    void Initialize();
    // Makes a form owned by the application; the first one made while there is
    // no main form becomes MainForm. Its OnCreate has run when it returns.
    template <class FormType>
    FormType* CreateForm() {
        auto* form = new FormType(this);
        AdoptForm(form);
        form->AfterConstruction();
        return form;
    }
    void AdoptForm(TForm* form);
    TForm* GetMainForm() const { return mainForm_; }

    // Shows the main form and handles messages until the main form closes or
    // Terminate is called; nothing without a main form. An exception escaping a
    // message handler goes to HandleException and the loop goes on.
    void Run();
    // Handles every message waiting, then returns; stops after WM_QUIT
    // (which sets Terminated).
    void ProcessMessages();
    // Waits for one message and handles it; sets Terminated at WM_QUIT.
    void HandleMessage();
    // One step of a modal loop: waits for a message and handles it as the
    // main loop does. False (nothing handled) when a headless run has nothing
    // left to handle, or at WM_QUIT, which is posted again for the outer loop.
    bool HandleModalMessage();
    // Ends Run: posts the quit message (once).
    void Terminate();
    bool GetTerminated() const { return terminated_; }

    // OnException when set, else ShowException.
    void HandleException(const Exception& error);
    // The exception dialog: a message box with MB_ICONERROR and the message
    // (a full stop added when it ends without one; nothing for an empty message).
    void ShowException(const Exception& error);
    // A message box owned by the main form's window, captioned Title when caption is empty.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    bool GetShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }

    TExceptionEvent OnException;
    TNotifyEvent OnIdle;

    void Notification(TComponent* component, TOperation operation) override;

private:
    bool ProcessMessage(MSG& message);
    void DispatchGuarded(MSG& message);

    TForm* mainForm_ = nullptr;
    std::string title_;
    bool terminated_ = false;
    bool quitPosted_ = false;
    bool showMainForm_ = true;
};

class TScreen : public TComponent {
    CLASSLIB_CLASS(TScreen, TComponent)

public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int GetWidth() const;
    int GetHeight() const;

    TCursor GetCursor() const { return cursor_; }
    // Shows the shape everywhere (crDefault gives the controls their own back).
    void SetCursor(TCursor cursor);
    // The shape of a cursor number: a registered one, else the standard
    // shape; null for unknown numbers.
    HCURSOR GetCursors(TCursor index) const;
    // Registers a cursor (e.g. loaded from a resource) under a number; a null
    // handle removes the number.
    void SetCursors(TCursor index, HCURSOR cursor);

    int GetFormCount() const { return static_cast<int>(forms_.size()); }
    // Throws EListError out of range.
    TForm* GetForm(int index) const;
    // Kept by TForm itself.
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);

    // The names of the installed font families (EnumFontFamiliesExA), sorted
    // without regard to case, each once; read on first use and kept.
    TStrings* GetFonts();
    // For tests: the font list becomes these names (sorted, each once); null
    // makes the next GetFonts read the installed families again.
    void ReplaceFonts(const TStrings* names);

private:
    TCursor cursor_ = crDefault;
    std::map<TCursor, HCURSOR> cursors_;
    std::vector<TForm*> forms_;
    std::unique_ptr<TStringList> fonts_;
};

// Made when the library loads and kept until the process ends.
extern TApplication* Application;
extern TScreen* Screen;
