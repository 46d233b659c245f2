// Built-in functions over the open-file table: opening, closing, writing and reading text files by id.
#include "BuiltinFiles.h"

#include <cstdio>
#include <memory>
#include <string>

#include "BuiltinTargets.h"
#include "OpenFiles.h"
#include "StringContainer.h"

namespace {

// Most bytes of a line ReadLine gives at once; a longer line comes in pieces.
constexpr int kLongestLinePiece = 1023;

// ORDER: indexed by the mode argument of OpenFile.
const char* const kOpenModes[] = {"w", "r", "r+"};
constexpr int kOpenModeCount = 3;

// The open stream of the entry with id, ready for a read or a write; null
// when there is none. A read-and-write stream must be positioned between a
// write and a read (and back), so it is positioned where it stands each time.
FILE* StreamOf(int id) {
    const TCFileInfo* entry = (*OpenFiles)[OpenFiles->GetFile(id)];
    if (entry == nullptr || entry->file == nullptr) return nullptr;
    if (entry->mode == 2) std::fseek(entry->file, 0, SEEK_CUR);
    return entry->file;
}

void OpenFileBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = -1;
    const int kind = call.Int32(1), mode = call.Int32(2);
    if (kind != 0 || mode < 0 || mode >= kOpenModeCount) return;
    const auto hold = OpenFiles->Hold();
    const int id = OpenFiles->GetFreeID();
    if (id > 65535) return;
    auto entry = std::make_unique<TCFileInfo>();
    entry->name = call.Text(0);
    entry->kind = kind;
    entry->mode = mode;
    entry->file = std::fopen(entry->name.c_str(), kOpenModes[mode]);
    if (entry->file == nullptr) return;
    entry->id = id;
    OpenFiles->AddFile(entry.release());
    result.value.integer = id;
}

void CloseFileBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const auto hold = OpenFiles->Hold();
    const int index = OpenFiles->GetFile(call.Int32(0));
    if (index < 0) return;
    OpenFiles->Delete(index);
    result.value.integer = 1;
}

void Write(const TBuiltinCall& call, EXPRESSION_ITEM& result, bool lineFeed) {
    const auto hold = OpenFiles->Hold();
    FILE* file = StreamOf(call.Int32(0));
    if (file == nullptr) return;
    const TString& text = call.Text(1);
    std::fwrite(text.c_str(), 1, static_cast<size_t>(text.Length()), file);
    if (lineFeed) std::fputc('\n', file);
    result.value.integer = 1;
}

void WriteStringBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) { Write(call, result, false); }
void WriteLineBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) { Write(call, result, true); }

// After a full piece: consumes the line end that follows at once and gives
// '\n' for a line feed, '\r' for a carriage return before a line feed or the
// end of the file, EOF at the end of the file; otherwise puts the bytes back
// and gives 0 (the line goes on).
int LineEndAfterPiece(FILE* file) {
    const int next = std::getc(file);
    if (next == '\n' || next == EOF) return next;
    if (next == '\r') {
        const int after = std::getc(file);
        if (after == '\n' || after == EOF) return next;
        // The C library here keeps more than one byte pushed back.
        std::ungetc(after, file);
    }
    std::ungetc(next, file);
    return 0;
}

// Reads up to kLongestLinePiece bytes of a line into piece; false at the end
// of the file. The line feed, and one carriage return just before the line
// feed or the end of the file, are removed.
bool ReadLinePiece(FILE* file, std::string& piece) {
    piece.clear();
    int c;
    while ((c = std::getc(file)) != EOF && c != '\n') {
        piece.push_back(static_cast<char>(c));
        if (static_cast<int>(piece.size()) == kLongestLinePiece) {
            c = LineEndAfterPiece(file);
            break;
        }
    }
    if (c == EOF && piece.empty()) return false;
    if ((c == '\n' || c == EOF) && !piece.empty() && piece.back() == '\r') piece.pop_back();
    return true;
}

void ReadLineBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TString* target = StringTarget(call, 1);
    if (target == nullptr) return;
    const auto hold = OpenFiles->Hold();
    FILE* file = StreamOf(call.Int32(0));
    std::string piece;
    if (file == nullptr || !ReadLinePiece(file, piece)) return;
    *target = TString(piece);
    result.value.integer = 1;
}

// The lines of the file by that name; false when it cannot be read.
bool ReadLines(const TString& name, TStringContainer& lines) {
    try {
        lines.ReadFromFile(name);
        return true;
    } catch (...) {
        return false;
    }
}

void ReadFileBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TVariable* array = call.Variable(1);
    if (array == nullptr || array->type != vtArray || array->value.a.itemtype != vtString) return;
    TStringContainer lines;
    {
        const auto hold = OpenFiles->Hold();
        const TCFileInfo* entry = (*OpenFiles)[OpenFiles->GetFile(call.Int32(0))];
        if (entry == nullptr || entry->file == nullptr) return;
        // What was written through the stream must be in the file before it is read by name.
        std::fflush(entry->file);
        if (!ReadLines(entry->name, lines)) return;
    }
    array->Resize(lines.GetCount(), true);
    const int stored = array->value.a.count < lines.GetCount() ? array->value.a.count : lines.GetCount();
    for (int i = 0; i < stored; ++i) *static_cast<TString*>(array->GetItem(i)) = lines[i];
    result.value.integer = stored < lines.GetCount() ? 2 : 1;
}

const TBuiltinBodyRow kFileBodies[] = {
    {48, OpenFileBody},    {49, CloseFileBody}, {50, WriteStringBody},
    {51, WriteLineBody},   {52, ReadLineBody},  {53, ReadFileBody},
};

}  // namespace

TBuiltinBodyRows FileBuiltinBodies() { return RowsOf(kFileBodies); }
