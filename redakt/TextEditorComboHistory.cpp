// The input-box histories of the editor's stored state and their strings.
#include "TextEditorComboHistory.h"

#include "ComboBox.h"
#include "Strings.h"

void WriteBufferString(TMemBuffer& buffer, const std::string& text) {
    buffer.AddInt(static_cast<int>(text.size()));
    buffer.Add(text.data(), static_cast<int>(text.size()));
}

bool ReadBufferString(TMemBuffer& buffer, std::string& text) {
    const int start = buffer.GetReadPosition();
    int length = 0;
    if (!buffer.ReadInt(length) || length < 0 || length > buffer.GetRemaining()) {
        buffer.SeekRead(start);
        return false;
    }
    text.assign(static_cast<size_t>(length), '\0');
    if (length > 0) buffer.Read(&text[0], length);
    return true;
}

void SaveComboHistory(TMemBuffer& buffer, TComboBox* box) {
    TStrings* items = box != nullptr ? box->GetItems() : nullptr;
    const int count = items != nullptr ? items->GetCount() : 0;
    buffer.AddInt(count);
    for (int i = 0; i < count; ++i) WriteBufferString(buffer, items->GetStrings(i));
    WriteBufferString(buffer, box != nullptr ? box->GetText() : std::string());
    buffer.AddInt(box != nullptr ? box->GetItemIndex() : -1);
}

namespace {

// Each item takes at least its length word.
bool ReadHistoryFields(TMemBuffer& buffer, TComboHistory& history) {
    int count = 0;
    if (!buffer.ReadInt(count) || count < 0 || count > buffer.GetRemaining() / 4) return false;
    history.items.resize(static_cast<size_t>(count));
    for (std::string& item : history.items)
        if (!ReadBufferString(buffer, item)) return false;
    return ReadBufferString(buffer, history.text) && buffer.ReadInt(history.itemIndex) && history.itemIndex >= -1;
}

}  // namespace

bool ReadComboHistory(TMemBuffer& buffer, TComboHistory& history) {
    const int start = buffer.GetReadPosition();
    TComboHistory read;
    if (!ReadHistoryFields(buffer, read)) {
        buffer.SeekRead(start);
        return false;
    }
    history = std::move(read);
    return true;
}

void ApplyComboHistory(const TComboHistory& history, TComboBox* box) {
    if (box == nullptr) return;
    TStrings* items = box->GetItems();
    for (const std::string& item : history.items) items->Add(item);
    if (history.itemIndex != -1 && history.itemIndex < items->GetCount()) box->SetItemIndex(history.itemIndex);
    box->SetText(history.text);
}

bool LoadComboHistory(TMemBuffer& buffer, TComboBox* box) {
    TComboHistory history;
    if (!ReadComboHistory(buffer, history)) return false;
    ApplyComboHistory(history, box);
    return true;
}
