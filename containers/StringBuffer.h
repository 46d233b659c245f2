// TStringBuffer: a reusable scratch text that keeps its storage between uses.
#pragma once

#include "String.h"

class TStringBuffer {
public:
    explicit TStringBuffer(int capacity = 256);

    // Empties the text and keeps the storage.
    void Reset();
    void Append(char c);
    void Append(const char* text, int length);
    void Append(const TString& text);
    // Removes up to n characters from the end; returns how many were removed.
    int RemoveLast(int n);
    // Last character, or 0 when empty.
    char LastChar() const;
    int Length() const { return static_cast<int>(fText.size()); }
    const char* c_str() const { return fText.c_str(); }
    TString ToString() const { return TString(fText); }

private:
    std::string fText;
};
