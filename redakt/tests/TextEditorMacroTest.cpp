// Macro items, macros and the named-macro list: copying, their stream and
// memory-buffer forms, and their readers against damaged input.
#include <string>
#include <vector>

#include "RedaktFixture.h"
#include "TextEditorMacro.h"

namespace {

TTextEditorMacroItem Item(uint8_t kind, uint16_t key, char ch, int param, TShiftState shift = TShiftState()) {
    TTextEditorMacroItem item;
    item.kind = kind;
    item.key = key;
    item.ch = ch;
    item.param = param;
    item.shift = shift;
    return item;
}

bool SameItem(const TTextEditorMacroItem& a, const TTextEditorMacroItem& b) {
    return a.kind == b.kind && a.key == b.key && a.ch == b.ch && a.param == b.param && a.shift == b.shift;
}

bool SameMacro(const TTextEditorMacro& a, const TTextEditorMacro& b) {
    if (a.name != b.name || a.GetCount() != b.GetCount()) return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (!SameItem(a[i], b[i])) return false;
    return true;
}

bool SameMacros(const TTextEditorMacros& a, const TTextEditorMacros& b) {
    if (a.GetCount() != b.GetCount()) return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (!SameMacro(a[i], b[i])) return false;
    return true;
}

TTextEditorMacro Sample(const char* name) {
    TTextEditorMacro macro;
    macro.name = name;
    macro += Item(mkKeyDown, 0x24, 0, 0, TShiftState{ssShift});
    macro += Item(mkCharacter, 0, '\xE9', 0);
    macro += Item(mkParameter, 0, 0, 2);
    return macro;
}

// What the memory-buffer form keeps of a macro: the events without their modifiers.
// (Assigned, not copy-constructed: a macro's copy constructor drops its name.)
TTextEditorMacro WithoutModifiers(const TTextEditorMacro& macro) {
    TTextEditorMacro plain;
    plain = macro;
    for (int i = 0; i < plain.GetCount(); ++i) plain[i].shift = TShiftState();
    return plain;
}

// A target with content, so that a read that changed it shows.
void FillItem(TTextEditorMacroItem& item) { item = Item(mkCharacter, 7, 'q', 3, TShiftState{ssAlt}); }
void FillMacro(TTextEditorMacro& macro) { macro = Sample("kept"); }
void FillMacros(TTextEditorMacros& macros) { macros += Sample("kept"); }

}  // namespace

