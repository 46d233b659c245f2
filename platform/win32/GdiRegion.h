// Region objects behind HRGN handles. Internal to the Win32 subset.
#pragma once

#include "GdiObject.h"
#include "Region.h"

class GdiRegion : public GdiObject {
public:
    explicit GdiRegion(Region value) : GdiObject(GdiKind::Region), region(std::move(value)) {}
    std::string Describe() const override;

    Region region;  // device pixels
};

GdiRegion* LookupRegion(HGDIOBJ region);
// A new region handle holding value.
HRGN MakeRegionHandle(Region value);
