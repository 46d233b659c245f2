// TImageLink and TImageLinks: areas, their regions and their stored forms.
#include "ImageLinks.h"

#include <climits>
#include <memory>

#include "MemBuffer.h"

namespace {

int MovedCoordinate(int value, int delta) {
    const long long moved = static_cast<long long>(value) + delta;
    return static_cast<int>(moved < INT_MIN ? INT_MIN : moved > INT_MAX ? INT_MAX : moved);
}

}  // namespace

TImageLink::TImageLink(const TImageLink& source) : TContainerItem() { Assign(source); }

TImageLink& TImageLink::operator=(const TImageLink& source) {
    if (this != &source) Assign(source);
    return *this;
}

TImageLink::~TImageLink() { DeleteRegion(); }

void TImageLink::Assign(const TContainerItem& source) {
    const TImageLink* link = dynamic_cast<const TImageLink*>(&source);
    if (link == nullptr || link == this) return;
    polygon = link->polygon;
    target = link->target;
    targetPanel = link->targetPanel;
    RebuildRegion();
}

bool TImageLink::Compatible(const TContainerItem& source) const {
    return dynamic_cast<const TImageLink*>(&source) != nullptr;
}

void TImageLink::WriteToStream(FILE* file) const {
    target.SaveToStream(file);
    targetPanel.SaveToStream(file);
    polygon.SaveToStream(file);
}

bool TImageLink::ReadFromStream(FILE* file) {
    const bool read = target.LoadFromStream(file) && targetPanel.LoadFromStream(file) && polygon.LoadFromStream(file);
    RebuildRegion();
    return read;
}

void TImageLink::WriteToMemBuffer(TMemBuffer& buffer) const {
    polygon.WriteToMemBuffer(buffer);
    target.WriteToMemBuffer(buffer);
    targetPanel.WriteToMemBuffer(buffer);
}

bool TImageLink::ReadFromMemBuffer(TMemBuffer& buffer) {
    return polygon.ReadFromMemBuffer(buffer) && target.ReadFromMemBuffer(buffer) &&
           targetPanel.ReadFromMemBuffer(buffer);
}

void TImageLink::DeleteRegion() {
    if (fRegion != nullptr) DeleteObject(fRegion);
    fRegion = nullptr;
}

void TImageLink::RebuildRegion() {
    DeleteRegion();
    if (polygon.GetCount() < 3) return;
    std::unique_ptr<POINT[]> points(polygon.GetPoints());
    fRegion = CreatePolygonRgn(points.get(), polygon.GetCount(), WINDING);
}

void TImageLink::MoveBy(int dx, int dy) {
    for (int i = 0; i < polygon.GetCount(); ++i) {
        POINT& point = polygon[i];
        point.x = MovedCoordinate(point.x, dx);
        point.y = MovedCoordinate(point.y, dy);
    }
}

bool TImageLink::Contains(int x, int y) const { return fRegion != nullptr && PtInRegion(fRegion, x, y); }

// A plain object list as the image link files store it: header word 8, and
// neither the object nor the assign flag set.
TImageLinks::TImageLinks() {
    fObjectItems = false;
    fAssignItems = false;
    SetIncrement(8);
}

TImageLinks::TImageLinks(const TImageLinks& source) : TImageLinks() { Assign(source); }

TImageLinks& TImageLinks::operator=(const TImageLinks& source) {
    Assign(source);
    return *this;
}

void TImageLinks::TakeAll(TImageLinks& other) {
    if (&other == this) return;
    for (int i = 0; i < other.GetCount(); ++i)
        if (void* link = other.GetItem(i)) Add(static_cast<TImageLink*>(static_cast<TContainerItem*>(link)));
    other.DeleteAll(false);
}
