// Value containers: item comparison and field-by-field storage of each item type.
#include "ValueContainers.h"

namespace {

template <typename T>
int Order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

void WriteInts(TMemBuffer& buffer, const int* values, int count) {
    for (int i = 0; i < count; ++i) buffer.AddInt(values[i]);
}

bool ReadInts(TMemBuffer& buffer, int* values, int count) {
    if (buffer.GetRemaining() < 4 * count) return false;
    for (int i = 0; i < count; ++i) buffer.ReadInt(values[i]);
    return true;
}

}  // namespace

int TIntContainer::CompareItems(const void* a, const void* b) const {
    return Order(*static_cast<const int*>(a), *static_cast<const int*>(b));
}

void TIntContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    buffer.AddInt(*static_cast<const int*>(item));
}

bool TIntContainer::ReadItem(TMemBuffer& buffer, void* item) { return buffer.ReadInt(*static_cast<int*>(item)); }

int TDoubleContainer::CompareItems(const void* a, const void* b) const {
    return Order(*static_cast<const double*>(a), *static_cast<const double*>(b));
}

void TDoubleContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    buffer.AddDouble(*static_cast<const double*>(item));
}

bool TDoubleContainer::ReadItem(TMemBuffer& buffer, void* item) {
    if (buffer.GetRemaining() < 8) return false;
    *static_cast<double*>(item) = buffer.ReadDouble();
    return true;
}

POINT* TPointContainer::GetPoints(bool closed) const {
    const int count = GetCount();
    POINT* points = new POINT[static_cast<size_t>(count + (closed && count > 0 ? 1 : 0))];
    for (int i = 0; i < count; ++i) points[i] = (*this)[i];
    if (closed && count > 0) points[count] = points[0];
    return points;
}

void TPointContainer::MakeOffset(int dx, int dy) {
    for (int i = 0; i < GetCount(); ++i) {
        (*this)[i].x += dx;
        (*this)[i].y += dy;
    }
}

int TPointContainer::CompareItems(const void* a, const void* b) const {
    const POINT& p = *static_cast<const POINT*>(a);
    const POINT& q = *static_cast<const POINT*>(b);
    return p.x != q.x ? Order(p.x, q.x) : Order(p.y, q.y);
}

void TPointContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    const POINT& p = *static_cast<const POINT*>(item);
    const int fields[2] = {p.x, p.y};
    WriteInts(buffer, fields, 2);
}

bool TPointContainer::ReadItem(TMemBuffer& buffer, void* item) {
    int fields[2];
    if (!ReadInts(buffer, fields, 2)) return false;
    *static_cast<POINT*>(item) = POINT{fields[0], fields[1]};
    return true;
}

int TRectContainer::CompareItems(const void* a, const void* b) const {
    const RECT& r = *static_cast<const RECT*>(a);
    const RECT& s = *static_cast<const RECT*>(b);
    if (r.left != s.left) return Order(r.left, s.left);
    if (r.top != s.top) return Order(r.top, s.top);
    if (r.right != s.right) return Order(r.right, s.right);
    return Order(r.bottom, s.bottom);
}

void TRectContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    const RECT& r = *static_cast<const RECT*>(item);
    const int fields[4] = {r.left, r.top, r.right, r.bottom};
    WriteInts(buffer, fields, 4);
}

bool TRectContainer::ReadItem(TMemBuffer& buffer, void* item) {
    int fields[4];
    if (!ReadInts(buffer, fields, 4)) return false;
    *static_cast<RECT*>(item) = RECT{fields[0], fields[1], fields[2], fields[3]};
    return true;
}

int TIntPairContainer::CompareItems(const void* a, const void* b) const {
    const TIntPair& p = *static_cast<const TIntPair*>(a);
    const TIntPair& q = *static_cast<const TIntPair*>(b);
    return p.first != q.first ? Order(p.first, q.first) : Order(p.second, q.second);
}

void TIntPairContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    const TIntPair& p = *static_cast<const TIntPair*>(item);
    const int fields[2] = {p.first, p.second};
    WriteInts(buffer, fields, 2);
}

bool TIntPairContainer::ReadItem(TMemBuffer& buffer, void* item) {
    int fields[2];
    if (!ReadInts(buffer, fields, 2)) return false;
    *static_cast<TIntPair*>(item) = TIntPair{fields[0], fields[1]};
    return true;
}
