// Fuzz target: the text editor's records: macro events, macros, named macros
// and bookmarks in their memory-buffer and FILE stream forms, schemes, and
// the combo history record loaded into a box.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ComboBox.h"
#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "TextEditorComboHistory.h"
#include "TextEditorMacro.h"
#include "TextEditorMarkers.h"
#include "TextEditorSchemes.h"

namespace {

typedef std::vector<uint8_t> TBytes;

TBytes BytesOf(const TMemBuffer& buffer) {
    const auto* block = static_cast<const uint8_t*>(buffer.GetBlock());
    return block == nullptr ? TBytes() : TBytes(block, block + buffer.GetSize());
}

// Reads the input with read; what was read must write a form that reads
// back into a record writing the same form.
template <class Record, class Read, class Write>
void BufferForm(const uint8_t* data, size_t size, Read read, Write write) {
    TMemBuffer input;
    fuzz::FillBuffer(input, data, size);
    Record record;
    if (!read(record, input)) {
        fuzz::Require(input.GetReadPosition() == 0, "a refused record leaves the read position");
        return;
    }
    TMemBuffer written;
    write(record, written);
    Record again;
    fuzz::Require(read(again, written), "a record read writes a form that reads back");
    TMemBuffer rewritten;
    write(again, rewritten);
    fuzz::Require(BytesOf(written) == BytesOf(rewritten), "a record read back writes the same form");
}

template <class Record, class Load>
void StreamForm(const uint8_t* data, size_t size, Load load) {
    FILE* file = fuzz::OpenStream(data, size);
    if (file == nullptr) return;
    Record record;
    const bool read = load(record, file);
    if (!read) fuzz::Require(std::ftell(file) == 0, "a refused stream goes back to its start");
    std::fclose(file);
    if (!read) return;
    const TBytes written = fuzz::StreamBytes([&](FILE* f) { record.SaveToStream(f); });
    FILE* again = fuzz::OpenStream(written.data(), written.size());
    Record copy;
    fuzz::Require(load(copy, again), "a record read writes a stream that reads back");
    std::fclose(again);
    fuzz::Require(fuzz::StreamBytes([&](FILE* f) { copy.SaveToStream(f); }) == written,
                  "a record read back writes the same stream");
}

template <class Record>
bool LoadRecord(Record& record, FILE* file) {
    return record.LoadFromStream(file);
}
template <class Record>
bool ReadRecord(Record& record, TMemBuffer& buffer) {
    return record.ReadFromMemBuffer(buffer);
}
template <class Record>
void WriteRecord(const Record& record, TMemBuffer& buffer) {
    record.WriteToMemBuffer(buffer);
}

// A refused record leaves the box empty and the read position at the
// start; a box that took one writes a record that loads into a fresh box
// writing the same bytes.
void ComboHistory(const uint8_t* data, size_t size) {
    TMemBuffer input;
    fuzz::FillBuffer(input, data, size);
    TComboBox box(nullptr);
    if (!LoadComboHistory(input, &box)) {
        fuzz::Require(input.GetReadPosition() == 0, "a refused record leaves the read position");
        fuzz::Require(box.GetItems()->GetCount() == 0 && box.GetText().empty(), "a refused record leaves the box");
        return;
    }
    TMemBuffer written;
    SaveComboHistory(written, &box);
    TComboBox copy(nullptr);
    fuzz::Require(LoadComboHistory(written, &copy), "a box's record loads back");
    TMemBuffer rewritten;
    SaveComboHistory(rewritten, &copy);
    fuzz::Require(BytesOf(written) == BytesOf(rewritten), "a record loaded back writes the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // ORDER: the first byte picks the reader; the seeds name it.
    switch (fuzz::PickReader(data, size, 12)) {
    case 0:
        StreamForm<TTextEditorMacroItem>(data, size, LoadRecord<TTextEditorMacroItem>);
        break;
    case 1:
        BufferForm<TTextEditorMacroItem>(
            data, size, [](TTextEditorMacroItem& r, TMemBuffer& b) { return r.ReadStreamRecord(b); },
            [](const TTextEditorMacroItem& r, TMemBuffer& b) { r.WriteStreamRecord(b); });
        break;
    case 2:
        BufferForm<TTextEditorMacroItem>(data, size, ReadRecord<TTextEditorMacroItem>, WriteRecord<TTextEditorMacroItem>);
        break;
    case 3:
        BufferForm<TTextEditorMacro>(data, size, ReadRecord<TTextEditorMacro>, WriteRecord<TTextEditorMacro>);
        break;
    case 4:
        StreamForm<TTextEditorMacro>(data, size, LoadRecord<TTextEditorMacro>);
        break;
    case 5:
        BufferForm<TTextEditorMacro>(
            data, size, [](TTextEditorMacro& r, TMemBuffer& b) { return r.ReadStreamForm(b); },
            [](const TTextEditorMacro& r, TMemBuffer& b) { r.WriteStreamForm(b); });
        break;
    case 6:
        BufferForm<TTextEditorMacros>(data, size, ReadRecord<TTextEditorMacros>, WriteRecord<TTextEditorMacros>);
        break;
    case 7:
        StreamForm<TTextEditorMacros>(data, size, LoadRecord<TTextEditorMacros>);
        break;
    case 8:
        StreamForm<TTextEditorMarkerList>(data, size, LoadRecord<TTextEditorMarkerList>);
        break;
    case 9:
        BufferForm<TTextEditorMarkerList>(data, size, ReadRecord<TTextEditorMarkerList>,
                                          WriteRecord<TTextEditorMarkerList>);
        break;
    case 10:
        BufferForm<TTextEditorScheme>(data, size, ReadRecord<TTextEditorScheme>, WriteRecord<TTextEditorScheme>);
        break;
    case 11:
        ComboHistory(data, size);
        break;
    default:
        return -1;
    }
    return 0;
}
