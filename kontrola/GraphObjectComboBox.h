// TGraphObjectComboBox: an owner-drawn drop-down list that picks a colour, a
// pen style or a brush style, each item drawn with a sample and its name.
#pragma once

#include <vector>

#include "ComboBox.h"

// What the list offers. ORDER TGraphObjectComboStyle: stored by name.
enum TGraphObjectComboStyle { gocsColor, gocsPenStyle, gocsBrushStyle };
// The language of the item names: 0 English, 1 Hungarian.
enum TGraphObjectComboLanguage { goclEnglish, goclHungarian };

// The list is a csOwnerDrawFixed combo box filled by the control itself; its
// Style property is the kind of object, not the combo box style. The value
// of the selected item is read with GetColor, GetPenStyle or GetBrushStyle,
// also from OnChange, which fires when the user picks an item.
class TGraphObjectComboBox : public TCustomComboBox {
    CLASSLIB_CLASS(TGraphObjectComboBox, TCustomComboBox)

public:
    // A colour list in English with black selected.
    explicit TGraphObjectComboBox(TComponent* owner);

    TGraphObjectComboStyle GetStyle() const { return kind_; }
    // Fills the list anew and selects its first item.
    void SetStyle(TGraphObjectComboStyle style);
    TGraphObjectComboLanguage GetLanguage() const { return language_; }
    // Renames the items; the selection stays. Values other than 0 and 1 give English.
    void SetLanguage(TGraphObjectComboLanguage language);

    // The selected colour; with nothing selected (or in another style) the
    // colour last set, black at first.
    TColor GetColor() const;
    // Selects the colour's item; a colour the list lacks gets an item of its
    // own at the end ("Custom"), which replaces an earlier one.
    void SetColor(TColor color);
    // The selected pen style (psSolid when nothing is selected).
    TPenStyle GetPenStyle() const;
    // Selects the style's item; a value outside the list selects nothing.
    void SetPenStyle(TPenStyle style);
    TBrushStyle GetBrushStyle() const;
    void SetBrushStyle(TBrushStyle style);

    // The value of item index (a TColor, TPenStyle or TBrushStyle); 0 outside the list.
    int ItemValue(int index) const;

protected:
    void DrawItem(int index, const RECT& rect, TOwnerDrawState state) override;

private:
    void Fill();
    void SelectValue(int value);
    std::string CustomColorName() const;
    void DrawSample(TCanvas* canvas, const RECT& rect, int value);

    TGraphObjectComboStyle kind_ = gocsColor;
    TGraphObjectComboLanguage language_ = goclEnglish;
    std::vector<int> values_;
    bool hasCustomColor_ = false;
    TColor lastColor_ = clBlack;
};

// The property table of the class (called by the package's start-up).
void RegisterGraphObjectComboBoxProperties();
