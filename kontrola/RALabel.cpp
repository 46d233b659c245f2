// TRALabel: a right-aligned label.
#include "RALabel.h"

#include "PropertyTable.h"

TRALabel::TRALabel(TComponent* owner) : TLabel(owner) { SetAlignment(taRightJustify); }

void RegisterRALabelProperties() {
    // Only the default of Alignment differs from the label's.
    static const TPropertyInfo rows[] = {
        CLASSLIB_ENUM_PROPERTY(TRALabel, Alignment, TAlignment, taRightJustify, &AlignmentIdentifiers),
    };
    RegisterPropertyTable(TRALabel::StaticClassInfo(), rows);
}
