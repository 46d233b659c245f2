// The input-box histories of the editor's stored state: a box's items, text
// and item index in a memory buffer, and the string form they use.
#pragma once

#include <string>
#include <vector>

#include "MemBuffer.h"

class TComboBox;

// Strings in the buffer: an i32 length, then that many bytes, no terminator
// (the length 0 alone for an empty string). The reader refuses a negative
// length or one beyond what remains, and then reads nothing.
void WriteBufferString(TMemBuffer& buffer, const std::string& text);
bool ReadBufferString(TMemBuffer& buffer, std::string& text);

// One box's history as stored: i32 item count, the items, the text, i32
// item index (-1 for none).
struct TComboHistory {
    std::vector<std::string> items;
    std::string text;
    int itemIndex = -1;
};

// Writes the box's history; a null box writes an empty one (no items, no
// text, index -1).
void SaveComboHistory(TMemBuffer& buffer, TComboBox* box);
// Reads one history, every count and length bounded by what remains; a
// damaged one (an index below -1 among them) gives false, and the read
// position goes back to where it was.
bool ReadComboHistory(TMemBuffer& buffer, TComboHistory& history);
// Appends the items to the box's own (they stay), then selects the index
// unless it is -1 or names no item, then sets the text. A null box is left.
void ApplyComboHistory(const TComboHistory& history, TComboBox* box);
// ReadComboHistory, then ApplyComboHistory when it read well.
bool LoadComboHistory(TMemBuffer& buffer, TComboBox* box);
