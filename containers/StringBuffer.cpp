// TStringBuffer: scratch text for building strings.
#include "StringBuffer.h"

#include <algorithm>

TStringBuffer::TStringBuffer(int capacity) {
    if (capacity > 0) fText.reserve(static_cast<size_t>(capacity));
}

void TStringBuffer::Reset() { fText.clear(); }

void TStringBuffer::Append(char c) { fText += c; }

void TStringBuffer::Append(const char* text, int length) {
    if (text != nullptr && length > 0) fText.append(text, static_cast<size_t>(length));
}

void TStringBuffer::Append(const TString& text) { fText += text.str(); }

int TStringBuffer::RemoveLast(int n) {
    const int removed = std::clamp(n, 0, Length());
    fText.resize(fText.size() - static_cast<size_t>(removed));
    return removed;
}

char TStringBuffer::LastChar() const { return fText.empty() ? '\0' : fText.back(); }
