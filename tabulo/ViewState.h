// The fields of the statistics views' state records in a memory buffer: lists
// written as a count and their items, and readers that check every count and
// length against the bytes that remain before they take anything.
#pragma once

#include <string>
#include <vector>

#include "MemBuffer.h"

// An int count, then each item (AddInt, AddDouble).
void AddIntList(TMemBuffer& buffer, const std::vector<int>& items);
void AddDoubleList(TMemBuffer& buffer, const std::vector<double>& items);

// A count that is not negative and whose items, each at least itemBytes
// long, fit in what remains; false otherwise.
bool ReadStateCount(TMemBuffer& buffer, int itemBytes, int& count);
// A list written by AddIntList or AddDoubleList; false (the list unchanged)
// when its count is damaged.
bool ReadIntList(TMemBuffer& buffer, std::vector<int>& items);
bool ReadDoubleList(TMemBuffer& buffer, std::vector<double>& items);
bool ReadStateInt(TMemBuffer& buffer, int& value);
bool ReadStateDouble(TMemBuffer& buffer, double& value);
// A string written by AddString: "" for length 0 (ReadString's null); false
// for a negative length or one past the end.
bool ReadStateString(TMemBuffer& buffer, std::string& text);

// Runs read (a callable returning bool) over the buffer; when it fails, the
// read position goes back to where it was, so that a damaged record leaves
// the buffer as well as the reader's object as they were.
template <class Read>
bool ReadStateRecord(TMemBuffer& buffer, Read read) {
    const int start = buffer.GetReadPosition();
    if (read()) return true;
    buffer.SeekRead(start, 0);
    return false;
}
