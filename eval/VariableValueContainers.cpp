// Point and complex value containers: comparison and storage of their items.
#include "VariableValueContainers.h"

namespace {

template <typename F>
int Order(F a, F b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

int CompareValues(const VPOINT& a, const VPOINT& b) {
    const int first = Order(a.x, b.x);
    return first != 0 ? first : Order(a.y, b.y);
}

int CompareValues(const VCOMPLEX& a, const VCOMPLEX& b) {
    const int first = Order(a.re, b.re);
    return first != 0 ? first : Order(a.im, b.im);
}

void WriteValue(TMemBuffer& buffer, const VPOINT& v) {
    buffer.AddInt64(v.x);
    buffer.AddInt64(v.y);
}

void WriteValue(TMemBuffer& buffer, const VCOMPLEX& v) {
    buffer.AddDouble(v.re);
    buffer.AddDouble(v.im);
}

bool ReadValue(TMemBuffer& buffer, VPOINT& v) {
    if (buffer.GetRemaining() < 16) return false;
    v.x = buffer.ReadInt64();
    v.y = buffer.ReadInt64();
    return true;
}

bool ReadValue(TMemBuffer& buffer, VCOMPLEX& v) {
    if (buffer.GetRemaining() < 16) return false;
    v.re = buffer.ReadDouble();
    v.im = buffer.ReadDouble();
    return true;
}

}  // namespace

template <typename T>
int TVarValueContainer<T>::CompareItems(const void* a, const void* b) const {
    return CompareValues(*static_cast<const T*>(a), *static_cast<const T*>(b));
}

template <typename T>
void TVarValueContainer<T>::WriteItem(TMemBuffer& buffer, const void* item) const {
    WriteValue(buffer, *static_cast<const T*>(item));
}

template <typename T>
bool TVarValueContainer<T>::ReadItem(TMemBuffer& buffer, void* item) {
    return ReadValue(buffer, *static_cast<T*>(item));
}

template class TVarValueContainer<VPOINT>;
template class TVarValueContainer<VCOMPLEX>;
