// TTextEditorScheme: copying and the memory-buffer form of a scheme; the
// editor's preset for programming languages.
#include "TextEditorSchemes.h"

#include "TextEditor.h"
#include "TextEditorRecordReading.h"

const std::array<TTextEditorScheme::TFlag, 20>& TTextEditorScheme::Flags() {
    // ORDER: stored in this order.
    static const std::array<TFlag, 20> flags = {
        &TTextEditorScheme::AutoIndent,     &TTextEditorScheme::BackspaceUnindent,
        &TTextEditorScheme::EmptyUnindent,  &TTextEditorScheme::PersistentBlocks,
        &TTextEditorScheme::TextAtCursor,   &TTextEditorScheme::AllBlocks,
        &TTextEditorScheme::SmartTab,       &TTextEditorScheme::AutoLineBreak,
        &TTextEditorScheme::DoubleClickLine, &TTextEditorScheme::DosFormat,
        &TTextEditorScheme::PresrveMarkers, &TTextEditorScheme::AutoSave,
        &TTextEditorScheme::ShowBoldWords,  &TTextEditorScheme::ShowStrings,
        &TTextEditorScheme::ShowChars,      &TTextEditorScheme::ShowDirectives,
        &TTextEditorScheme::ShowRemarks,    &TTextEditorScheme::ShowNumbers,
        &TTextEditorScheme::ShowSymbols,    &TTextEditorScheme::ShowMargin,
    };
    return flags;
}

TTextEditorScheme::TTextEditorScheme(const TTextEditorScheme& source) : TContainerItem() { Assign(source); }

TTextEditorScheme& TTextEditorScheme::operator=(const TTextEditorScheme& source) {
    Assign(source);
    return *this;
}

TTextEditorScheme::~TTextEditorScheme() = default;

void TTextEditorScheme::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorScheme*>(&source);
    if (other == nullptr || other == this) return;
    extensions = other->extensions;
    boldWords = other->boldWords;
    for (TFlag flag : Flags()) this->*flag = other->*flag;
    indentSize = other->indentSize;
    marginPos = other->marginPos;
}

void TTextEditorScheme::WriteToMemBuffer(TMemBuffer& buffer) const {
    extensions.WriteToMemBuffer(buffer);
    boldWords.WriteToMemBuffer(buffer);
    for (TFlag flag : Flags()) buffer.AddBool(this->*flag);
    buffer.AddInt(indentSize);
    buffer.AddInt(marginPos);
}

namespace {

bool ReadScheme(TTextEditorScheme& scheme, TMemBuffer& buffer) {
    if (!scheme.extensions.ReadFromMemBuffer(buffer) || !scheme.boldWords.ReadFromMemBuffer(buffer)) return false;
    for (TTextEditorScheme::TFlag flag : TTextEditorScheme::Flags()) {
        uint8_t value = 0;
        if (!buffer.ReadByte(value)) return false;
        scheme.*flag = value != 0;
    }
    return buffer.ReadInt(scheme.indentSize) && buffer.ReadInt(scheme.marginPos) && scheme.indentSize >= 0 &&
           scheme.indentSize <= TTextEditorScheme::kMaxIndentSize && scheme.marginPos >= 0;
}

}  // namespace

bool TTextEditorScheme::ReadFromMemBuffer(TMemBuffer& buffer) { return ReadWholeRecord(*this, buffer, ReadScheme); }

void TTextEditor::InitProgLangScheme(TTextEditorScheme* scheme) {
    if (scheme == nullptr) return;
    for (TTextEditorScheme::TFlag flag :
         {&TTextEditorScheme::AutoIndent, &TTextEditorScheme::BackspaceUnindent, &TTextEditorScheme::SmartTab,
          &TTextEditorScheme::ShowBoldWords, &TTextEditorScheme::ShowStrings, &TTextEditorScheme::ShowChars,
          &TTextEditorScheme::ShowDirectives, &TTextEditorScheme::ShowRemarks, &TTextEditorScheme::ShowNumbers,
          &TTextEditorScheme::ShowSymbols})
        scheme->*flag = true;
}