TEST(TextEditorMacroItem, TheStreamRecordIsElevenBytesWithTheModifiersLast) {
    const TTextEditorMacroItem item = Item(mkKeyDown, 0x1234, 'x', 5, TShiftState{ssCtrl, ssAlt});
    TMemBuffer buffer;
    item.WriteStreamRecord(buffer);
    EXPECT_EQ(BytesOf(buffer), (std::vector<uint8_t>{0, 0x34, 0x12, 'x', 5, 0, 0, 0, 0, 1, 1}));
    const std::vector<uint8_t> fileBytes = StreamBytes([&item](FILE* file) { item.SaveToStream(file); });
    EXPECT_EQ(fileBytes, BytesOf(buffer));

    TTextEditorMacroItem read;
    FILE* file = std::tmpfile();
    std::fwrite(fileBytes.data(), 1, fileBytes.size(), file);
    std::rewind(file);
    ASSERT_TRUE(read.LoadFromStream(file));
    std::fclose(file);
    EXPECT_TRUE(SameItem(read, item));

    // Any modifier byte that is not 0 holds its key; three zeros hold none.
    TMemBuffer modifiers = BufferOf({1, 0, 0, 'y', 0, 0, 0, 0, 7, 0, 0});
    ASSERT_TRUE(read.ReadStreamRecord(modifiers));
    EXPECT_EQ(read.shift, TShiftState{ssShift});
    TMemBuffer none = BufferOf({1, 0, 0, 'y', 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(read.ReadStreamRecord(none));
    EXPECT_TRUE(read.shift.Empty());
}

TEST(TextEditorMacroItem, TheMemoryBufferFormIsEightBytesWithoutModifiers) {
    const TTextEditorMacroItem item = Item(mkParameter, 0x0102, 'p', 9, TShiftState{ssShift});
    TMemBuffer buffer;
    item.WriteToMemBuffer(buffer);
    EXPECT_EQ(BytesOf(buffer), (std::vector<uint8_t>{2, 0x02, 0x01, 'p', 9, 0, 0, 0}));
    TTextEditorMacroItem read;
    FillItem(read);
    ASSERT_TRUE(read.ReadFromMemBuffer(buffer));
    EXPECT_TRUE(SameItem(read, Item(mkParameter, 0x0102, 'p', 9)));
}

TEST(TextEditorMacroItem, ReadersRefuseDamagedRecords) {
    TMemBuffer stream;
    Item(mkKeyDown, 0x41, 0, 0, TShiftState{ssCtrl}).WriteStreamRecord(stream);
    const std::vector<std::vector<uint8_t>> damagedStream = {
        {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},           // no kind 3
        {2, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0},          // no parameter 10
        {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0},  // nor -1
    };
    ExpectBufferReaderRefusesDamage<TTextEditorMacroItem>(
        BytesOf(stream), damagedStream,
        [](TTextEditorMacroItem& item, TMemBuffer& buffer) { return item.ReadStreamRecord(buffer); }, FillItem,
        SameItem);
    ExpectStreamReaderRefusesDamage<TTextEditorMacroItem>(
        BytesOf(stream), damagedStream,
        [](TTextEditorMacroItem& item, FILE* file) { return item.LoadFromStream(file); }, FillItem, SameItem);
    TMemBuffer memory;
    Item(mkCharacter, 0, 'z', 0).WriteToMemBuffer(memory);
    ExpectBufferReaderRefusesDamage<TTextEditorMacroItem>(
        BytesOf(memory), {{7, 0, 0, 'z', 0, 0, 0, 0}},
        [](TTextEditorMacroItem& item, TMemBuffer& buffer) { return item.ReadFromMemBuffer(buffer); }, FillItem,
        SameItem);
}

TEST(TextEditorMacro, ACopyHasTheEventsButNoName) {
    const TTextEditorMacro source = Sample("greeting");
    const TTextEditorMacro copy(source);
    EXPECT_TRUE(copy.name.IsEmpty());
    ASSERT_EQ(copy.GetCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(SameItem(copy[i], source[i]));
    TTextEditorMacro assigned;
    assigned = source;
    EXPECT_TRUE(SameMacro(assigned, source));
    assigned[0].key = 1;
    EXPECT_EQ(source[0].key, 0x24);
}

TEST(TextEditorMacro, BothFormsRoundTripAndTheStreamFormCarriesElevenByteEvents) {
    const TTextEditorMacro source = Sample("greeting");
    TMemBuffer memory;
    source.WriteToMemBuffer(memory);
    TTextEditorMacro read;
    ASSERT_TRUE(read.ReadFromMemBuffer(memory));
    EXPECT_EQ(memory.GetRemaining(), 0);
    const TTextEditorMacro plain = WithoutModifiers(source);
    EXPECT_EQ(plain.name, source.name);
    EXPECT_TRUE(SameMacro(read, plain));

    TMemBuffer stream;
    source.WriteStreamForm(stream);
    TMemBuffer items;
    const TTextEditorMacro empty;
    empty.TContainer::WriteToMemBuffer(items);  // the container's header alone
    EXPECT_EQ(stream.GetSize(), items.GetSize() + 3 * (2 + 11));  // each event: two marks, eleven bytes
    TTextEditorMacro fromStream;
    ASSERT_TRUE(fromStream.ReadStreamForm(stream));
    TTextEditorMacro unnamed = source;
    unnamed.name = "";
    EXPECT_TRUE(SameMacro(fromStream, unnamed));
    EXPECT_EQ(StreamBytes([&source](FILE* file) { source.SaveToStream(file); }), BytesOf(stream));
}

TEST(TextEditorMacro, ReadersRefuseDamagedMacros) {
    TMemBuffer memory;
    Sample("greeting").WriteToMemBuffer(memory);
    ExpectBufferReaderRefusesDamage<TTextEditorMacro>(
        BytesOf(memory), {},
        [](TTextEditorMacro& macro, TMemBuffer& buffer) { return macro.ReadFromMemBuffer(buffer); }, FillMacro,
        SameMacro);
    TMemBuffer stream;
    Sample("").WriteStreamForm(stream);
    ExpectStreamReaderRefusesDamage<TTextEditorMacro>(
        BytesOf(stream), {}, [](TTextEditorMacro& macro, FILE* file) { return macro.LoadFromStream(file); },
        FillMacro, SameMacro);
}

TEST(TextEditorMacros, NamedMacrosKeepTheirNamesThroughBothForms) {
    TTextEditorMacros source;
    source += Sample("first");
    TTextEditorMacro second;
    second.name = "second";
    second += Item(mkCharacter, 0, 'a', 0);
    source += second;

    const std::vector<uint8_t> stream = StreamBytes([&source](FILE* file) { source.SaveToStream(file); });
    TTextEditorMacros fromStream;
    FILE* file = std::tmpfile();
    std::fwrite(stream.data(), 1, stream.size(), file);
    std::rewind(file);
    ASSERT_TRUE(fromStream.LoadFromStream(file));
    EXPECT_EQ(std::ftell(file), long(stream.size()));
    std::fclose(file);
    EXPECT_TRUE(SameMacros(fromStream, source));
    // The names follow the container, as TString stream records in list order.
    TMemBuffer names;
    TString("first").WriteToMemBuffer(names);
    TString("second").WriteToMemBuffer(names);
    const std::vector<uint8_t> tail(stream.end() - names.GetSize(), stream.end());
    EXPECT_EQ(tail, BytesOf(names));

    TMemBuffer memory;
    source.WriteToMemBuffer(memory);
    TTextEditorMacros fromMemory;
    ASSERT_TRUE(fromMemory.ReadFromMemBuffer(memory));
    TTextEditorMacros plain(source);
    for (int i = 0; i < plain.GetCount(); ++i) plain[i] = WithoutModifiers(source[i]);
    EXPECT_TRUE(SameMacros(fromMemory, plain));
    const TTextEditorMacros copy(source);
    EXPECT_TRUE(SameMacros(copy, source));
}

TEST(TextEditorMacros, ReadersRefuseDamagedLists) {
    TTextEditorMacros source;
    source += Sample("first");
    source += Sample("second");
    const std::vector<uint8_t> stream = StreamBytes([&source](FILE* file) { source.SaveToStream(file); });
    ExpectStreamReaderRefusesDamage<TTextEditorMacros>(
        stream, {}, [](TTextEditorMacros& macros, FILE* file) { return macros.LoadFromStream(file); }, FillMacros,
        SameMacros);
    TMemBuffer memory;
    source.WriteToMemBuffer(memory);
    ExpectBufferReaderRefusesDamage<TTextEditorMacros>(
        BytesOf(memory), {},
        [](TTextEditorMacros& macros, TMemBuffer& buffer) { return macros.ReadFromMemBuffer(buffer); }, FillMacros,
        SameMacros);
}
