// Copying the editor's small list records: search-all destinations and
// results, and command table entries.
#include "TextEditorCommands.h"
#include "TextEditorSearchResults.h"

void TTextEditorResultList::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorResultList*>(&source);
    if (other == nullptr || other == this) return;
    name = other->name;
    listBox = other->listBox;
}

void TTextEditorSearchResult::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorSearchResult*>(&source);
    if (other == nullptr || other == this) return;
    text = other->text;
    listBox = other->listBox;
    hitLines = other->hitLines;
}

void TTextEditorCommand::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorCommand*>(&source);
    if (other == nullptr || other == this) return;
    name = other->name;
    handler = other->handler;
}
