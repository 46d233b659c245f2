// The program's start-up: creates the forms, runs the loop, and shows what
// escapes in the application's exception dialog.
#include "Startup.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "Application.h"
#include "DemoShots.h"
#include "Exceptions.h"
#include "Responder.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

void CreateForms() {
    Form1 = Application->CreateForm<TForm1>();
    Form2 = Application->CreateForm<TForm2>();
    Form3 = Application->CreateForm<TForm3>();
}

void DestroyForms() {
    Application->DestroyComponents();
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
}

int RunMostrana(const std::string& shotsFolder) {
    bool picturesFailed = false;
    try {
        Application->Initialize();
        CreateForms();
        std::unique_ptr<TDemoShots> shots;
        if (!shotsFolder.empty()) shots = std::make_unique<TDemoShots>(shotsFolder);
        Application->Run();
        picturesFailed = shots && shots->Failed();
    } catch (const Exception& error) {
        Application->HandleException(error);
    } catch (...) {
        Application->HandleException(Exception(""));
    }
    DestroyForms();
    return picturesFailed ? 1 : 0;
}

bool GraphicalDisplayMissing() {
    const char* wanted = std::getenv("SUITE_DISPLAY");
    const bool headlessWanted = wanted != nullptr && std::strcmp(wanted, "headless") == 0;
    return win32::IsHeadlessDisplay() && !headlessWanted;
}
