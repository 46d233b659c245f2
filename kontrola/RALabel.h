// TRALabel: a label whose text is right-aligned and which keeps its right edge
// when its text changes size.
#pragma once

#include "Label.h"

// A TLabel with Alignment taRightJustify by default: with AutoSize on, a
// caption that grows or shrinks moves the left edge and the right edge stays.
class TRALabel : public TLabel {
    CLASSLIB_CLASS(TRALabel, TLabel)

public:
    explicit TRALabel(TComponent* owner);
};

// The property table of the class (called by the package's start-up).
void RegisterRALabelProperties();
