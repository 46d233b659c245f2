// TForm1: the main form ("Components demo"), a process bar driven by two arrow
// scrollers, and three graph-object combo boxes.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TArrowScroller;
class TGraphObjectComboBox;
class TLabel;
class TProcessBar;

class TForm1 : public TForm {
    CLASSLIB_CLASS(TForm1, TForm)

public:
    // Its controls come from its stored layout when the application creates it.
    explicit TForm1(TComponent* owner);
    ~TForm1() override;
    std::any FindHandler(const std::string& name) override;

    // The bar shows the position of the scroller that changed, as it stands:
    // the bar applies its own limits.
    void ArrowScroller1Change(TObject* sender);
    void ArrowScroller2Change(TObject* sender);
    void FormShow(TObject* sender);

    // The controls of the stored layout, in its order; null until it is loaded.
    TLabel* Label4 = nullptr;
    TProcessBar* ProcessBar1 = nullptr;
    TArrowScroller* ArrowScroller1 = nullptr;
    TLabel* Label5 = nullptr;
    TArrowScroller* ArrowScroller2 = nullptr;
    TGraphObjectComboBox* GraphObjectComboBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TGraphObjectComboBox* GraphObjectComboBox2 = nullptr;
    TGraphObjectComboBox* GraphObjectComboBox3 = nullptr;
    TLabel* Label3 = nullptr;

protected:
    // Finds the controls the layout made.
    void Loaded() override;
};

// The main form while the program runs; null before start-up and after it.
extern TForm1* Form1;
