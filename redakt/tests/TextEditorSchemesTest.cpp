// Syntax schemes: their defaults, the programming-language preset, copying
// and the memory-buffer form with its reader against damaged input.
#include <vector>

#include "RedaktFixture.h"
#include "TextEditorSchemes.h"

namespace {

bool SameScheme(const TTextEditorScheme& a, const TTextEditorScheme& b) {
    for (TTextEditorScheme::TFlag flag : TTextEditorScheme::Flags())
        if (a.*flag != b.*flag) return false;
    if (a.extensions != b.extensions || a.indentSize != b.indentSize || a.marginPos != b.marginPos) return false;
    if (a.boldWords.GetCount() != b.boldWords.GetCount()) return false;
    for (int i = 0; i < a.boldWords.GetCount(); ++i)
        if (a.boldWords[i] != b.boldWords[i]) return false;
    return true;
}

// Every field away from its default: the flags alternate from the defaults'
// opposites.
TTextEditorScheme Unusual() {
    TTextEditorScheme scheme;
    int i = 0;
    for (TTextEditorScheme::TFlag flag : TTextEditorScheme::Flags()) scheme.*flag = (i++ % 3 == 0) != (scheme.*flag);
    scheme.extensions = "CPP;H;C";
    scheme.boldWords.Add("int");
    scheme.boldWords.Add("return");
    scheme.indentSize = 4;
    scheme.marginPos = 100;
    return scheme;
}

void FillScheme(TTextEditorScheme& scheme) { scheme = Unusual(); }

}  // namespace

TEST(TextEditorScheme, ANewSchemeHasTheEditorsConstructionValues) {
    TTextEditorSchemes schemes;
    const TTextEditorScheme& scheme = *schemes.NewItem();
    for (TTextEditorScheme::TFlag flag : TTextEditorScheme::Flags()) {
        const bool set = flag == &TTextEditorScheme::EmptyUnindent || flag == &TTextEditorScheme::AllBlocks ||
                         flag == &TTextEditorScheme::DosFormat || flag == &TTextEditorScheme::ShowMargin;
        EXPECT_EQ(scheme.*flag, set);
    }
    EXPECT_EQ(scheme.indentSize, 1);
    EXPECT_EQ(scheme.marginPos, 80);
    EXPECT_TRUE(scheme.extensions.IsEmpty());
    EXPECT_EQ(scheme.boldWords.GetCount(), 0);
}

TEST(TextEditorScheme, TheProgrammingPresetSetsTenFlagsAndNothingElse) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    TTextEditorScheme scheme;
    scheme.PersistentBlocks = true;
    scheme.DosFormat = false;
    TTextEditorScheme expected = scheme;
    for (TTextEditorScheme::TFlag flag :
         {&TTextEditorScheme::AutoIndent, &TTextEditorScheme::BackspaceUnindent, &TTextEditorScheme::SmartTab,
          &TTextEditorScheme::ShowBoldWords, &TTextEditorScheme::ShowStrings, &TTextEditorScheme::ShowChars,
          &TTextEditorScheme::ShowDirectives, &TTextEditorScheme::ShowRemarks, &TTextEditorScheme::ShowNumbers,
          &TTextEditorScheme::ShowSymbols})
        expected.*flag = true;
    editor.InitProgLangScheme(&scheme);
    EXPECT_TRUE(SameScheme(scheme, expected));
    EXPECT_TRUE(scheme.PersistentBlocks);
    EXPECT_FALSE(scheme.AutoSave);
    EXPECT_FALSE(scheme.DosFormat);
    editor.InitProgLangScheme(nullptr);
}

TEST(TextEditorScheme, CopiesCarryEveryField) {
    const TTextEditorScheme source = Unusual();
    TTextEditorScheme assigned;
    assigned.Assign(source);
    EXPECT_TRUE(SameScheme(assigned, source));
    TTextEditorScheme copied;
    copied = source;
    EXPECT_TRUE(SameScheme(copied, source));
    TTextEditorSchemes schemes;
    schemes += source;
    EXPECT_TRUE(SameScheme(schemes.Last(), source));
    TTextEditorSchemes list;
    list = schemes;
    schemes.Last().boldWords.Add("while");
    EXPECT_EQ(list.Last().boldWords.GetCount(), 2);
}

TEST(TextEditorScheme, TheMemoryBufferFormRoundTripsAndRefusesDamage) {
    const TTextEditorScheme source = Unusual();
    TMemBuffer buffer;
    source.WriteToMemBuffer(buffer);
    TTextEditorScheme read;
    ASSERT_TRUE(read.ReadFromMemBuffer(buffer));
    EXPECT_EQ(buffer.GetRemaining(), 0);
    EXPECT_TRUE(SameScheme(read, source));

    const std::vector<uint8_t> bytes = BytesOf(buffer);
    std::vector<uint8_t> negativeIndent = bytes, hugeIndent = bytes, negativeMargin = bytes;
    negativeIndent[bytes.size() - 5] = 0xFF;  // indentSize -> 0xFF000004
    hugeIndent[bytes.size() - 6] = 0x10;      // indentSize -> 0x00100004
    negativeMargin[bytes.size() - 1] = 0x80;
    ExpectBufferReaderRefusesDamage<TTextEditorScheme>(
        bytes, {negativeIndent, hugeIndent, negativeMargin},
        [](TTextEditorScheme& scheme, TMemBuffer& source) { return scheme.ReadFromMemBuffer(source); }, FillScheme,
        SameScheme);
}
