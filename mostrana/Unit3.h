// TForm3: the "Statistical" form; closing it ends the program.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TForm3 : public TForm {
    CLASSLIB_CLASS(TForm3, TForm)

public:
    // Its caption, bounds and handlers come from its stored layout, which
    // also shows it once the application has created it.
    explicit TForm3(TComponent* owner);
    ~TForm3() override;
    std::any FindHandler(const std::string& name) override;

    // Closes the main form, which ends the program.
    void FormClose(TObject* sender, TCloseAction& action);
};

// The form while the program runs; null before start-up and after it.
extern TForm3* Form3;
